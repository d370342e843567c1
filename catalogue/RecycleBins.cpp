#include "catalogue/RecycleBins.h"

namespace nb {

std::optional<Text> RecycleBinOfDrive(Platform& os, const Locations& loc, int drive) {
  const Text root = Text(1, char16_t(u'A' + drive)) + u":\\";
  if (drive == 0 || os.GetDriveType(root) != winapi::kDriveFixed) return std::nullopt;
  return root + (loc.OsMajorVersion == 5 ? u"RECYCLER\\" : u"$RECYCLE.BIN\\");
}

}  // namespace nb
