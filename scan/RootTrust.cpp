#include "scan/RootTrust.h"

#include <array>

namespace nb {

namespace {

// A folder in the forms it is known by: as the system names it and, where
// that differs, where it really lies. Each ends with "\".
std::vector<Text> FormsOf(Platform& os, const Text& folder) {
  std::vector<Text> forms{WithTrailingBackslash(folder)};
  if (const auto identity = IdentifyFolderAt(os, forms[0])) {
    Text final = WithTrailingBackslash(identity->finalPath);
    if (!EqualsIgnoreCase(final, forms[0])) forms.push_back(std::move(final));
  }
  return forms;
}

void AddPlace(Platform& os, ProtectedPlaces& found, const Text& folder, bool exactly,
              const std::vector<Text>& except = {}) {
  if (folder.empty()) return;
  std::vector<Text> exceptForms;
  for (const Text& below : except)
    for (Text& form : FormsOf(os, below)) exceptForms.push_back(std::move(form));
  for (Text& form : FormsOf(os, folder)) found.places.push_back({std::move(form), exactly, exceptForms});
}

Text ParentFolder(const Text& folder) {
  const TextView trimmed = TextView(folder).substr(0, folder.size() - 1);
  const size_t cut = trimmed.find_last_of(u'\\');
  return cut == TextView::npos ? Text() : Text(trimmed.substr(0, cut + 1));
}

bool IsOrLiesBelow(TextView folder, TextView place) {
  return EqualsIgnoreCase(folder, place) || LiesBelow(folder, place);
}

// "C:\" and "\\server\share\": where a drive's files begin.
bool IsDriveRoot(TextView folder) {
  if (folder.size() == 3 && folder[1] == u':' && folder[2] == u'\\') return true;
  if (!folder.starts_with(u"\\\\")) return false;
  size_t separators = 0;
  for (size_t i = 2; i < folder.size(); ++i)
    if (folder[i] == u'\\') ++separators;
  return separators <= 2;
}

bool IsTrustedOwner(EntryOwner owner) {
  return owner == EntryOwner::System || owner == EntryOwner::Administrators ||
         owner == EntryOwner::TrustedInstaller || owner == EntryOwner::CurrentUser;
}

// Where the names of a folder path begin: after "C:\", or after
// "\\server\share\".
size_t FirstNameAt(const Text& folder) {
  if (!folder.starts_with(u"\\\\")) return folder.size() >= 3 && folder[1] == u':' ? 3 : folder.size();
  size_t at = 2;
  for (int separator = 0; separator < 2 && at != Text::npos; ++separator) {
    at = folder.find(u'\\', at);
    if (at != Text::npos) ++at;
  }
  return at == Text::npos ? folder.size() : at;
}

// Looks at every folder on the way to `folder`, itself included. False when
// a link on the way belongs to someone else, or cannot be asked whose it is;
// `linked` says whether any link was met.
bool LinksOnTheWayAreTrusted(Platform& os, const Text& folder, bool& linked) {
  linked = false;
  for (size_t at = FirstNameAt(folder); at < folder.size();) {
    const size_t end = folder.find(u'\\', at);
    if (end == Text::npos) break;
    EntryInfo entry;
    if (os.InspectEntry(folder.substr(0, end), entry) != winapi::kErrorSuccess) return false;
    if (entry.isLink) {
      linked = true;
      if (!IsTrustedOwner(entry.owner)) return false;
    }
    at = end + 1;
  }
  return true;
}

}  // namespace

ProtectedPlaces FindProtectedPlaces(Platform& os, const Locations& loc) {
  ProtectedPlaces found;
  found.found = true;
  const Text profile = WithTrailingBackslash(os.GetSpecialFolder(winapi::kCsidlProfile).value_or(loc.ProfileFolder));
  if (profile.size() > 1) {
    AddPlace(os, found, profile, true);
    // The other profiles: everything beside the user's own.
    AddPlace(os, found, ParentFolder(profile), false, {profile});
  }
  constexpr std::array kUserFolders{winapi::kCsidlPersonal,  winapi::kCsidlDesktopDirectory, winapi::kCsidlMyPictures,
                                    winapi::kCsidlMyMusic,   winapi::kCsidlMyVideo,          winapi::kKnownFolderDownloads,
                                    winapi::kCsidlFavorites, winapi::kCsidlProgramFiles,     winapi::kCsidlProgramFilesX86};
  for (const int csidl : kUserFolders)
    if (auto folder = os.GetSpecialFolder(csidl)) AddPlace(os, found, *folder, false);
  // A 32-bit process is told the 32-bit program folder; the native one is in its environment.
  if (auto native = os.GetEnvironmentVariable(u"ProgramW6432")) AddPlace(os, found, *native, false);
  AddPlace(os, found, loc.ProgramFilesFolder, false);
  if (!loc.WindowsFolder.empty()) AddPlace(os, found, loc.WindowsFolder, false, {loc.WindowsFolder + u"Temp\\"});
  return found;
}

bool IsProtectedFolder(const ProtectedPlaces& protectedPlaces, TextView finalFolder) {
  if (IsDriveRoot(finalFolder)) return true;
  for (const ProtectedPlace& place : protectedPlaces.places) {
    if (place.exactly ? !EqualsIgnoreCase(finalFolder, place.folder) : !IsOrLiesBelow(finalFolder, place.folder))
      continue;
    bool excepted = false;
    for (const Text& below : place.except) excepted = excepted || IsOrLiesBelow(finalFolder, below);
    if (!excepted) return true;
  }
  return false;
}

uint32_t TrustedScanRoot(RunContext& run, const Text& folder) {
  AppState& state = run.state;
  const uint32_t root = state.Roots.Record(run.os, folder);
  const ScanRoot* scanRoot = state.Roots.At(root);
  if (!scanRoot || !scanRoot->known) return kNoScanRoot;
  if (!state.Protected.found) state.Protected = FindProtectedPlaces(run.os, state.Loc);

  bool linked = false;
  bool trusted = LinksOnTheWayAreTrusted(run.os, folder, linked);
  // Only a link makes a root lie elsewhere than its name says, by someone's
  // choice. (A 32-bit process's System32 lies in SysWOW64: the system
  // redirects it, and the Windows logs are found there.)
  if (trusted && linked)
    trusted = !IsProtectedFolder(state.Protected, WithTrailingBackslash(scanRoot->identity.finalPath));
  // What was judged must be what was recorded: a swap while the links were
  // looked at refuses the root.
  if (trusted) {
    const auto now = IdentifyFolderAt(run.os, folder);
    trusted = now && IsSameScanRoot(scanRoot, folder, *now);
  }
  if (trusted) return root;
  state.Roots.Refuse(root);
  return kNoScanRoot;
}

}  // namespace nb
