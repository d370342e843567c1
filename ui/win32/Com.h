// Ownership of COM things: a reference to an object, released when its holder
// goes, and the calling thread's membership of a single-threaded apartment,
// left when its holder goes.
#pragma once

#include <objbase.h>

#include <utility>

namespace nb::ui::win32 {

template <typename T>
class ComRef {
 public:
  ComRef() = default;
  // Takes over a reference the caller holds.
  explicit ComRef(T* adopted) : object_(adopted) {}
  ~ComRef() {
    if (object_) object_->Release();
  }
  ComRef(ComRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  ComRef& operator=(ComRef&& other) noexcept {
    if (this != &other) {
      if (object_) object_->Release();
      object_ = std::exchange(other.object_, nullptr);
    }
    return *this;
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;

  T* get() const { return object_; }
  T* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  T* object_ = nullptr;
};

class ComApartment {
 public:
  ComApartment() : entered_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (entered_) ::CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool entered_;
};

}  // namespace nb::ui::win32
