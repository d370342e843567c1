// One of the program's drawn lists seen from the test's process, as a screen
// reader sees it: the IAccessible that AccessibleObjectFromWindow gives for
// its client area. Children are numbered from 1 in painted order, each group
// followed by its rows; 0 is the list itself.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <string>

namespace nb::wine {

// The interface's own number: the one -loleacc exports is an import thunk
// under MinGW, and every query with it fails.
inline constexpr GUID kIidAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

// The VARIANT that names child `id`.
inline VARIANT ChildVariant(long id) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

// COM for this thread, which RemoteList needs; ended with the object.
class ComApartment {
 public:
  ComApartment() : hr_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(hr_)) ::CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  bool Ready() const { return SUCCEEDED(hr_); }

 private:
  HRESULT hr_;
};

class RemoteList {
 public:
  RemoteList() = default;
  ~RemoteList() { Reset(); }
  RemoteList(const RemoteList&) = delete;
  RemoteList& operator=(const RemoteList&) = delete;

  // Asks `window` for its IAccessible (OBJID_CLIENT); the caller has COM started.
  HRESULT Open(HWND window);
  // Takes the object a WM_GETOBJECT answer carries (in-process tests).
  HRESULT FromResult(LRESULT result, WPARAM wParam);
  void Reset();
  IAccessible* get() const { return acc_; }

  // -1 when the call fails.
  long ChildCount() const;
  // Empty when the call fails.
  std::wstring Name(long id) const;
  std::wstring Value(long id) const;
  // -1 when the call fails.
  long Role(long id) const;
  long State(long id) const;
  bool Checked(long id) const;
  HRESULT DoDefaultAction(long id) const;
  HRESULT PutValue(long id, const std::wstring& value) const;
  // The first child from `from` on whose name is `name`, or ends with it
  // when `suffix`; 0 when there is none.
  long Find(const std::wstring& name, bool suffix = false, long from = 1) const;

 private:
  IAccessible* acc_ = nullptr;
};

}  // namespace nb::wine
