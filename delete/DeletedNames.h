// The names whose deletion was granted, held by folder until a listing of
// the folder shows whether they went. A name can outlive a granted deletion:
// where the file system takes names only at the last close, and that close
// fails to (a Unix unlink under Wine), the file stays.
#pragma once

#include <map>
#include <set>
#include <vector>

#include "platform/Platform.h"

namespace nb {

class DeletedNames {
 public:
  // A later walk (the purge of emptied folders) lists `walked` and the
  // folders below them: the names deleted there wait for its listing.
  explicit DeletedNames(std::vector<Text> walked = {});

  // `names` were deleted in `folder` (ending with "\"), held open as `handle`:
  // it is listed now, unless a later walk lists it.
  void Deleted(Platform& os, OpenFolder& handle, const Text& folder, std::vector<Text> names);
  bool Awaits(const Text& folder) const { return !awaited_.empty() && awaited_.count(FoldCaseText(folder)) != 0; }
  // A listing of `folder` showed these files (names folded): the awaited ones among them stayed.
  void Listed(const Text& folder, const std::set<Text>& foldedFiles);
  // Lists, by path, each folder still awaited; a folder that is gone took its names along.
  void LookAtTheRest(Platform& os);

  // The full paths that were still there.
  const std::set<Text>& StillThere() const { return stillThere_; }

 private:
  void Compare(const Text& folder, const std::vector<Text>& names, const std::set<Text>& foldedFiles);

  struct Awaited {
    Text folder;  // as the findings name it
    std::vector<Text> names;
  };
  std::vector<Text> walked_;
  std::map<Text, Awaited> awaited_;  // by folded folder path
  std::set<Text> stillThere_;
};

}  // namespace nb
