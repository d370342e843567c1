// The folders no link may lead a scan root into: the user's own files, other
// users' profiles, the system and the programs. Each folder is held in the
// form the system names it and in its final form, links resolved, so that a
// link into a folder that was itself moved is known too.
#pragma once

#include <vector>

#include "platform/Text.h"

namespace nb {

struct ProtectedPlace {
  Text folder;              // ends with "\"
  bool exactly = false;     // only the folder itself, not what lies below it
  std::vector<Text> except;  // folders below it that are not protected, each ending with "\"
};

struct ProtectedPlaces {
  bool found = false;  // looked up for the current run
  std::vector<ProtectedPlace> places;
};

}  // namespace nb
