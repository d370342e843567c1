// The real API behind the Windows layer: special folders, the user and the
// system version, environment and settings files, drives.
#include "platform/win32/Handles.h"

#include <knownfolders.h>
#include <shlobj.h>

#include <limits>

#include "platform/win32/Wide.h"
#include "platform/win32/Win32Platform.h"

namespace nb {

namespace {

using win32::FromWide;
using win32::ToWide;

constexpr DWORD kVersionInfoSize = 276;  // sizeof(OSVERSIONINFOW)
constexpr DWORD kUserNameChars = 259;

// A directory query that fits MAX_PATH characters; the empty text when it does not.
template <typename Call>
Text FixedPathQuery(Call call) {
  wchar_t buffer[MAX_PATH];
  const UINT length = call(buffer, UINT(MAX_PATH));
  if (length == 0 || length >= MAX_PATH) return {};
  return FromWide(buffer, length);
}

}  // namespace

// --- Special folders, identity, version ---

namespace {

// Downloads is a known folder with no CSIDL.
std::optional<Text> DownloadsFolder() {
  PWSTR path = nullptr;
  const HRESULT result = ::SHGetKnownFolderPath(FOLDERID_Downloads, 0, nullptr, &path);
  const win32::UniqueTaskMem owned(path);  // freed whether the call succeeded or not
  if (FAILED(result) || !path || path[0] == L'\0') return std::nullopt;
  return FromWide(path);
}

std::optional<Text> CsidlFolder(int csidl) {
  wchar_t buffer[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, 0, buffer)) || buffer[0] == L'\0') return std::nullopt;
  return FromWide(buffer);
}

}  // namespace

std::optional<Text> Win32Platform::GetSpecialFolder(int csidl) {
  std::optional<Text> folder = csidl == winapi::kKnownFolderDownloads ? DownloadsFolder() : CsidlFolder(csidl);
  if (folder && folder->size() > 3 && folder->back() == u'\\') folder->pop_back();
  return folder;
}

Text Win32Platform::GetWindowsDirectory() {
  return FixedPathQuery([](wchar_t* buffer, UINT size) { return ::GetWindowsDirectoryW(buffer, size); });
}

Text Win32Platform::GetSystemDirectory() {
  return FixedPathQuery([](wchar_t* buffer, UINT size) { return ::GetSystemDirectoryW(buffer, size); });
}

std::optional<Text> Win32Platform::GetUserName() {
  wchar_t buffer[kUserNameChars];
  DWORD size = kUserNameChars;  // on return: the characters written, the NUL included
  if (!::GetUserNameW(buffer, &size) || size == 0) return std::nullopt;
  return FromWide(buffer, size - 1);
}

std::optional<uint32_t> Win32Platform::GetMajorVersion() {
  OSVERSIONINFOW info = {};
  static_assert(sizeof(info) == kVersionInfoSize);
  info.dwOSVersionInfoSize = kVersionInfoSize;
  if (!::GetVersionExW(&info)) return std::nullopt;
  return info.dwMajorVersion;
}

// --- Environment and settings files ---

std::optional<Text> Win32Platform::GetEnvironmentVariable(const Text& name) {
  const std::wstring wideName = ToWide(name);
  std::wstring buffer(256, L'\0');
  for (;;) {
    ::SetLastError(ERROR_SUCCESS);
    const DWORD length = ::GetEnvironmentVariableW(wideName.c_str(), buffer.data(), DWORD(buffer.size()));
    if (length == 0) {
      if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return Text();  // defined and empty
    }
    if (length < buffer.size()) return FromWide(buffer.data(), length);
    buffer.assign(length, L'\0');  // too small: the length asked for includes the NUL
  }
}

std::optional<Text> Win32Platform::ExpandEnvironmentStrings(const Text& text, uint32_t bufferChars) {
  std::wstring buffer(bufferChars, L'\0');
  const DWORD needed = ::ExpandEnvironmentStringsW(ToWide(text).c_str(), bufferChars ? buffer.data() : nullptr,
                                                   DWORD(bufferChars));
  // The count includes the NUL; a count beyond the buffer means a cut text.
  if (needed == 0 || needed > bufferChars) return std::nullopt;
  return FromWide(buffer.data());
}

Text Win32Platform::GetPrivateProfileString(const Text& section, const Text& key, const Text& fallback,
                                            const Text& file) {
  const std::wstring wideSection = ToWide(section), wideKey = ToWide(key), wideFallback = ToWide(fallback),
                     wideFile = ToWide(file);
  for (DWORD size = 256;; size *= 2) {
    std::wstring buffer(size, L'\0');
    const DWORD length = ::GetPrivateProfileStringW(wideSection.c_str(), wideKey.c_str(), wideFallback.c_str(),
                                                    buffer.data(), size, wideFile.c_str());
    // A value that filled the buffer up to its NUL may have been cut: try a larger one.
    if (length + 1 < size || size >= (1u << 24)) return FromWide(buffer.data(), length);
  }
}

Text Win32Platform::GetDecimalSeparator() {
  wchar_t buffer[16] = {};
  const int length = ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 16);
  if (length <= 1) return u".";
  return FromWide(buffer, size_t(length - 1));
}

Text Win32Platform::DecodeAnsi(const std::string& bytes) {
  if (bytes.empty()) return {};
  const int count = int(std::min<size_t>(bytes.size(), size_t(std::numeric_limits<int>::max())));
  const int length = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), count, nullptr, 0);
  if (length <= 0) return {};
  std::wstring buffer(size_t(length), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), count, buffer.data(), length);
  return FromWide(buffer.data(), buffer.size());
}

// --- Drives ---

uint32_t Win32Platform::GetLogicalDrives() { return ::GetLogicalDrives(); }

uint32_t Win32Platform::GetDriveType(const Text& root) { return ::GetDriveTypeW(ToWide(root).c_str()); }

}  // namespace nb
