#include "results/ItemDetails.h"

#include "catalogue/Catalogue.h"
#include "platform/RegistryText.h"
#include "registry/RegistrySections.h"
#include "state/ResultEntry.h"
#include "state/SizeText.h"

namespace nb {

namespace {

// Shows the value the walk found, in the view it found it in.
std::vector<Text> RegistryLines(Platform& os, uint32_t root, const Text& registrySubject) {
  const RegistrySubject subject = SplitRegistrySubject(registrySubject);
  return {ReadRegText(os, root, subject.keyPath, subject.valueName, FindingRegistryView(root))};
}

std::vector<Text> FileLines(Platform& os, const Text& path) {
  if (!FileExists(os, path) || FindFileSize(os, path) > kPreviewSizeLimit) return {};
  std::unique_ptr<OpenFile> file;
  if (os.OpenForRead(path, winapi::kShareRead | winapi::kShareWrite, file) != winapi::kErrorSuccess) return {};
  const uint64_t size = file->Size();
  // It may have grown since its size was looked up: the limit holds all the same.
  if (size == 0 || size > kPreviewSizeLimit) return {};
  std::string bytes;
  bytes.reserve(size_t(size));
  if (!file->Read(bytes, size_t(size))) return {};
  return PreviewLines(bytes);
}

}  // namespace

std::vector<Text> ItemDetailLines(Platform& os, const ResultStore& store, size_t index) {
  if (index >= store.Count()) return {};
  const Text subject(store.Subject(index));
  if (const SectionInfo* registry = RegistrySectionNumbered(store.Section(index)))
    return RegistryLines(os, registry->registryRoot, subject);
  // Files of at most five bytes at analysis time read as zero kilobytes.
  if (SizeTextShowsZero(store.Size(index))) return {};
  return FileLines(os, subject);
}

}  // namespace nb
