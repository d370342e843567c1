// Handle policies for UniqueHandle: one per kind of Win32 handle the Windows
// layer opens. Each names the handle type, its "nothing open" value and the
// call that closes it.
#pragma once

#include "platform/win32/WinApi.h"

#include "platform/UniqueHandle.h"

namespace nb::win32 {

// FindFirstFileW: INVALID_HANDLE_VALUE when nothing was found, closed by FindClose.
struct FindPolicy {
  using Type = HANDLE;
  static Type Empty() { return INVALID_HANDLE_VALUE; }
  static void Close(Type handle) { ::FindClose(handle); }
};

// CreateFileW and CreateToolhelp32Snapshot: INVALID_HANDLE_VALUE on failure, closed by CloseHandle.
struct FilePolicy {
  using Type = HANDLE;
  static Type Empty() { return INVALID_HANDLE_VALUE; }
  static void Close(Type handle) { ::CloseHandle(handle); }
};

// RegOpenKeyExW and RegCreateKeyExW: a null key when nothing is open, closed by RegCloseKey.
struct KeyPolicy {
  using Type = HKEY;
  static Type Empty() { return nullptr; }
  static void Close(Type key) { ::RegCloseKey(key); }
};

using UniqueFind = UniqueHandle<FindPolicy>;
using UniqueFile = UniqueHandle<FilePolicy>;
using UniqueSnapshot = UniqueHandle<FilePolicy>;
using UniqueKey = UniqueHandle<KeyPolicy>;

}  // namespace nb::win32
