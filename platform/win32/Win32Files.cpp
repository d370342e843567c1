// The real API behind the Windows layer: files, folders held open and what is
// done relative to them, and the WOW64 file-system redirection.
#include "platform/win32/Handles.h"

#include <aclapi.h>
#include <sddl.h>
#include <winternl.h>

#include <algorithm>
#include <limits>

#include "platform/win32/Wide.h"
#include "platform/win32/Win32Platform.h"

namespace nb {

namespace {

using win32::FromWide;
using win32::ToWide;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

FindEntry ToEntry(const WIN32_FIND_DATAW& data) {
  FindEntry entry;
  entry.attributes = data.dwFileAttributes;
  entry.size = (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  entry.name = FromWide(data.cFileName);
  return entry;
}

class Win32Listing : public FolderListing {
 public:
  explicit Win32Listing(win32::UniqueFind find) : find_(std::move(find)) {}
  bool Next(FindEntry& entry) override {
    WIN32_FIND_DATAW data;
    if (!::FindNextFileW(find_.get(), &data)) return false;
    entry = ToEntry(data);
    return true;
  }

 private:
  win32::UniqueFind find_;
};

class Win32File : public OpenFile {
 public:
  explicit Win32File(win32::UniqueFile file) : file_(std::move(file)) {}
  uint64_t Size() override {
    LARGE_INTEGER size;
    return ::GetFileSizeEx(file_.get(), &size) ? uint64_t(size.QuadPart) : 0;
  }
  bool Read(std::string& bytes, size_t count) override {
    const size_t start = bytes.size();
    bytes.resize(start + count);
    size_t got = 0;
    while (got < count) {
      const DWORD ask = DWORD(std::min<size_t>(count - got, 1u << 20));
      DWORD read = 0;
      if (!::ReadFile(file_.get(), bytes.data() + start + got, ask, &read, nullptr)) {
        bytes.resize(start + got);
        return false;
      }
      if (read == 0) break;  // end of file
      got += read;
    }
    bytes.resize(start + got);
    return true;
  }

 private:
  win32::UniqueFile file_;
};

// A kernel32 entry point, looked up afresh at every call: absent on systems without WOW64.
template <typename Function>
Function Kernel32Entry(const char* name) {
  HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
  if (!kernel32) return nullptr;
  FARPROC entry = ::GetProcAddress(kernel32, name);
  return entry ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(entry)) : nullptr;
}

// The attributes a file's basic information may be given: read-only, hidden,
// system, archive, normal, temporary, offline, not content indexed, no scrub
// data, pinned and unpinned. The others (directory, compressed, sparse,
// reparse point ...) are reported but cannot be set.
constexpr DWORD kSettableAttributes =
    0x1 | 0x2 | 0x4 | 0x20 | 0x80 | 0x100 | 0x1000 | 0x2000 | 0x20000 | 0x80000 | 0x100000;

Text WideText(const std::wstring& text) { return FromWide(text.data(), text.size()); }

// A path as a Win32 call answers it into a growing buffer; the empty text on failure.
template <typename Call>
std::wstring GrowingPathQuery(Call call) {
  std::wstring buffer(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 4; ++attempt) {
    const DWORD length = call(buffer.data(), DWORD(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return buffer.substr(0, length);
    buffer.assign(length + 1, L'\0');
  }
  return {};
}

// The path of the object behind an open handle, with every link resolved,
// in the "C:\..." or "\\server\share\..." form.
Text FinalPathOf(HANDLE file) {
  std::wstring path = GrowingPathQuery([&](wchar_t* buffer, DWORD size) {
    return ::GetFinalPathNameByHandleW(file, buffer, size, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  });
  if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return WideText(L"\\\\" + path.substr(8));
  if (path.rfind(L"\\\\?\\", 0) == 0) return WideText(path.substr(4));
  return WideText(path);
}

bool SetBasicAttributes(HANDLE file, DWORD attributes) {
  FILE_BASIC_INFO basic = {};  // zero times are left as they are
  basic.FileAttributes = attributes;
  return ::SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic) != FALSE;
}

}  // namespace

// --- Folders and files ---

std::unique_ptr<FolderListing> Win32Platform::FindFirst(const Text& pattern, FindEntry& first) {
  WIN32_FIND_DATAW data;
  win32::UniqueFind find(::FindFirstFileW(ToWide(pattern).c_str(), &data));
  if (!find) return nullptr;
  first = ToEntry(data);
  return std::make_unique<Win32Listing>(std::move(find));
}

uint32_t Win32Platform::GetFileAttributes(const Text& path, uint32_t& attributes) {
  attributes = ::GetFileAttributesW(ToWide(path).c_str());
  return attributes == INVALID_FILE_ATTRIBUTES ? uint32_t(::GetLastError()) : winapi::kErrorSuccess;
}

namespace {

// A junction, a mount point or a symbolic link carries a name-surrogate tag.
// A reparse point that only stands in for the file's own data (hierarchical
// storage, deduplication, compression, cloud and projected files) is no link;
// any other tag, an unknown one or none at all (Wine gives none), is taken
// for a link.
bool IsLinkTag(DWORD tag) {
  constexpr DWORD kNameSurrogate = 0x20000000;
  if (tag & kNameSurrogate) return true;
  constexpr DWORD kCloudMask = 0xFFFF0FFF;  // the cloud tags differ in one digit: 0x9000X01A
  if ((tag & kCloudMask) == DWORD(IO_REPARSE_TAG_CLOUD)) return false;
  constexpr DWORD kDataOnly[] = {
      DWORD(IO_REPARSE_TAG_HSM),          DWORD(IO_REPARSE_TAG_HSM2),   DWORD(IO_REPARSE_TAG_SIS),
      DWORD(IO_REPARSE_TAG_DEDUP),        DWORD(IO_REPARSE_TAG_WOF),    DWORD(IO_REPARSE_TAG_FILE_PLACEHOLDER),
      DWORD(IO_REPARSE_TAG_STORAGE_SYNC), DWORD(IO_REPARSE_TAG_PROJFS), DWORD(IO_REPARSE_TAG_ONEDRIVE),
  };
  return std::find(std::begin(kDataOnly), std::end(kDataOnly), tag) == std::end(kDataOnly);
}

// A SID as text ("S-1-5-18"); empty when it cannot be written.
std::wstring SidText(PSID sid) {
  LPWSTR text = nullptr;
  if (!::ConvertSidToStringSidW(sid, &text)) return {};
  const win32::UniqueLocal owned(text);
  return text;
}

// The SID of the user the process runs as, as text.
std::wstring ProcessUserSid() {
  win32::UniqueKernel token;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) return {};
  DWORD size = 0;
  ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
  std::vector<unsigned char> buffer(size);  // aligned for TOKEN_USER by the allocator
  if (size == 0 || !::GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) return {};
  return SidText(reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid);
}

EntryOwner OwnerKind(PSID owner) {
  constexpr wchar_t kTrustedInstaller[] = L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
  const std::wstring text = SidText(owner);
  if (text.empty()) return EntryOwner::Unknown;
  if (text == L"S-1-5-18") return EntryOwner::System;
  if (text == L"S-1-5-32-544") return EntryOwner::Administrators;
  if (text == kTrustedInstaller) return EntryOwner::TrustedInstaller;
  if (text == ProcessUserSid()) return EntryOwner::CurrentUser;
  return EntryOwner::Other;
}

// Who owns the entry at `path` itself: a link at its last name is not followed.
EntryOwner OwnerOf(const std::wstring& path) {
  win32::UniqueFile entry(::CreateFileW(path.c_str(), READ_CONTROL, kShareAll, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!entry) return EntryOwner::Unknown;
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  const DWORD status = ::GetSecurityInfo(entry.get(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                                         nullptr, nullptr, &descriptor);
  const win32::UniqueLocal owned(descriptor);  // the owner SID lies inside it
  return status == ERROR_SUCCESS && owner ? OwnerKind(owner) : EntryOwner::Unknown;
}

}  // namespace

uint32_t Win32Platform::InspectEntry(const Text& path, EntryInfo& entry) {
  entry = {};
  // FindFirstFileW names an entry only without a trailing separator.
  TextView name = path;
  while (!name.empty() && name.back() == u'\\') name.remove_suffix(1);
  // A drive's root is never a link, and FindFirstFileW cannot list it.
  if (name.size() == 2 && name[1] == u':') {
    uint32_t attributes = 0;
    const uint32_t error = GetFileAttributes(Text(name) + u"\\", attributes);
    entry.attributes = error == ERROR_SUCCESS ? attributes : 0;
    return error;
  }
  // "*" and "?" would be taken as wildcards; no entry's name holds them.
  if (name.empty() || name.find_first_of(u"*?") != TextView::npos) return ERROR_INVALID_NAME;
  const std::wstring wide = ToWide(name);
  WIN32_FIND_DATAW data;
  win32::UniqueFind find(::FindFirstFileW(wide.c_str(), &data));
  if (!find) return ::GetLastError();
  entry.attributes = data.dwFileAttributes;
  // For a reparse point the listing gives its tag in dwReserved0.
  entry.isLink = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && IsLinkTag(data.dwReserved0);
  if (entry.isLink) entry.owner = OwnerOf(wide);
  return ERROR_SUCCESS;
}

uint32_t Win32Platform::OpenForRead(const Text& path, uint32_t share, std::unique_ptr<OpenFile>& opened) {
  win32::UniqueFile file(::CreateFileW(ToWide(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    return ::GetLastError();
  }
  opened = std::make_unique<Win32File>(std::move(file));
  return winapi::kErrorSuccess;
}

// --- Folders held open ---

namespace {

// A folder handle, with where the folder lies once that has been asked.
class Win32Folder : public OpenFolder {
 public:
  explicit Win32Folder(win32::UniqueFile handle, std::optional<uint32_t> volume = std::nullopt)
      : handle(std::move(handle)), volume(volume) {}
  win32::UniqueFile handle;
  std::optional<Text> finalPath;
  // The volume's serial number, once asked. A folder opened below another
  // lies on that one's volume unless it is a reparse point (a mount point).
  std::optional<uint32_t> volume;
};

Win32Folder& FolderOf(OpenFolder& folder) { return static_cast<Win32Folder&>(folder); }

// Which file an open handle names: its file ID on its volume. Two files
// opened relative to one folder handle, without following links, lie on
// the same volume. (GetFileInformationByHandle asks the volume too, which
// costs a quarter of a millisecond under Wine.)
std::optional<uint64_t> FileIdOf(HANDLE file) {
  FILE_INTERNAL_INFORMATION internal = {};
  IO_STATUS_BLOCK status;
  if (::NtQueryInformationFile(file, &status, &internal, sizeof internal, FileInternalInformation) < 0)
    return std::nullopt;
  return uint64_t(internal.IndexNumber.QuadPart);
}

std::optional<DWORD> AttributesOf(HANDLE file) {
  FILE_BASIC_INFO basic = {};
  if (!::GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic)) return std::nullopt;
  return basic.FileAttributes;
}

const Text& FinalPathOfFolder(Win32Folder& folder) {
  if (!folder.finalPath) folder.finalPath = FinalPathOf(folder.handle.get());
  return *folder.finalPath;
}

constexpr ACCESS_MASK kFolderAccess = FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | SYNCHRONIZE;

// NtOpenFile of `name` relative to the open folder `base`, sharing `share`
// with others. A link at the last name is opened as the link where the file
// system allows it.
win32::UniqueFile OpenRelative(HANDLE base, const Text& name, ACCESS_MASK access, ULONG options, DWORD& error,
                               ULONG share = kShareAll) {
  std::wstring wide = ToWide(name);
  if (wide.size() * sizeof(wchar_t) > 0xFFF0) {
    error = ERROR_FILENAME_EXCED_RANGE;
    return {};
  }
  UNICODE_STRING unicode;
  unicode.Buffer = wide.data();
  unicode.Length = unicode.MaximumLength = USHORT(wide.size() * sizeof(wchar_t));
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &unicode, OBJ_CASE_INSENSITIVE, base, nullptr);
  IO_STATUS_BLOCK status;
  HANDLE handle = nullptr;
  const NTSTATUS result = ::NtOpenFile(&handle, access | SYNCHRONIZE, &attributes, &status, share,
                                       options | FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT);
  if (result < 0) {
    error = ::RtlNtStatusToDosError(result);
    return {};
  }
  error = ERROR_SUCCESS;
  return win32::UniqueFile(handle);
}

// Whether the object behind `handle` is the entry `name` of `folder` itself,
// on the same volume: a link that was followed shows as another path.
bool IsEntryOf(Win32Folder& folder, HANDLE handle, const Text& name) {
  const Text& folderPath = FinalPathOfFolder(folder);
  if (folderPath.empty()) return false;
  // A drive's root ends with its own backslash.
  const Text expected = EndsWith(folderPath, u"\\") ? folderPath + name : folderPath + u"\\" + name;
  return EqualsIgnoreCase(FinalPathOf(handle), expected);
}

class HandleListing : public FolderListing {
 public:
  explicit HandleListing(HANDLE folder) : folder_(folder), buffer_(64 * 1024) {}

  bool Next(FindEntry& entry) override {
    if (!current_ && !Fill()) return false;
    const auto* info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer_.data() + offset_);
    entry.attributes = info->FileAttributes;
    entry.size = uint64_t(info->EndOfFile.QuadPart);
    entry.name = FromWide(info->FileName, info->FileNameLength / sizeof(wchar_t));
    if (info->NextEntryOffset == 0)
      current_ = false;
    else
      offset_ += info->NextEntryOffset;
    return true;
  }

 private:
  bool Fill() {
    const auto kind = first_ ? FileIdBothDirectoryRestartInfo : FileIdBothDirectoryInfo;
    first_ = false;
    if (!::GetFileInformationByHandleEx(folder_, kind, buffer_.data(), DWORD(buffer_.size()))) return false;
    offset_ = 0;
    current_ = true;
    return true;
  }

  HANDLE folder_;
  std::vector<unsigned char> buffer_;  // DWORD-aligned by the allocator
  size_t offset_ = 0;
  bool first_ = true;
  bool current_ = false;
};

}  // namespace

uint32_t Win32Platform::OpenFolderAt(const Text& path, std::unique_ptr<OpenFolder>& folder) {
  win32::UniqueFile handle(::CreateFileW(ToWide(path).c_str(), kFolderAccess, kShareAll, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle) {
    return ::GetLastError();
  }
  FILE_BASIC_INFO basic = {};
  if (!::GetFileInformationByHandleEx(handle.get(), FileBasicInfo, &basic, sizeof basic) ||
      (basic.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    return ERROR_DIRECTORY;
  }
  folder = std::make_unique<Win32Folder>(std::move(handle));
  return ERROR_SUCCESS;
}

uint32_t Win32Platform::OpenFolderBelow(OpenFolder& base, const Text& relative, std::unique_ptr<OpenFolder>& folder) {
  DWORD status = ERROR_SUCCESS;
  win32::UniqueFile handle = OpenRelative(FolderOf(base).handle.get(), relative, kFolderAccess,
                                          FILE_DIRECTORY_FILE | FILE_OPEN_FOR_BACKUP_INTENT, status);
  if (handle) folder = std::make_unique<Win32Folder>(std::move(handle), FolderOf(base).volume);
  return status;
}

bool Win32Platform::IdentifyFolder(OpenFolder& opened, FolderIdentity& identity) {
  Win32Folder& folder = FolderOf(opened);
  const std::optional<uint64_t> id = FileIdOf(folder.handle.get());
  const std::optional<DWORD> attributes = AttributesOf(folder.handle.get());
  if (!id || !attributes) return false;
  identity.isLink = (*attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  if (!folder.volume || identity.isLink) {
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!::GetFileInformationByHandle(folder.handle.get(), &info)) return false;
    folder.volume = info.dwVolumeSerialNumber;
  }
  identity.finalPath = FinalPathOfFolder(folder);
  identity.volumeSerial = *folder.volume;
  identity.fileId = *id;
  return !identity.finalPath.empty();
}

namespace {

bool MarkForDeletion(HANDLE file, bool mark) {
  FILE_DISPOSITION_INFO dispose = {BOOLEAN(mark)};
  return ::SetFileInformationByHandle(file, FileDispositionInfo, &dispose, sizeof dispose) != FALSE;
}

// Removes the name at once, even while another program holds the file with
// delete sharing, and a read-only file without touching its attributes: the
// POSIX deletion of Windows 10 1809 and later on NTFS. Refused elsewhere
// (older Windows, FAT, Wine 8), where the classic deletion takes over.
bool DeleteNameAtOnce(HANDLE file) {
  constexpr auto kDispositionInfoEx = FILE_INFO_BY_HANDLE_CLASS(21);  // FileDispositionInfoEx
  constexpr DWORD kDelete = 0x1, kPosixSemantics = 0x2, kIgnoreReadOnly = 0x10;
  struct {
    DWORD flags;
  } dispose = {kDelete | kPosixSemantics | kIgnoreReadOnly};
  return ::SetFileInformationByHandle(file, kDispositionInfoEx, &dispose, sizeof dispose) != FALSE;
}

// The attributes a file had, in the form its basic information takes them back.
DWORD RestorableAttributes(DWORD attributes) {
  const DWORD kept = attributes & kSettableAttributes;
  return kept == 0 ? FILE_ATTRIBUTE_NORMAL : kept;
}

// The classic deletion of a read-only file: reopened to be made archive-only,
// marked for deletion, and given its attributes back, so that its other
// names, or the file itself when it stays, keep them.
DeleteOutcome DeleteReadOnly(Win32Folder& folder, const Text& name, uint64_t checked) {
  DWORD error = ERROR_SUCCESS;
  const win32::UniqueFile file = OpenRelative(
      folder.handle.get(), name, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, FILE_NON_DIRECTORY_FILE, error);
  if (!file) return DeleteOutcome::Kept;
  if (!IsEntryOf(folder, file.get(), name)) return DeleteOutcome::Redirected;
  if (FileIdOf(file.get()) != checked) return DeleteOutcome::Kept;
  // Read before the marking: a name marked for deletion no longer counts.
  const std::optional<DWORD> attributes = AttributesOf(file.get());
  FILE_STANDARD_INFO standard = {};
  if (!attributes || !::GetFileInformationByHandleEx(file.get(), FileStandardInfo, &standard, sizeof standard))
    return DeleteOutcome::Kept;
  const DWORD original = RestorableAttributes(*attributes);
  if (!SetBasicAttributes(file.get(), FILE_ATTRIBUTE_ARCHIVE)) return DeleteOutcome::Kept;
  if (!MarkForDeletion(file.get(), true)) {
    SetBasicAttributes(file.get(), original);
    return DeleteOutcome::Kept;
  }
  // Other names share the attributes: when they cannot have theirs back, the file stays.
  if (!SetBasicAttributes(file.get(), original) && standard.NumberOfLinks > 1) {
    MarkForDeletion(file.get(), false);
    return DeleteOutcome::Kept;
  }
  return DeleteOutcome::Deleted;
}

}  // namespace

DeleteOutcome Win32Platform::DeleteFileIn(OpenFolder& opened, const Text& name) {
  if (!IsPlainEntryName(name)) return DeleteOutcome::Kept;
  Win32Folder& folder = FolderOf(opened);
  // No write access: a file that only the folder's right to delete its
  // entries lets go opens too. Shared for deletion alone at first: where that
  // opens, no other program holds the file for reading or writing, and none
  // can until it is gone, so its name goes at our close whichever deletion
  // the file system offers.
  DWORD error = ERROR_SUCCESS;
  constexpr ACCESS_MASK kAccess = DELETE | FILE_READ_ATTRIBUTES;
  win32::UniqueFile file(
      OpenRelative(folder.handle.get(), name, kAccess, FILE_NON_DIRECTORY_FILE, error, FILE_SHARE_DELETE));
  const bool heldElsewhere = !file && error == ERROR_SHARING_VIOLATION;
  if (heldElsewhere) file = OpenRelative(folder.handle.get(), name, kAccess, FILE_NON_DIRECTORY_FILE, error);
  if (!file) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? DeleteOutcome::Missing
                                                                          : DeleteOutcome::Kept;
  }
  // Wine follows a file link even when asked to open the link itself, and
  // deleting through that handle would delete the link's target.
  if (!IsEntryOf(folder, file.get(), name)) return DeleteOutcome::Redirected;
  if (DeleteNameAtOnce(file.get())) return DeleteOutcome::Deleted;
  // The classic deletion takes the name only at the last close: while another
  // program holds the file (sharing deletion), the name would stay, and that
  // program could still cancel the deletion. The file stays as it is.
  if (heldElsewhere) return DeleteOutcome::Kept;
  if (MarkForDeletion(file.get(), true)) return DeleteOutcome::Deleted;
  const std::optional<DWORD> attributes = AttributesOf(file.get());
  const std::optional<uint64_t> id = FileIdOf(file.get());
  if (!attributes || !id || (*attributes & FILE_ATTRIBUTE_READONLY) == 0) return DeleteOutcome::Kept;
  return DeleteReadOnly(folder, name, *id);  // refused until it is archive-only
}

std::unique_ptr<FolderListing> Win32Platform::ListFolder(OpenFolder& opened, FindEntry& first) {
  auto listing = std::make_unique<HandleListing>(FolderOf(opened).handle.get());
  if (!listing->Next(first)) return nullptr;
  return listing;
}

bool Win32Platform::RemoveFolderIn(OpenFolder& opened, const Text& name) {
  if (!IsPlainEntryName(name)) return false;
  Win32Folder& folder = FolderOf(opened);
  DWORD error = ERROR_SUCCESS;
  win32::UniqueFile child(
      OpenRelative(folder.handle.get(), name, DELETE | FILE_READ_ATTRIBUTES, FILE_DIRECTORY_FILE, error));
  if (!child) return false;
  FILE_BASIC_INFO basic = {};
  if (!::GetFileInformationByHandleEx(child.get(), FileBasicInfo, &basic, sizeof basic) ||
      (basic.FileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_READONLY)) ||
      !IsEntryOf(folder, child.get(), name))
    return false;
  // A folder that still holds anything refuses its deletion.
  FILE_DISPOSITION_INFO dispose = {TRUE};
  return ::SetFileInformationByHandle(child.get(), FileDispositionInfo, &dispose, sizeof dispose) != FALSE;
}

// --- WOW64 file-system redirection ---

bool Win32Platform::DisableWow64Redirection() {
  using Disable = BOOL(WINAPI*)(PVOID*);
  const auto disable = Kernel32Entry<Disable>("Wow64DisableWow64FsRedirection");
  if (!disable) return false;
  PVOID previous = nullptr;  // not kept: switching back always turns redirection on
  return disable(&previous) != FALSE;
}

bool Win32Platform::EnableWow64Redirection() {
  using Enable = BOOLEAN(WINAPI*)(BOOLEAN);
  const auto enable = Kernel32Entry<Enable>("Wow64EnableWow64FsRedirection");
  if (!enable) return false;
  return enable(TRUE) != FALSE;
}

}  // namespace nb
