// One move-only owner for every handle kind. A policy names the handle type,
// its empty value and its close function:
//   struct FindPolicy { using Type = HANDLE; static Type Empty() {...}; static void Close(Type) {...} };
//   using UniqueFind = UniqueHandle<FindPolicy>;
#pragma once

#include <utility>

namespace nb {

template <typename Policy>
class UniqueHandle {
 public:
  using Type = typename Policy::Type;

  UniqueHandle() noexcept : value_(Policy::Empty()) {}
  explicit UniqueHandle(Type value) noexcept : value_(value) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  Type get() const noexcept { return value_; }
  bool valid() const noexcept { return value_ != Policy::Empty(); }
  explicit operator bool() const noexcept { return valid(); }

  void reset(Type value = Policy::Empty()) noexcept {
    const Type old = std::exchange(value_, value);
    if (old != Policy::Empty()) Policy::Close(old);
  }

  Type release() noexcept { return std::exchange(value_, Policy::Empty()); }

  // For APIs that return the handle through an out-parameter: closes the
  // current handle and hands out the slot.
  Type* put() noexcept {
    reset();
    return &value_;
  }

 private:
  Type value_;
};

}  // namespace nb
