// The folders and flags found once at start-up. Every folder text ends with
// "\"; a folder whose lookup failed is empty and nothing is built from it.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Text.h"

namespace nb {

struct Locations {
  // Values
  // Windows' major version; 7 (a Windows of the $RECYCLE.BIN era) until it is read.
  uint32_t OsMajorVersion = 7;
  bool Wow64Process = false;  // a 32-bit process on 64-bit Windows
  Text UserName;
  Text WindowsFolder;
  Text SystemFolder;
  Text ProfileFolder;
  Text AppDataFolder;
  Text LocalAppDataFolder;
  Text ProgramFilesFolder;
  Text DocumentsFolder;
  Text RecentFolder;
  Text OfficeRecentFolder;
  Text SkypeChatsyncFolder;

  // Lists, in the order the main window creates them
  std::vector<Text> TempFolders;
  std::vector<Text> IeCacheFolders;
  std::vector<Text> EdgeCacheFolders;
  std::vector<Text> ChromeTargets;  // folders, or "#" + the path of a single file
  std::vector<Text> FirefoxCacheFolders;
  std::vector<Text> SearchFolders;
};

}  // namespace nb
