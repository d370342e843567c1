// The contract stage on the real API: a scratch folder below the temporary
// folder and a scratch key below HKEY_CURRENT_USER\Software, both removed with
// everything in them when the stage goes away.
#include "platform/win32/Handles.h"
#include <winioctl.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "contract/ContractStage.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Platform.h"

namespace nb::contract {

namespace {

using win32::FromWide;
using win32::ToWide;

// Empties and removes a folder. A link is removed itself, never entered.
void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW data;
  win32::UniqueFind find(::FindFirstFileW((folder + L"\\*").c_str(), &data));
  if (find) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      const bool isFolder = data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
      const bool isLink = data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT;
      if (isFolder && !isLink) RemoveTree(path);
      else if (isFolder) ::RemoveDirectoryW(path.c_str());
      else ::DeleteFileW(path.c_str());
    } while (::FindNextFileW(find.get(), &data));
  }
  find.reset();
  ::SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::RemoveDirectoryW(folder.c_str());
}

// An export of one of Wine's own modules; null on Windows.
template <typename Function>
Function WineExport(const wchar_t* module, const char* name) {
  HMODULE loaded = ::GetModuleHandleW(module);
  FARPROC entry = loaded ? ::GetProcAddress(loaded, name) : nullptr;
  return entry ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(entry)) : nullptr;
}

bool UnderWine() { return WineExport<void (*)()>(L"ntdll", "wine_get_version") != nullptr; }

// Wine hands out its path texts on the process heap.
struct HeapRelease {
  void operator()(void* block) const { ::HeapFree(::GetProcessHeap(), 0, block); }
};

// The Unix path Wine maps a Windows path to, without a trailing "/"; empty when
// there is none. The last part need not exist.
std::string UnixPathOf(const std::wstring& path) {
  using UnixNameFn = char* (*)(const wchar_t*);
  const auto convert = WineExport<UnixNameFn>(L"kernel32", "wine_get_unix_file_name");
  if (!convert) return {};
  const std::unique_ptr<char, HeapRelease> name(convert(path.c_str()));
  std::string result = name ? name.get() : "";
  while (result.size() > 1 && result.back() == '/') result.pop_back();
  return result;
}

// The Windows path of a Unix program, as CreateProcessW takes it.
std::wstring DosPathOf(const char* unixPath) {
  using DosNameFn = wchar_t* (*)(const char*);
  const auto convert = WineExport<DosNameFn>(L"kernel32", "wine_get_dos_file_name");
  if (!convert) return {};
  const std::unique_ptr<wchar_t, HeapRelease> name(convert(unixPath));
  return name ? std::wstring(name.get()) : std::wstring();
}

// Whether a Unix path holds only letters, digits and "-_.:/" (Wine's paths run
// through "dosdevices/c:"): it goes into a command line unquoted.
bool PlainPath(const std::string& path) {
  return std::all_of(path.begin(), path.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
           c == '.' || c == ':' || c == '/';
  });
}

// The part of `path` below `root` ("a/b"), or empty when `path` is not strictly
// below it, either is not a plain path, or a "." or ".." could climb out.
std::string PartBelow(const std::string& path, const std::string& root) {
  if (root.size() < 2 || root[0] != '/' || !PlainPath(root) || !PlainPath(path) ||
      path.size() <= root.size() + 1 || path.compare(0, root.size(), root) != 0 || path[root.size()] != '/')
    return {};
  const std::string part = path.substr(root.size() + 1);
  for (size_t start = 0; start <= part.size();) {
    const size_t end = std::min(part.find('/', start), part.size());
    const std::string step = part.substr(start, end - start);
    if (step.empty() || step == "." || step == "..") return {};
    start = end + 1;
  }
  return part;
}

// A name no other stage of this or another test process uses.
std::wstring UniqueSuffix() {
  static unsigned counter = 0;
  return std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
}

class Win32Stage : public ContractStage {
 public:
  Win32Stage() {
    const std::wstring suffix = UniqueSuffix();
    wchar_t temp[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    folder_ = std::wstring(temp, length) + L"nb-contract-" + suffix + L"\\";
    ::CreateDirectoryW(folder_.c_str(), nullptr);
    key_ = L"Software\\NightBroomContract-" + suffix;
    win32::UniqueKey key;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                      key.put(), nullptr);
  }

  ~Win32Stage() override {
    ReleaseLock();
    RemoveSystemFiles();
    RemoveMachineKey();
    RemoveUnixLinks();
    RemoveTree(folder_.substr(0, folder_.size() - 1));
    ::RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str());
    ::RegDeleteKeyW(HKEY_CURRENT_USER, key_.c_str());
  }

  Platform& os() override { return os_; }
  const char* name() const override { return "win32"; }
  bool SetsUpEverything() const override { return true; }
  Text Folder() override { return FromWide(folder_.c_str()); }
  Text Key() override { return FromWide(key_.c_str()); }

  void MakeFolder(const Text& path) override {
    // Missing parents first, as the simulated machine does.
    for (size_t at = path.find(u'\\', 3); at != Text::npos; at = path.find(u'\\', at + 1))
      ::CreateDirectoryW(ToWide(path.substr(0, at)).c_str(), nullptr);
    ::CreateDirectoryW(ToWide(path).c_str(), nullptr);
  }

  void MakeFile(const Text& path, const std::string& contents, uint32_t attributes) override {
    {
      win32::UniqueFile file(::CreateFileW(ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
      DWORD written = 0;
      if (file && !contents.empty()) ::WriteFile(file.get(), contents.data(), DWORD(contents.size()), &written, nullptr);
    }
    ::SetFileAttributesW(ToWide(path).c_str(), attributes);
  }

  bool MakeSizedFile(const Text& path, uint64_t size) override {
    // Only the end of the file is set: the Linux file under Wine stays sparse.
    win32::UniqueFile file(::CreateFileW(ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LARGE_INTEGER end;
    end.QuadPart = LONGLONG(size);
    return ::SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file.get());
  }

  void SetRawValue(const Text& keyPath, const Text& name, uint32_t type, const std::vector<uint8_t>& data) override {
    win32::UniqueKey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, ToWide(keyPath).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
      return;
    // Non-NUL bytes after the data: the registry would otherwise add a terminator
    // to a string value stored without one.
    std::vector<uint8_t> padded(data);
    padded.insert(padded.end(), 3, 0xFF);
    ::RegSetValueExW(key.get(), ToWide(name).c_str(), 0, type, padded.data(), DWORD(data.size()));
  }

  bool SetAttributes(const Text& path, uint32_t attributes) override {
    return ::SetFileAttributesW(ToWide(path).c_str(), attributes) != FALSE;
  }
  bool RemoveFile(const Text& path) override { return ::DeleteFileW(ToWide(path).c_str()) != FALSE; }
  bool RemoveEmptyFolder(const Text& path) override { return ::RemoveDirectoryW(ToWide(path).c_str()) != FALSE; }
  bool MoveFolder(const Text& from, const Text& to) override {
    return ::MoveFileW(ToWide(from).c_str(), ToWide(to).c_str()) != FALSE;
  }

  bool HoldOpen(const Text& path, uint32_t shareMode) override {
    // Share modes hold between the handles of one process as between
    // processes. A writer where the file lets one in, a reader otherwise (a
    // read-only file).
    const std::wstring wide = ToWide(path);
    for (const DWORD access : {GENERIC_READ | GENERIC_WRITE, DWORD(GENERIC_READ)}) {
      held_.reset(
          ::CreateFileW(wide.c_str(), access, shareMode, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
      if (held_) return true;
    }
    return false;
  }

  void ReleaseLock() override { held_.reset(); }

  bool MakeFolderLink(const Text& path, const Text& target) override {
    constexpr DWORD kDirectory = 0x1;          // SYMBOLIC_LINK_FLAG_DIRECTORY
    constexpr DWORD kAllowUnprivileged = 0x2;  // SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
    const std::wstring link = ToWide(path);
    if (::CreateSymbolicLinkW(link.c_str(), ToWide(target).c_str(), kDirectory | kAllowUnprivileged) && IsLink(link))
      return true;
    // Wine reports success and makes nothing, and refuses junctions; it lists a
    // Unix link to a folder as a reparse point, so let the system's ln make one.
    if (UnderWine()) return MakeUnixLink(link, ToWide(target), true);
    // Some systems report success and make nothing: try a junction instead.
    return MakeJunction(link, ToWide(target));
  }

  bool RemoveFolderLink(const Text& path) override {
    const std::wstring link = ToWide(path);
    for (auto it = links_.begin(); it != links_.end(); ++it) {
      if (it->path != link) continue;
      if (!RunUnixProgram("/bin/rm", "-f -- " + it->unixPath)) return false;
      for (int tries = 0; tries < 250 && Listed(link); ++tries) ::Sleep(20);
      links_.erase(it);
      return !Listed(link);
    }
    return ::RemoveDirectoryW(link.c_str()) != FALSE;
  }

  bool MakeFileLink(const Text& path, const Text& target) override {
    constexpr DWORD kAllowUnprivileged = 0x2;  // SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
    const std::wstring link = ToWide(path);
    if (::CreateSymbolicLinkW(link.c_str(), ToWide(target).c_str(), kAllowUnprivileged) && IsLink(link)) return true;
    return UnderWine() && MakeUnixLink(link, ToWide(target), false);
  }

  bool MakeHardLink(const Text& path, const Text& target) override {
    return ::CreateHardLinkW(ToWide(path).c_str(), ToWide(target).c_str(), nullptr) != FALSE;
  }

  bool BecomeWow64Process() override {
    BOOL wow64 = FALSE;
    return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
  }

  Text MakeSystemFile(bool native) override {
    if (!BecomeWow64Process()) return {};
    wchar_t system[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    const std::wstring path = std::wstring(system, length) + L"\\nb-contract-" + UniqueSuffix() +
                              (native ? L"-native.dll" : L"-wow64.dll");
    const NativeSystemFolder redirection(native);
    win32::UniqueFile file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return {};
    systemFiles_.push_back({path, native});
    DWORD written = 0;
    ::WriteFile(file.get(), "MZ", 2, &written, nullptr);
    return FromWide(path.c_str());
  }

  Text MachineKeyName() override {
    if (machineKey_.empty()) {
      win32::UniqueKey software;
      if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE", 0, KEY_CREATE_SUB_KEY | KEY_WOW64_64KEY, software.put()) ==
          ERROR_SUCCESS)
        machineKey_ = L"NightBroomContract-" + UniqueSuffix();
    }
    return FromWide(machineKey_.c_str());
  }

 private:
  // The calling thread's WOW64 file-system redirection off for the life of
  // the object (`off`), where there is any to switch.
  class NativeSystemFolder {
   public:
    explicit NativeSystemFolder(bool off) : off_(off && ::Wow64DisableWow64FsRedirection(&previous_)) {}
    ~NativeSystemFolder() {
      if (off_) ::Wow64RevertWow64FsRedirection(previous_);
    }
    NativeSystemFolder(const NativeSystemFolder&) = delete;
    NativeSystemFolder& operator=(const NativeSystemFolder&) = delete;

   private:
    PVOID previous_ = nullptr;
    bool off_;
  };

  void RemoveSystemFiles() {
    for (const auto& file : systemFiles_) {
      const NativeSystemFolder redirection(file.native);
      ::DeleteFileW(file.path.c_str());
    }
    systemFiles_.clear();
  }

  // The scratch machine key goes from both views, whichever the test used.
  void RemoveMachineKey() {
    if (machineKey_.empty()) return;
    for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
      win32::UniqueKey software;
      if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE", 0, KEY_ALL_ACCESS | view, software.put()) != ERROR_SUCCESS)
        continue;
      ::RegDeleteTreeW(software.get(), machineKey_.c_str());
      ::RegDeleteKeyExW(software.get(), machineKey_.c_str(), view, 0);
    }
  }

  static bool IsLink(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
  }

  // Under Wine: a Unix link made by the system's ln. Both ends must lie inside
  // the stage's folder, and the link points there by a relative path, so it
  // cannot reach out of it.
  bool MakeUnixLink(const std::wstring& link, const std::wstring& target, bool folder) {
    if (::GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
    const std::string root = UnixPathOf(folder_.substr(0, folder_.size() - 1));
    const std::string linkPart = PartBelow(UnixPathOf(link), root);
    const std::string targetPart = PartBelow(UnixPathOf(target), root);
    if (linkPart.empty() || targetPart.empty()) return false;
    // From the link's folder up to the stage's folder, then down to the target.
    std::string relative;
    for (const char c : linkPart)
      if (c == '/') relative += "../";
    relative += targetPart;
    const std::string unixLink = root + "/" + linkPart;
    if (!RunUnixProgram("/bin/ln", "-s -T -- " + relative + " " + unixLink)) return false;
    // Wine gives no exit code for a Unix program: look for the link instead.
    for (int tries = 0; tries < 250 && !Listed(link); ++tries) ::Sleep(20);
    if (!Listed(link)) return false;
    links_.push_back({link, unixLink});
    // Wine lists a link to a folder as a reparse point, one to a file as the file.
    const DWORD attributes = ::GetFileAttributesW(link.c_str());
    return !folder || (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
                       (attributes & FILE_ATTRIBUTE_DIRECTORY));
  }

  // Wine cannot remove a Unix link to a folder: the system's rm does, before the
  // rest of the folder goes. rm without -r never removes a folder, and the links
  // were checked to lie inside the stage's folder when they were made.
  void RemoveUnixLinks() {
    if (links_.empty()) return;
    std::string arguments = "-f --";
    for (const auto& link : links_) arguments += " " + link.unixPath;
    if (!RunUnixProgram("/bin/rm", arguments)) return;
    for (const auto& link : links_)
      for (int tries = 0; tries < 250 && Listed(link.path); ++tries) ::Sleep(20);
    links_.clear();
  }

  // Runs a Unix program under Wine straight from here, without a shell, and
  // waits a while for it to end. Wine splits the command line into the Unix argv
  // as Windows programs split theirs: the arguments hold no blanks within one
  // argument, quotes or backslashes.
  static bool RunUnixProgram(const char* program, const std::string& arguments) {
    const std::wstring dosProgram = DosPathOf(program);
    if (dosProgram.empty()) return false;
    const std::string line = std::string(program) + " " + arguments;
    std::wstring commandLine(line.begin(), line.end());
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!::CreateProcessW(dosProgram.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &started))
      return false;
    const win32::UniqueKernel process(started.hProcess);
    const win32::UniqueKernel thread(started.hThread);
    ::WaitForSingleObject(process.get(), 5000);
    return true;
  }

  // Whether the folder listing holds `path`, even as a link whose target is gone.
  static bool Listed(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    return win32::UniqueFind(::FindFirstFileW(path.c_str(), &data)).valid();
  }

  // An empty folder turned into a mount point that names the target.
  static bool MakeJunction(const std::wstring& link, const std::wstring& target) {
    if (!::CreateDirectoryW(link.c_str(), nullptr)) return false;
    bool made = false;
    {
      win32::UniqueFile folder(::CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                             FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
      const std::wstring substitute = L"\\??\\" + target;
      // REPARSE_DATA_BUFFER for a mount point: tag, data length, reserved, then four
      // offsets and lengths in bytes and the two names, each ended by a NUL.
      std::vector<WORD> names(substitute.begin(), substitute.end());
      names.push_back(0);
      names.insert(names.end(), target.begin(), target.end());
      names.push_back(0);
      const WORD substituteBytes = WORD(substitute.size() * 2);
      const WORD printBytes = WORD(target.size() * 2);
      std::vector<WORD> buffer = {0, 0, WORD(8 + names.size() * 2), 0, 0, substituteBytes, WORD(substituteBytes + 2),
                                  printBytes};
      buffer.insert(buffer.end(), names.begin(), names.end());
      const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
      std::memcpy(buffer.data(), &tag, sizeof(tag));
      DWORD returned = 0;
      made = folder && ::DeviceIoControl(folder.get(), FSCTL_SET_REPARSE_POINT, buffer.data(),
                                         DWORD(buffer.size() * 2), nullptr, 0, &returned, nullptr);
    }
    if (made && IsLink(link)) return true;
    ::RemoveDirectoryW(link.c_str());
    return false;
  }

  // A link made under Wine, by its Windows and its Unix path.
  struct UnixLink {
    std::wstring path;
    std::string unixPath;
  };

  // A file made in one of the system folders.
  struct SystemFile {
    std::wstring path;
    bool native;
  };

  Win32Platform os_;
  std::wstring folder_;
  std::vector<UnixLink> links_;
  std::wstring key_;
  win32::UniqueFile held_;
  std::vector<SystemFile> systemFiles_;
  std::wstring machineKey_;
};

}  // namespace

std::unique_ptr<ContractStage> MakeContractStage() { return std::make_unique<Win32Stage>(); }

}  // namespace nb::contract
