#include "app/Settings.h"
#include "results/ItemDetails.h"
#include "scan/FolderScanner.h"

namespace nb {

namespace {

bool IsRegistrySection(const Text& code) { return code == u"15" || code == u"16"; }

// Files of at most five bytes at analysis time read as zero kilobytes.
bool IsZeroSizeText(const Text& sizeText) { return sizeText == u"0,00 KB" || sizeText == u"0.00 KB"; }

std::vector<Text> RegistryLines(Platform& os, const Text& shownSection, const Text& caption) {
  const uint32_t root = shownSection == u"16" ? win::kHkeyLocalMachine : win::kHkeyCurrentUser;
  // The walk reads HKEY_LOCAL_MACHINE in its 64-bit view; show the value it found.
  const uint32_t view = root == win::kHkeyLocalMachine ? win::kKeyWow64_64Key : 0;
  const RegistrySubject subject = SplitRegistrySubject(caption);
  return {ReadRegText(os, root, subject.keyPath, subject.valueName, view)};
}

std::vector<Text> FileLines(Platform& os, const Text& path) {
  if (!FileExists(os, path) || FindFileSize(os, path) > kPreviewSizeLimit) return {};
  uint32_t error = 0;
  auto file = os.OpenForRead(path, win::kShareRead | win::kShareWrite, error);
  if (!file) return {};
  const uint64_t size = file->Size();
  // It may have grown since its size was looked up: the limit holds all the same.
  if (size == 0 || size > kPreviewSizeLimit) return {};
  std::string bytes;
  bytes.reserve(size_t(size));
  if (!file->Read(bytes, size_t(size))) return {};
  return PreviewLines(bytes);
}

}  // namespace

std::vector<Text> ItemDetailLines(Platform& os, const Text& shownSection, const Text& caption, const Text& sizeText) {
  if (StartsWith(caption, u"Deleted") || IsZeroSizeText(sizeText)) return {};
  if (IsRegistrySection(shownSection)) return RegistryLines(os, shownSection, caption);
  return FileLines(os, caption);
}

}  // namespace nb
