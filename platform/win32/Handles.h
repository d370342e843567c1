// Handle policies for UniqueHandle: one per kind of Win32 handle the Windows
// layer opens. Each names the handle type, its "nothing open" value and the
// call that closes it.
#pragma once

#include "platform/win32/WinApi.h"

#include <objbase.h>

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

// OpenProcessToken and other kernel objects whose failure is a null handle, closed by CloseHandle.
struct KernelPolicy {
  using Type = HANDLE;
  static Type Empty() { return nullptr; }
  static void Close(Type handle) { ::CloseHandle(handle); }
};

// Memory the system hands out from the local heap (security descriptors, SID
// texts), freed by LocalFree.
struct LocalPolicy {
  using Type = HLOCAL;
  static Type Empty() { return nullptr; }
  static void Close(Type block) { ::LocalFree(block); }
};

// Memory from COM's task allocator (SHGetKnownFolderPath), freed by CoTaskMemFree.
struct TaskMemPolicy {
  using Type = void*;
  static Type Empty() { return nullptr; }
  static void Close(Type block) { ::CoTaskMemFree(block); }
};

using UniqueFind = UniqueHandle<FindPolicy>;
using UniqueFile = UniqueHandle<FilePolicy>;
using UniqueSnapshot = UniqueHandle<FilePolicy>;
using UniqueKey = UniqueHandle<KeyPolicy>;
using UniqueKernel = UniqueHandle<KernelPolicy>;
using UniqueLocal = UniqueHandle<LocalPolicy>;
using UniqueTaskMem = UniqueHandle<TaskMemPolicy>;

}  // namespace nb::win32
