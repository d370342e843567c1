#include "delete/DeletedNames.h"

#include <algorithm>

#include "state/ScanRoots.h"

namespace nb {

namespace {

std::set<Text> FilesListed(Platform& os, OpenFolder& folder) {
  std::set<Text> files;
  FindEntry entry;
  if (auto listing = os.ListFolder(folder, entry)) {
    do
      if ((entry.attributes & winapi::kAttrDirectory) == 0) files.insert(FoldCaseText(entry.name));
    while (listing->Next(entry));
  }
  return files;
}

}  // namespace

DeletedNames::DeletedNames(std::vector<Text> walked) {
  for (const Text& folder : walked) walked_.push_back(WithTrailingBackslash(folder));
}

void DeletedNames::Deleted(Platform& os, OpenFolder& handle, const Text& folder, std::vector<Text> names) {
  const bool listedLater = std::any_of(walked_.begin(), walked_.end(), [&](const Text& walked) {
    return EqualsIgnoreCase(folder, walked) || LiesBelow(folder, walked);
  });
  if (!listedLater) {
    Compare(folder, names, FilesListed(os, handle));
    return;
  }
  Awaited& awaited = awaited_[FoldCaseText(folder)];
  awaited.folder = folder;
  awaited.names.insert(awaited.names.end(), std::make_move_iterator(names.begin()),
                       std::make_move_iterator(names.end()));
}

void DeletedNames::Compare(const Text& folder, const std::vector<Text>& names, const std::set<Text>& foldedFiles) {
  for (const Text& name : names)
    if (foldedFiles.count(FoldCaseText(name))) stillThere_.insert(folder + name);
}

void DeletedNames::Listed(const Text& folder, const std::set<Text>& foldedFiles) {
  const auto found = awaited_.find(FoldCaseText(folder));
  if (found == awaited_.end()) return;
  Compare(found->second.folder, found->second.names, foldedFiles);
  awaited_.erase(found);
}

void DeletedNames::LookAtTheRest(Platform& os) {
  for (const auto& [key, awaited] : awaited_) {
    std::unique_ptr<OpenFolder> folder;
    if (os.OpenFolderAt(awaited.folder, folder) == winapi::kErrorSuccess)
      Compare(awaited.folder, awaited.names, FilesListed(os, *folder));
  }
  awaited_.clear();
}

}  // namespace nb
