// A simulated Windows machine in memory: drives, a case-insensitive file
// system with attributes, numeric 64-bit sizes, small contents, reparse
// points, locks held by other processes, a registry with both views, the
// environment, processes and special folders. Tests build one, then hand it
// to the code under test through the Platform interface.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace nb::sim {

struct FileNode;
using NodePtr = std::shared_ptr<FileNode>;

// A handle held open by another process: what it allows others to do.
struct ForeignLock {
  uint32_t shareMode = 0;  // FILE_SHARE_* of the other process's open
};

struct FileNode {
  uint64_t id = 0;  // the file ID: unique on the machine, never reused
  Text name;
  uint32_t attributes = winapi::kAttrArchive;
  uint64_t size = 0;
  std::string contents;  // small files only; size may exceed it (a "6 GB file")
  bool isFolder = false;
  // Reparse point: the folder or file path it points at (a junction or symlink).
  Text linkTarget;
  EntryOwner owner = EntryOwner::CurrentUser;  // whoever made it
  bool denyListing = false;  // listing fails with access denied
  bool denyDelete = false;   // delete/remove fails with access denied
  // The deletion is granted but the name stays, as when Wine's Unix unlink
  // fails at the last close (an immutable file).
  bool nameOutlivesDeletion = false;
  std::optional<ForeignLock> lock;
  std::vector<NodePtr> children;  // in enumeration order
  std::weak_ptr<FileNode> parent;
};

struct RegValueData {
  Text name;
  uint32_t type = winapi::kRegSz;
  std::vector<uint8_t> data;
};

struct RegNode {
  Text name;
  bool refuseFullAccess = false;  // opening with write access fails with access denied
  std::vector<RegValueData> values;
  std::vector<std::shared_ptr<RegNode>> subkeys;
};

class SimMachine {
 public:
  SimMachine();

  // --- Drives ---
  void AddDrive(char16_t letter, uint32_t driveType);
  uint32_t DriveTypeOf(char16_t letter) const;

  // --- Files. Paths are full paths such as u"C:\\Users\\me\\a.txt". ---
  // Creates the folder and its missing parents.
  FileNode& AddFolder(const Text& path, uint32_t attributes = winapi::kAttrDirectory);
  // Creates a file (and missing parent folders) with the given contents; its size is the contents' length.
  FileNode& AddFile(const Text& path, const std::string& contents = {}, uint32_t attributes = winapi::kAttrArchive);
  // A file whose size is only a number: no bytes are held.
  FileNode& AddSizedFile(const Text& path, uint64_t size, uint32_t attributes = winapi::kAttrArchive);
  // A directory junction / symlink at `path` pointing at `target`.
  FileNode& AddFolderLink(const Text& path, const Text& target);
  FileNode& AddFileLink(const Text& path, const Text& target);
  // The node at `path` itself (a link is not followed at the last component); null if absent.
  FileNode* Find(const Text& path);
  bool Exists(const Text& path) { return Find(path) != nullptr; }
  // Moves the listed children of a folder to the front, in the given order.
  void SetEnumerationOrder(const Text& folder, const std::vector<Text>& names);
  // Removes an entry (and everything below it) as another process would.
  void Remove(const Text& path);
  // What a process does by path, as SetFileAttributesW, DeleteFileW and
  // RemoveDirectoryW do it: the path is read in the process's view of the
  // system folders; a read-only file or folder is not removed, nor a file
  // another process holds open without delete sharing, and a folder is no
  // file. False where the call fails.
  bool SetAttributes(const Text& path, uint32_t attributes);
  bool RemoveFile(const Text& path);
  // An empty folder, or a folder link as the link.
  bool RemoveEmptyFolder(const Text& path);

  // --- Registry ---
  RegNode& AddKey(uint32_t root, const Text& path);
  void SetValue(uint32_t root, const Text& path, const Text& name, uint32_t type, const std::vector<uint8_t>& data);
  void SetString(uint32_t root, const Text& path, const Text& name, const Text& text, uint32_t type = winapi::kRegSz);
  RegNode* FindKey(uint32_t root, const Text& path);
  const RegValueData* FindValue(uint32_t root, const Text& path, const Text& name);
  // A 32-bit process on 64-bit Windows: the default view of HKLM\SOFTWARE is Wow6432Node.
  bool wow64Process = false;

  // --- Identity, folders, environment ---
  std::optional<uint32_t> majorVersion = 10;
  std::optional<Text> userName = u"Tester";
  Text windowsFolder = u"C:\\Windows";
  Text systemFolder = u"C:\\Windows\\System32";
  std::map<int, Text> specialFolders;  // CSIDL -> path; a missing CSIDL fails
  std::map<Text, Text> environment;    // names compared ignoring case
  Text decimalSeparator = u".";
  std::vector<Text> processes;
  bool snapshotFails = false;
  bool wow64EntryPointsPresent = true;
  bool redirectionDisabled = false;  // the calling thread's WOW64 file-system redirection switch
  std::map<Text, uint32_t> registeredMessages;
  struct Window {
    Text className;
    Text title;
    uintptr_t handle;
  };
  std::vector<Window> windows;
  struct PostedMessage {
    uintptr_t window;
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
  };
  std::vector<PostedMessage> posted;
  uint32_t sleptMilliseconds = 0;

  // Sets the usual shell folders of a Windows 10 user below C:\Users\<user>.
  void SetUpStandardUser();

  // --- Internals shared with SimPlatform ---
  struct Resolved {
    FileNode* node = nullptr;
    uint32_t error = winapi::kErrorSuccess;
    bool throughLink = false;  // a component before the last one was a link, and was followed
  };
  // Follows links at every component but the last one.
  Resolved Resolve(const Text& path);
  // Follows links at every component, the last one included.
  Resolved ResolveFollowing(const Text& path);
  // Where a node lies now, "C:\\a\\b" (a drive root is "C:"); empty once it
  // is no longer reachable from its drive's root.
  Text PathOf(const FileNode& node) const;
  // The volume serial number of a node's drive; 0 once it is unreachable.
  uint32_t VolumeSerialOf(const FileNode& node) const;
  // The shared pointer that holds a node, as an open handle keeps it alive.
  NodePtr Hold(FileNode* node) const;
  // The entry of a folder by name, letter case ignored; null when there is none.
  static FileNode* ChildNamed(FileNode& folder, const Text& name);
  // Takes `child` out of its folder, as deleting it does; a handle still
  // holding it sees a node that lies nowhere.
  static void Detach(FileNode& child);
  // A path ending with a separator names a folder: on a file it is an invalid name.
  static bool NamesFileAsFolder(const Text& path, const FileNode& node);
  RegNode* RegistryRoot(uint32_t root);
  Text ApplyRegistryView(uint32_t root, const Text& path, uint32_t access) const;
  Text ApplyFileRedirection(const Text& path) const;

 private:
  NodePtr AddChild(const NodePtr& parent, const Text& name, bool isFolder);
  FileNode& MakePath(const Text& path, bool lastIsFolder);
  const FileNode* DriveRootOf(const FileNode& node) const;
  uint64_t nextId_ = 1;
  std::map<char16_t, uint32_t> drives_;
  std::map<char16_t, NodePtr> driveRoots_;
  std::shared_ptr<RegNode> hkcu_;
  std::shared_ptr<RegNode> hklm_;
};

}  // namespace nb::sim
