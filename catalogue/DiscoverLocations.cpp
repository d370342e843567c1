#include "catalogue/DiscoverLocations.h"

#include <algorithm>
#include <array>

#include "catalogue/TextFile.h"

namespace nb {
namespace {

// A folder text with its trailing backslash, or empty when the folder is
// unknown: nothing may be built on an empty text, or a scan would start at "\".
Text Folder(const std::optional<Text>& path) {
  if (!path || path->empty()) return {};
  return WithTrailingBackslash(*path);
}

// "C:" of "C:\Windows"; empty when the folder does not start with a drive letter.
Text DrivePart(const Text& path) {
  if (path.size() < 2 || path[1] != u':') return {};
  const char16_t letter = ToUpperAscii(path.substr(0, 1))[0];
  if (letter < u'A' || letter > u'Z') return {};
  return path.substr(0, 2);
}

// A name read from another program's file stays inside the folder it is
// appended to: not absolute, no ".." step, no drive, no character that a file
// name cannot hold. The empty name passes.
bool IsSafeRelativeName(const Text& name) {
  for (const char16_t c : name) {
    if (c < 0x20) return false;
    if (TextView(u"<>:\"|?*").find(c) != TextView::npos) return false;
  }
  if (StartsWith(name, u"\\") || StartsWith(name, u"/")) return false;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find_first_of(u"\\/", start);
    if (end == Text::npos) end = name.size();
    const TextView step = TextView(name).substr(start, end - start);
    // Windows drops trailing dots and blanks of a step, so "..." and ". ." act as "..".
    const bool onlyDotsAndBlanks = step.find_first_not_of(u". ") == TextView::npos;
    if (onlyDotsAndBlanks && std::count(step.begin(), step.end(), u'.') >= 2) return false;
    start = end + 1;
  }
  return true;
}

void FindFolders(Platform& os, Locations& loc) {
  loc.OsMajorVersion = os.GetMajorVersion().value_or(7);
  loc.UserName = os.GetUserName().value_or(Text());
  loc.WindowsFolder = Folder(os.GetWindowsDirectory());
  loc.SystemFolder = Folder(os.GetSystemDirectory());
  loc.AppDataFolder = Folder(os.GetSpecialFolder(winapi::kCsidlAppData));
  loc.LocalAppDataFolder = Folder(os.GetSpecialFolder(winapi::kCsidlLocalAppData));
  loc.ProgramFilesFolder = Folder(os.GetSpecialFolder(winapi::kCsidlProgramFiles));
  loc.DocumentsFolder = Folder(os.GetSpecialFolder(winapi::kCsidlPersonal));
  loc.RecentFolder = Folder(os.GetSpecialFolder(winapi::kCsidlRecent));
  if (!loc.AppDataFolder.empty()) loc.OfficeRecentFolder = loc.AppDataFolder + u"Microsoft\\Office\\Recent\\";
  loc.Wow64Process = Contains(ToUpperAscii(loc.ProgramFilesFolder), u"(X86)");
}

void FindIeCacheFolders(Platform& os, Locations& loc) {
  for (const int csidl : {winapi::kCsidlInternetCache, winapi::kCsidlHistory}) {
    const Text folder = Folder(os.GetSpecialFolder(csidl));
    if (!folder.empty()) loc.IeCacheFolders.push_back(folder);
  }
  if (!loc.LocalAppDataFolder.empty())
    loc.IeCacheFolders.push_back(loc.LocalAppDataFolder + u"Microsoft\\Windows\\INetCache\\");
}

// Derived from the user name, not looked up: a renamed profile folder is missed.
void FindProfileFolder(Locations& loc) {
  const Text drive = DrivePart(loc.WindowsFolder);
  if (drive.empty() || loc.UserName.empty()) return;
  const Text users = loc.OsMajorVersion == 5 ? u"\\Documents and Settings\\" : u"\\Users\\";
  loc.ProfileFolder = drive + users + loc.UserName + u"\\";
}

void FindEdgeCacheFolders(Platform& os, Locations& loc) {
  if (loc.ProfileFolder.empty()) return;
  const Text base = loc.ProfileFolder + u"AppData\\Local\\Packages\\Microsoft.MicrosoftEdge_8wekyb3d8bbwe\\AC\\";
  if (!FolderExists(os, base)) return;
  loc.EdgeCacheFolders.push_back(base + u"MicrosoftEdge\\Cache\\");
  loc.EdgeCacheFolders.push_back(base + u"#!001\\MicrosoftEdge\\Cache\\");
  loc.EdgeCacheFolders.push_back(base + u"#!002\\MicrosoftEdge\\Cache\\");
}

// Only the first profile, always taken as relative to the local Firefox folder.
void FindFirefoxCacheFolders(Platform& os, Locations& loc) {
  if (loc.LocalAppDataFolder.empty()) return;
  Text path;
  if (!loc.AppDataFolder.empty())
    path = os.GetPrivateProfileString(u"Profile0", u"Path", u"", loc.AppDataFolder + u"Mozilla\\Firefox\\profiles.ini");
  std::replace(path.begin(), path.end(), u'/', u'\\');
  if (!IsSafeRelativeName(path)) path.clear();
  const Text profile = loc.LocalAppDataFolder + u"Mozilla\\Firefox\\" + path;
  loc.FirefoxCacheFolders.push_back(profile + u"\\Cache\\");
  loc.FirefoxCacheFolders.push_back(profile + u"\\Cache2\\");
}

constexpr std::array<const char16_t*, 5> kChromeFolders = {
    u"Cache\\", u"Media Cache\\", u"Session Storage\\", u"Extension State\\", u"GPUCache\\"};

// Both spellings of the Safe Browsing journal are listed, each as an entry of its own.
constexpr std::array<const char16_t*, 20> kChromeFiles = {
    u"Shortcuts",         u"History",
    u"History Provider Cache", u"Top Sites",
    u"Current Session",   u"Current Tabs",
    u"Last Session",      u"Last Tabs",
    u"Visited Links",     u"Network Action Predictor",
    u"Cookies-journal",   u"Safe Browing Cookies-journal",
    u"History-journal",   u"Shortcuts-journal",
    u"Safe Browsing Cookies-journal", u"Top Sites-journal",
    u"Favicons-journal",  u"Web Data-journal",
    u"QuotaManager-journal", u"Network Action Predictor-journal"};

// Profiles are "Default", "Profile 1", "Profile 2", ... up to the first gap.
void FindChromeTargets(Platform& os, Locations& loc) {
  if (loc.LocalAppDataFolder.empty()) return;
  const Text root = loc.LocalAppDataFolder + u"Google\\Chrome\\User Data\\";
  if (!FolderExists(os, root)) return;
  for (int64_t n = 0;; ++n) {
    const Text profile = root + (n == 0 ? Text(u"Default") : u"Profile " + NumberText(n)) + u"\\";
    if (!FolderExists(os, profile)) return;
    for (const char16_t* folder : kChromeFolders) loc.ChromeTargets.push_back(profile + folder);
    for (const char16_t* file : kChromeFiles) loc.ChromeTargets.push_back(u"#" + profile + file);
  }
}

void FindTempFolders(Platform& os, Locations& loc) {
  const auto addIfFolder = [&](const Text& base, const Text& rest) {
    if (!base.empty() && FolderExists(os, base + rest)) loc.TempFolders.push_back(base + rest);
  };
  addIfFolder(loc.LocalAppDataFolder, u"Temp\\");
  addIfFolder(loc.WindowsFolder, u"Temp\\");
  addIfFolder(u"C:\\ProgramData\\", u"Temp\\");
  addIfFolder(loc.ProfileFolder, u"AppData\\LocalLow\\Temp\\");
}

// PATH as written (no quotes removed, nothing expanded), then the Windows and
// System folders unless PATH already names them.
void FindSearchFolders(Platform& os, Locations& loc) {
  const Text path = os.GetEnvironmentVariable(u"PATH").value_or(Text());
  for (const Text& piece : Split(path, u';'))
    if (!piece.empty()) loc.SearchFolders.push_back(WithTrailingBackslash(piece));
  for (const Text* folder : {&loc.WindowsFolder, &loc.SystemFolder}) {
    if (folder->empty()) continue;
    const bool present = std::any_of(loc.SearchFolders.begin(), loc.SearchFolders.end(),
                                     [&](const Text& entry) { return EqualsIgnoreAsciiCase(entry, *folder); });
    if (!present) loc.SearchFolders.push_back(*folder);
  }
}

// The default account is the text of the first <Default> element after the
// first line of shared.xml.
void FindSkypeChatsyncFolder(Platform& os, Locations& loc) {
  if (loc.AppDataFolder.empty()) return;
  const Text file = loc.AppDataFolder + u"Skype\\shared.xml";
  if (!FileExists(os, file)) return;
  const auto lines = ReadTextLines(os, file);
  for (size_t i = 1; i < lines.size(); ++i) {
    const Text& line = lines[i];
    if (!Contains(ToUpperAscii(line), u"<DEFAULT>")) continue;
    // The text between the line's first ">" and the next "<"; none without a "<".
    const Text rest = line.substr(line.find(u'>') + 1);
    const size_t open = rest.find(u'<');
    const Text account = open == Text::npos ? Text() : rest.substr(0, open);
    if (IsSafeRelativeName(account)) loc.SkypeChatsyncFolder = loc.AppDataFolder + u"Skype\\" + account + u"\\chatsync\\";
    return;
  }
}

}  // namespace

void DiscoverLocations(Platform& os, Locations& loc) {
  FindFolders(os, loc);
  FindIeCacheFolders(os, loc);
  FindProfileFolder(loc);
  FindEdgeCacheFolders(os, loc);
  FindFirefoxCacheFolders(os, loc);
  FindChromeTargets(os, loc);
  FindTempFolders(os, loc);
  FindSearchFolders(os, loc);
  FindSkypeChatsyncFolder(os, loc);
}

}  // namespace nb
