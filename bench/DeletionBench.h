// What the deletion benchmarks share: the tree as the listing shows it, the
// toolkit whose pump is the window's, the wall clock, and the bare loops on
// the real API, which call it themselves.
#pragma once

#include <chrono>
#include <vector>

#include "platform/Platform.h"
#include "ui/headless/HeadlessToolkit.h"

namespace nb::bench {

// A file as the listing shows it.
struct ListedFile {
  Text path;
  uint32_t attributes = 0;
  uint64_t size = 0;
};

// The files below `folder` and its subfolders (deepest first), found with the
// same listing the scanner uses.
inline void ListTree(Platform& os, const Text& folder, std::vector<ListedFile>& files, std::vector<Text>& folders) {
  FindEntry entry;
  auto listing = os.FindFirst(folder + u"*.*", entry);
  if (!listing) return;
  do {
    if (entry.name == u"." || entry.name == u"..") continue;
    if (entry.attributes & winapi::kAttrDirectory) {
      ListTree(os, folder + entry.name + u"\\", files, folders);
      folders.push_back(folder + entry.name);
    } else {
      files.push_back({folder + entry.name, entry.attributes, entry.size});
    }
  } while (listing->Next(entry));
}

// Wall-clock seconds: under Wine much of the work is the wineserver's.
template <typename F>
double Time(F&& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

#ifdef _WIN32
// Every queued message of the thread, then back.
void PumpThreadMessages();

// The headless toolkit with a real message pump, as the window's pump does it.
class PumpingToolkit : public ui::HeadlessToolkit {
 public:
  void PumpMessages() override {
    PumpThreadMessages();
    HeadlessToolkit::PumpMessages();
  }
};
using BenchToolkit = PumpingToolkit;

// The bare deletion on the real API: DeleteFileW by path, SetFileAttributesW
// first where the listing shows read-only, hidden or system.
void RealBareDelete(const std::vector<ListedFile>& files);
// Then RemoveDirectoryW for the emptied folders, deepest first.
void RealBareRemoveFolders(const std::vector<Text>& folders);
#else
using BenchToolkit = ui::HeadlessToolkit;
#endif

}  // namespace nb::bench
