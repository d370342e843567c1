// The real API behind the Windows layer: processes, and other programs' windows.
#include "platform/win32/Handles.h"

#include <tlhelp32.h>

#include "platform/win32/Wide.h"
#include "platform/win32/Win32Platform.h"

namespace nb {

using win32::FromWide;
using win32::ToWide;

// --- Processes ---

std::optional<std::vector<Text>> Win32Platform::ProcessNames() {
  win32::UniqueSnapshot snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return std::nullopt;
  std::vector<Text> names;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry))
    names.push_back(FromWide(entry.szExeFile, wcsnlen(entry.szExeFile, MAX_PATH)));
  return names;
}

// --- Windows and messages ---

uintptr_t Win32Platform::FindWindow(const Text& className, const Text& title) {
  return reinterpret_cast<uintptr_t>(::FindWindowW(ToWide(className).c_str(), ToWide(title).c_str()));
}

uint32_t Win32Platform::RegisterWindowMessage(const Text& name) {
  return ::RegisterWindowMessageW(ToWide(name).c_str());
}

bool Win32Platform::PostMessage(uintptr_t window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return ::PostMessageW(reinterpret_cast<HWND>(window), message, wParam, lParam) != FALSE;
}

void Win32Platform::Sleep(uint32_t milliseconds) { ::Sleep(milliseconds); }

}  // namespace nb
