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
  // `folder` ends with "\"; `names` were deleted in it.
  void Await(const Text& folder, std::vector<Text> names);
  bool Awaits(const Text& folder) const { return !awaited_.empty() && awaited_.count(FoldCaseText(folder)) != 0; }
  // A listing of `folder` showed these files (names folded): the awaited ones among them stayed.
  void Listed(const Text& folder, const std::set<Text>& foldedFiles);
  // Lists, through its handle, a folder names were just deleted in.
  void LookAt(Platform& os, OpenFolder& folder, const Text& path, const std::vector<Text>& names);
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
  std::map<Text, Awaited> awaited_;  // by folded folder path
  std::set<Text> stillThere_;
};

}  // namespace nb
