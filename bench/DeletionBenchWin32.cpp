// The deletion benchmarks' calls of the real API, apart from the code that
// names Platform calls windows.h would rename.
#include <windows.h>

#include "DeletionBench.h"
#include "platform/win32/Wide.h"

void nb::bench::PumpThreadMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

void nb::bench::RealBareDelete(const std::vector<ListedFile>& files) {
  for (const ListedFile& file : files) {
    const std::wstring path = win32::ToWide(file.path);
    if (file.attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
      ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_ARCHIVE);
    ::DeleteFileW(path.c_str());
  }
}

void nb::bench::RealBareRemoveFolders(const std::vector<Text>& folders) {
  for (const Text& folder : folders) ::RemoveDirectoryW(win32::ToWide(folder).c_str());
}
