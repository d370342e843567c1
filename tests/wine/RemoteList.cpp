#include "wine/RemoteList.h"

namespace nb::wine {

namespace {

VARIANT Child(long id) { return ChildVariant(id); }

// The text a get_acc... call gives, freed; empty when the call fails.
template <typename Call>
std::wstring TextFrom(Call call) {
  BSTR text = nullptr;
  std::wstring out;
  if (call(&text) == S_OK && text) out.assign(text, ::SysStringLen(text));
  ::SysFreeString(text);
  return out;
}

long Number(HRESULT hr, const VARIANT& v) { return SUCCEEDED(hr) && v.vt == VT_I4 ? v.lVal : -1; }

}  // namespace

HRESULT RemoteList::Open(HWND window) {
  Reset();
  return ::AccessibleObjectFromWindow(window, DWORD(OBJID_CLIENT), kIidAccessible, reinterpret_cast<void**>(&acc_));
}

HRESULT RemoteList::FromResult(LRESULT result, WPARAM wParam) {
  Reset();
  return ::ObjectFromLresult(result, kIidAccessible, wParam, reinterpret_cast<void**>(&acc_));
}

void RemoteList::Reset() {
  if (acc_) acc_->Release();
  acc_ = nullptr;
}

long RemoteList::ChildCount() const {
  long count = 0;
  return acc_ && acc_->get_accChildCount(&count) == S_OK ? count : -1;
}

std::wstring RemoteList::Name(long id) const {
  if (!acc_) return L"";
  return TextFrom([&](BSTR* text) { return acc_->get_accName(Child(id), text); });
}

std::wstring RemoteList::Value(long id) const {
  if (!acc_) return L"";
  return TextFrom([&](BSTR* text) { return acc_->get_accValue(Child(id), text); });
}

long RemoteList::Role(long id) const {
  VARIANT v;
  ::VariantInit(&v);
  return acc_ ? Number(acc_->get_accRole(Child(id), &v), v) : -1;
}

long RemoteList::State(long id) const {
  VARIANT v;
  ::VariantInit(&v);
  return acc_ ? Number(acc_->get_accState(Child(id), &v), v) : -1;
}

bool RemoteList::Checked(long id) const {
  const long state = State(id);
  return state >= 0 && (state & STATE_SYSTEM_CHECKED);
}

HRESULT RemoteList::DoDefaultAction(long id) const {
  return acc_ ? acc_->accDoDefaultAction(Child(id)) : E_POINTER;
}

HRESULT RemoteList::PutValue(long id, const std::wstring& value) const {
  if (!acc_) return E_POINTER;
  BSTR text = ::SysAllocStringLen(value.data(), UINT(value.size()));
  const HRESULT hr = acc_->put_accValue(Child(id), text);
  ::SysFreeString(text);
  return hr;
}

long RemoteList::Find(const std::wstring& name, bool suffix, long from) const {
  const long count = ChildCount();
  for (long id = from; id <= count; ++id) {
    const std::wstring n = Name(id);
    if (n == name) return id;
    if (suffix && n.size() >= name.size() && n.compare(n.size() - name.size(), name.size(), name) == 0) return id;
  }
  return 0;
}

}  // namespace nb::wine
