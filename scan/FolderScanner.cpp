#include "scan/FolderScanner.h"

#include <algorithm>

#include "catalogue/Catalogue.h"
#include "scan/FileMask.h"
#include "scan/RootTrust.h"

namespace nb {

namespace {

bool IsDesktopIni(TextView name) {
  // Explorer recreates desktop.ini in any folder it customises: never a finding.
  return EqualsIgnoreAsciiCase(name, u"desktop.ini");
}

class FolderWalk {
 public:
  FolderWalk(RunContext& run, const Text& mask, bool recurse, int section, uint32_t root)
      : run_(run), mask_(mask), everyFile_(mask == u"*.*"), recurse_(recurse), section_(section), root_(root),
        writer_(run, section) {}

  void Walk(const Text& folder) {
    // One path for the whole walk: each level appends its part and takes it
    // off again, so a folder costs no allocation of its own.
    path_.reserve(folder.size() + kFolderPathLimit + 8);
    path_ = folder;
    WalkPath();
  }

 private:
  // Walks the folder that path_ holds.
  void WalkPath() {
    if (!run_.state.Busy()) return;
    const size_t folderLength = path_.size();
    FindEntry item;
    path_.append(u"*.*");
    const auto listing = run_.os.FindFirst(path_, item);
    path_.resize(folderLength);
    if (!listing) return;
    do {
      if (item.attributes & winapi::kAttrDirectory) {
        if (WalksInto(folderLength, item)) {
          path_.append(item.name);
          path_.push_back(u'\\');
          WalkPath();
          path_.resize(folderLength);
        }
        continue;
      }
      if (!PumpAndCheck(run_)) break;
      if (!everyFile_ && !MatchesFileMask(mask_, item.name)) continue;
      if (IsDesktopIni(item.name)) continue;
      // The recycle bin's own index of older Windows versions, written exactly so.
      if (section_ == sections::kRecycleBin && item.name == u"INFO2") continue;
      // A file that is a link is reported as the link: deleting it removes the link.
      writer_.Add(path_, item.name, item.size, root_);
    } while (listing->Next(item));
  }

  bool WalksInto(size_t folderLength, const FindEntry& item) const {
    if (!recurse_ || item.name == u"." || item.name == u"..") return false;
    // A junction, directory symlink or mount point leads somewhere else: a link
    // in a temporary folder must not turn the user's documents into findings.
    if (item.attributes & winapi::kAttrReparsePoint) return false;
    if (folderLength + item.name.size() >= kFolderPathLimit) return false;
    return run_.state.Busy();
  }

  RunContext& run_;
  const Text& mask_;
  const bool everyFile_;
  const bool recurse_;
  const int section_;
  const uint32_t root_;
  FileFindingWriter writer_;
  Text path_;
};

}  // namespace

void ScanFolder(RunContext& run, const Text& folder, const Text& mask, bool recurse, int section) {
  // What the folder is goes on record before its listing: a folder swapped
  // after this cannot pass for the one whose files become findings.
  const uint32_t root = TrustedScanRoot(run, folder);
  if (root == kNoScanRoot) return;
  FolderWalk(run, mask, recurse, section, root).Walk(folder);
}

FileFindingWriter::FileFindingWriter(RunContext& run, int section) : run_(run), section_(section) {}

void FileFindingWriter::Add(TextView folder, TextView name, uint64_t bytes, uint32_t root) {
  // The path's two pieces go straight into the store. The room comes first:
  // when memory runs out, nothing is counted that is not stored.
  char16_t* at = run_.state.Results.AppendRoom(section_, folder.size() + name.size(), bytes, root);
  std::copy(name.begin(), name.end(), std::copy(folder.begin(), folder.end(), at));
  if (IsFileSection(section_)) {
    run_.state.SectionFindingCounts[size_t(section_)] += 1;
    run_.state.SectionKbTotals[size_t(section_)] += RoundedKilobytes(bytes);
  }
}

}  // namespace nb
