// The narrow Windows layer. The logic reaches the machine only through this
// interface; win32/ implements it with the real API, sim/ with a simulated
// machine in memory.
//
// One error convention: a call whose callers act on why it failed returns the
// Win32 error code (kErrorSuccess when it worked) and hands what it made back
// through its last parameter, which is left empty on failure. A call whose
// callers never ask why gives an empty result instead: null, false or no value.
// A deletion answers with what became of the entry (DeleteOutcome).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Text.h"
#include "platform/WindowsMacroNames.h"

namespace nb {

// Values of the Windows API that the logic uses, spelled out so that no logic
// file needs windows.h. (The real back end is nb::win32, in platform/win32/.)
namespace winapi {
constexpr uint32_t kErrorSuccess = 0;
constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kErrorPathNotFound = 3;
constexpr uint32_t kErrorAccessDenied = 5;
constexpr uint32_t kErrorInvalidHandle = 6;
constexpr uint32_t kErrorSharingViolation = 32;
constexpr uint32_t kErrorInvalidParameter = 87;
constexpr uint32_t kErrorInsufficientBuffer = 122;
constexpr uint32_t kErrorInvalidName = 123;
constexpr uint32_t kErrorDirNotEmpty = 145;
constexpr uint32_t kErrorAlreadyExists = 183;
constexpr uint32_t kErrorMoreData = 234;
constexpr uint32_t kErrorNoMoreItems = 259;

constexpr uint32_t kAttrReadOnly = 0x1;
constexpr uint32_t kAttrHidden = 0x2;
constexpr uint32_t kAttrSystem = 0x4;
constexpr uint32_t kAttrDirectory = 0x10;
constexpr uint32_t kAttrArchive = 0x20;
constexpr uint32_t kAttrNormal = 0x80;
constexpr uint32_t kAttrReparsePoint = 0x400;
constexpr uint32_t kInvalidAttributes = 0xFFFFFFFF;

constexpr uint32_t kShareRead = 0x1;
constexpr uint32_t kShareWrite = 0x2;
constexpr uint32_t kShareDelete = 0x4;

constexpr uint32_t kDriveUnknown = 0;
constexpr uint32_t kDriveNoRootDir = 1;
constexpr uint32_t kDriveRemovable = 2;
constexpr uint32_t kDriveFixed = 3;
constexpr uint32_t kDriveRemote = 4;
constexpr uint32_t kDriveCdRom = 5;
constexpr uint32_t kDriveRamDisk = 6;

constexpr uint32_t kHkeyCurrentUser = 0x80000001;
constexpr uint32_t kHkeyLocalMachine = 0x80000002;

constexpr uint32_t kRegNone = 0;
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegExpandSz = 2;
constexpr uint32_t kRegBinary = 3;
constexpr uint32_t kRegDword = 4;
constexpr uint32_t kRegMultiSz = 7;
constexpr uint32_t kRegQword = 11;

constexpr uint32_t kKeyRead = 0x20019;
constexpr uint32_t kKeyAllAccess = 0xF003F;
constexpr uint32_t kKeyWow64_64Key = 0x100;
constexpr uint32_t kKeyWow64_32Key = 0x200;

constexpr int kCsidlPersonal = 5;
constexpr int kCsidlFavorites = 6;
constexpr int kCsidlRecent = 8;
constexpr int kCsidlMyMusic = 13;
constexpr int kCsidlMyVideo = 14;
constexpr int kCsidlDesktopDirectory = 16;
constexpr int kCsidlAppData = 26;
constexpr int kCsidlLocalAppData = 28;
constexpr int kCsidlInternetCache = 32;
constexpr int kCsidlHistory = 34;
constexpr int kCsidlProgramFiles = 38;
constexpr int kCsidlMyPictures = 39;
constexpr int kCsidlProfile = 40;
constexpr int kCsidlProgramFilesX86 = 42;
// Downloads has no CSIDL: the Windows layer asks for the known folder
// (FOLDERID_Downloads) when given this number.
constexpr int kKnownFolderDownloads = 0x10000;

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;
constexpr uint32_t kMbOk = 0x0;
constexpr uint32_t kMbYesNo = 0x4;
constexpr uint32_t kMbIconQuestion = 0x20;
constexpr uint32_t kMbIconInformation = 0x40;
}  // namespace winapi

// One directory entry as FindFirstFileW/FindNextFileW deliver it.
struct FindEntry {
  uint32_t attributes = 0;
  uint64_t size = 0;
  Text name;
};

// An open enumeration; closing happens when the object goes away.
class FolderListing {
 public:
  virtual ~FolderListing() = default;
  // Fills the next entry; false when there is none left.
  virtual bool Next(FindEntry& entry) = 0;
};

struct RegKeyInfo {
  uint32_t subKeyCount = 0;
  uint32_t maxSubKeyLength = 0;
  uint32_t valueCount = 0;
  uint32_t maxValueNameLength = 0;
};

struct RegValue {
  uint32_t type = winapi::kRegNone;
  std::vector<uint8_t> data;  // raw bytes as stored; strings need not end with a NUL
};

// An open registry key; RegCloseKey happens when the object goes away.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // RegQueryValueExW: type and the whole data. An empty name is the unnamed default value.
  virtual uint32_t QueryValue(const Text& name, RegValue& value) = 0;
  virtual uint32_t SetValue(const Text& name, uint32_t type, const std::vector<uint8_t>& data) = 0;
  virtual uint32_t DeleteValue(const Text& name) = 0;
  virtual uint32_t QueryInfo(RegKeyInfo& info) = 0;
  virtual uint32_t EnumKey(uint32_t index, Text& name) = 0;
  virtual uint32_t EnumValue(uint32_t index, Text& name) = 0;
};

// A file opened for reading.
class OpenFile {
 public:
  virtual ~OpenFile() = default;
  virtual uint64_t Size() = 0;
  // Reads up to `count` bytes from the current position; false on a read error.
  virtual bool Read(std::string& bytes, size_t count) = 0;
};

// What a deletion did with the entry it was asked to delete.
enum class DeleteOutcome {
  Deleted,     // the file, or the link itself, is gone
  Missing,     // nothing is there
  Kept,        // still there and unchanged: a folder, in use, access denied, or its name outlived the deletion
  Redirected,  // what opened is not the entry that was meant (a link on the way): left alone
  Changed,     // a registry value that no longer holds what Analyze read: left alone
};

// Who owns an entry, as far as trusting a link goes: the system's own
// accounts and the user running the program are trusted, anyone else is not.
enum class EntryOwner { Unknown, System, Administrators, TrustedInstaller, CurrentUser, Other };

// One entry itself, as its folder lists it.
struct EntryInfo {
  uint32_t attributes = 0;
  // A junction, a mount point or a symbolic link: a reparse point that names
  // another place. Other reparse points (cloud placeholders, deduplicated
  // files) are no links.
  bool isLink = false;
  EntryOwner owner = EntryOwner::Unknown;  // asked only of a link
};

// A folder held open. It stays the same folder while it is held, whatever
// becomes of the path it was opened by.
class OpenFolder {
 public:
  virtual ~OpenFolder() = default;
};

// Which folder an open folder is: where it lies with every link resolved
// ("C:\Users\me\Temp", no trailing backslash), and which object on which volume.
struct FolderIdentity {
  Text finalPath;
  uint32_t volumeSerial = 0;
  uint64_t fileId = 0;
  bool isLink = false;  // the folder opened is itself a junction or a directory link
};

class Platform {
 public:
  virtual ~Platform() = default;

  // --- Folders and files ---
  // FindFirstFileW over `pattern` (a folder + "*.*", or the path of one entry).
  // Null when no first entry is delivered (missing or unreadable folder).
  virtual std::unique_ptr<FolderListing> FindFirst(const Text& pattern, FindEntry& first) = 0;
  // GetFileAttributesW; kInvalidAttributes on failure.
  virtual uint32_t GetFileAttributes(const Text& path, uint32_t& attributes) = 0;
  // The entry at `path` itself: links before its last name are followed, a
  // link at the last name is reported as the link, with its owner.
  virtual uint32_t InspectEntry(const Text& path, EntryInfo& entry) = 0;

  // --- Folders held open, and what is done relative to them ---
  // Opens the folder at `path` as CreateFileW with backup semantics does:
  // links on the way and at the end are followed (2 or 3 when nothing is there).
  virtual uint32_t OpenFolderAt(const Text& path, std::unique_ptr<OpenFolder>& folder) = 0;
  // Opens the folder `relative` ("a" or "a\b") below `base`. A link at the
  // last name is opened as the link, not followed.
  virtual uint32_t OpenFolderBelow(OpenFolder& base, const Text& relative, std::unique_ptr<OpenFolder>& folder) = 0;
  virtual bool IdentifyFolder(OpenFolder& folder, FolderIdentity& identity) = 0;
  // Deletes the file `name` of `folder`, exactly that entry: it is opened
  // relative to the folder without following a link, and an object that is
  // not the entry `name` of this very folder is left alone (Redirected).
  // Read-only files go too. Deleted means the name is gone: a file whose name
  // would outlive the deletion (another program holds it and the file system
  // removes names only at the last close) is not deleted but Kept. When the
  // file stays, and when other names of it stay, its attributes are exactly
  // as they were.
  virtual DeleteOutcome DeleteFileIn(OpenFolder& folder, const Text& name) = 0;
  // The entries of `folder` as FindFirstFileW lists folder + "*.*" ("." and ".." included).
  virtual std::unique_ptr<FolderListing> ListFolder(OpenFolder& folder, FindEntry& first) = 0;
  // Removes the subfolder `name` of `folder` when it is empty. A link, or an
  // object that is not the entry `name` of this very folder, is left alone.
  virtual bool RemoveFolderIn(OpenFolder& folder, const Text& name) = 0;
  // CreateFileW(GENERIC_READ, share, OPEN_EXISTING).
  virtual uint32_t OpenForRead(const Text& path, uint32_t share, std::unique_ptr<OpenFile>& file) = 0;

  // --- Special folders, identity, version ---
  // SHGetFolderPathW; no value when the lookup fails. No trailing backslash.
  virtual std::optional<Text> GetSpecialFolder(int csidl) = 0;
  virtual Text GetWindowsDirectory() = 0;
  virtual Text GetSystemDirectory() = 0;
  virtual std::optional<Text> GetUserName() = 0;
  // dwMajorVersion of GetVersionExW; no value when the query fails.
  virtual std::optional<uint32_t> GetMajorVersion() = 0;

  // --- Environment and settings files ---
  virtual std::optional<Text> GetEnvironmentVariable(const Text& name) = 0;
  // ExpandEnvironmentStringsW into a buffer of `bufferChars` characters (NUL included).
  // No value when the expansion does not fit.
  virtual std::optional<Text> ExpandEnvironmentStrings(const Text& text, uint32_t bufferChars) = 0;
  // GetPrivateProfileStringW semantics: a missing file, section or key gives `fallback`.
  virtual Text GetPrivateProfileString(const Text& section, const Text& key, const Text& fallback,
                                       const Text& file) = 0;
  // The user's decimal separator, as the process reads it at start-up.
  virtual Text GetDecimalSeparator() = 0;
  // Bytes of the system's ANSI code page turned into text.
  virtual Text DecodeAnsi(const std::string& bytes) = 0;

  // --- Drives ---
  virtual uint32_t GetLogicalDrives() = 0;
  virtual uint32_t GetDriveType(const Text& root) = 0;

  // --- Registry ---
  // RegOpenKeyExW below a predefined root; `key` is set only on success.
  virtual uint32_t OpenKey(uint32_t root, const Text& path, uint32_t access, std::unique_ptr<RegistryKey>& key) = 0;
  // RegCreateKeyExW(REG_OPTION_NON_VOLATILE), creating missing parents.
  virtual uint32_t CreateKey(uint32_t root, const Text& path, uint32_t access, std::unique_ptr<RegistryKey>& key) = 0;

  // --- WOW64 file-system redirection of the calling thread ---
  // The entry points are looked up at every call; false when they are absent.
  virtual bool DisableWow64Redirection() = 0;
  virtual bool EnableWow64Redirection() = 0;

  // --- Processes ---
  // The executable names of a process snapshot; no value when no snapshot can be taken.
  virtual std::optional<std::vector<Text>> ProcessNames() = 0;

  // --- Windows and messages (cross-process) ---
  virtual uintptr_t FindWindow(const Text& className, const Text& title) = 0;
  virtual uint32_t RegisterWindowMessage(const Text& name) = 0;
  virtual bool PostMessage(uintptr_t window, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
  virtual void Sleep(uint32_t milliseconds) = 0;
};

// Derived tests every caller shares.
// The attributes of `path`, kInvalidAttributes when they cannot be read.
uint32_t AttributesOf(Platform& os, const Text& path);
bool FileExists(Platform& os, const Text& path);    // an existing entry that is not a folder
bool FolderExists(Platform& os, const Text& path);  // an existing folder
// The size of the first entry that `path` matches, whatever its attributes; 0
// when nothing matches.
uint64_t FindFileSize(Platform& os, const Text& path);
// A name that stands for one entry of a folder: no separator, no stream, no dots.
bool IsPlainEntryName(TextView name);

}  // namespace nb
