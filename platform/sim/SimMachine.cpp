#include "platform/sim/SimMachine.h"

#include <algorithm>
#include <stdexcept>

namespace nb::sim {

namespace {

constexpr int kMaxLinkHops = 32;

struct ParsedPath {
  char16_t drive = 0;
  std::vector<Text> parts;
  bool valid = false;
  uint32_t error = winapi::kErrorSuccess;  // why a path that is not valid names nothing
};

// Characters no name may hold: the wildcards, "|" and the control characters.
bool HasInvalidCharacter(const Text& path) {
  return std::any_of(path.begin(), path.end(),
                     [](char16_t c) { return c < 0x20 || TextView(u"<>\"|?*").find(c) != TextView::npos; });
}

// "C:\a\\b\.\c\..\d\" -> C, [a, b, d]: the lexical normalisation Win32 applies.
// "/" separates like "\"; a folder name loses one trailing ".", and the last
// name every trailing "." and blank ("file.txt. " is "file.txt").
ParsedPath ParsePath(const Text& rawPath) {
  ParsedPath parsed;
  Text path = rawPath;
  std::replace(path.begin(), path.end(), u'/', u'\\');
  if (HasInvalidCharacter(path)) {
    parsed.error = winapi::kErrorInvalidName;
    return parsed;
  }
  const bool full = path.size() >= 2 && path[1] == u':' && FoldCase(path[0]) >= u'A' && FoldCase(path[0]) <= u'Z' &&
                    (path.size() == 2 || path[2] == u'\\');
  if (!full) {
    // Relative to a current folder that holds nothing.
    parsed.error = path.find(u'\\') == Text::npos && !path.empty() ? winapi::kErrorFileNotFound : winapi::kErrorPathNotFound;
    return parsed;
  }
  parsed.drive = FoldCase(path[0]);
  parsed.valid = true;
  const auto pieces = Split(TextView(path).substr(std::min<size_t>(3, path.size())), u'\\');
  for (size_t i = 0; i < pieces.size(); ++i) {
    Text piece = pieces[i];
    if (piece.empty() || piece == u".") continue;
    if (piece == u"..") {
      if (!parsed.parts.empty()) parsed.parts.pop_back();
      continue;
    }
    if (i + 1 < pieces.size()) {
      if (piece.back() == u'.') piece.pop_back();
    } else {
      while (!piece.empty() && (piece.back() == u'.' || piece.back() == u' ')) piece.pop_back();
      if (piece.empty()) continue;
    }
    parsed.parts.push_back(piece);
  }
  return parsed;
}

}  // namespace

FileNode* SimMachine::ChildNamed(FileNode& folder, const Text& name) {
  for (auto& child : folder.children)
    if (EqualsIgnoreCase(child->name, name)) return child.get();
  return nullptr;
}

bool SimMachine::NamesFileAsFolder(const Text& path, const FileNode& node) {
  return path.size() > 3 && (EndsWith(path, u"\\") || EndsWith(path, u"/")) && !node.isFolder;
}

void SimMachine::Detach(FileNode& child) {
  const auto parent = child.parent.lock();
  if (!parent) return;
  child.parent.reset();
  auto& siblings = parent->children;
  siblings.erase(std::remove_if(siblings.begin(), siblings.end(), [&](const NodePtr& p) { return p.get() == &child; }),
                 siblings.end());
}

SimMachine::SimMachine() : hkcu_(std::make_shared<RegNode>()), hklm_(std::make_shared<RegNode>()) {
  hkcu_->name = u"HKEY_CURRENT_USER";
  hklm_->name = u"HKEY_LOCAL_MACHINE";
}

void SimMachine::AddDrive(char16_t letter, uint32_t driveType) {
  letter = FoldCase(letter);
  drives_[letter] = driveType;
  if (!driveRoots_.count(letter)) {
    auto root = std::make_shared<FileNode>();
    root->name = Text(1, letter) + u":";
    root->id = nextId_++;
    root->isFolder = true;
    root->attributes = winapi::kAttrDirectory;
    driveRoots_[letter] = root;
  }
}

uint32_t SimMachine::DriveTypeOf(char16_t letter) const {
  auto it = drives_.find(FoldCase(letter));
  return it == drives_.end() ? winapi::kDriveNoRootDir : it->second;
}

NodePtr SimMachine::AddChild(const NodePtr& parent, const Text& name, bool isFolder) {
  auto node = std::make_shared<FileNode>();
  node->id = nextId_++;
  node->name = name;
  node->isFolder = isFolder;
  node->attributes = isFolder ? winapi::kAttrDirectory : winapi::kAttrArchive;
  node->parent = parent;
  for (auto& sibling : parent->children)
    if (EqualsIgnoreCase(sibling->name, name)) {
      sibling = node;  // one entry per name: a file replaced by a folder keeps its place
      return node;
    }
  parent->children.push_back(node);
  return node;
}

FileNode& SimMachine::MakePath(const Text& path, bool lastIsFolder) {
  const auto parsed = ParsePath(path);
  if (!parsed.valid) throw std::invalid_argument("sim: not a full path: " + ToUtf8(path));
  if (!driveRoots_.count(parsed.drive)) AddDrive(parsed.drive, winapi::kDriveFixed);
  NodePtr current = driveRoots_[parsed.drive];
  for (size_t i = 0; i < parsed.parts.size(); ++i) {
    const bool last = i + 1 == parsed.parts.size();
    FileNode* existing = ChildNamed(*current, parsed.parts[i]);
    if (existing && (!last || existing->isFolder == lastIsFolder) && (existing->isFolder || last)) {
      for (auto& child : current->children)
        if (child.get() == existing) {
          current = child;
          break;
        }
      continue;
    }
    current = AddChild(current, parsed.parts[i], last ? lastIsFolder : true);
  }
  return *current;
}

FileNode& SimMachine::AddFolder(const Text& path, uint32_t attributes) {
  auto& node = MakePath(path, true);
  node.attributes = attributes | winapi::kAttrDirectory;
  return node;
}

FileNode& SimMachine::AddFile(const Text& path, const std::string& contents, uint32_t attributes) {
  auto& node = MakePath(path, false);
  node.contents = contents;
  node.size = contents.size();
  node.attributes = attributes;
  return node;
}

FileNode& SimMachine::AddSizedFile(const Text& path, uint64_t size, uint32_t attributes) {
  auto& node = MakePath(path, false);
  node.contents.clear();
  node.size = size;
  node.attributes = attributes;
  return node;
}

FileNode& SimMachine::AddFolderLink(const Text& path, const Text& target) {
  auto& node = MakePath(path, true);
  node.children.clear();
  node.linkTarget = target;
  node.attributes = winapi::kAttrDirectory | winapi::kAttrReparsePoint;
  return node;
}

FileNode& SimMachine::AddFileLink(const Text& path, const Text& target) {
  auto& node = MakePath(path, false);
  node.linkTarget = target;
  node.attributes = winapi::kAttrArchive | winapi::kAttrReparsePoint;
  return node;
}

SimMachine::Resolved SimMachine::Resolve(const Text& path) {
  const auto parsed = ParsePath(path);
  if (!parsed.valid) return {nullptr, parsed.error};
  auto rootIt = driveRoots_.find(parsed.drive);
  if (rootIt == driveRoots_.end()) return {nullptr, winapi::kErrorPathNotFound};
  FileNode* current = rootIt->second.get();
  bool throughLink = false;
  for (size_t i = 0; i < parsed.parts.size(); ++i) {
    if (!current->linkTarget.empty()) {
      const auto followed = ResolveFollowing(current->linkTarget);
      if (!followed.node) return {nullptr, winapi::kErrorPathNotFound};
      current = followed.node;
      throughLink = true;
    }
    if (!current->isFolder) return {nullptr, winapi::kErrorPathNotFound};
    FileNode* child = ChildNamed(*current, parsed.parts[i]);
    if (!child) {
      const bool last = i + 1 == parsed.parts.size();
      return {nullptr, last ? winapi::kErrorFileNotFound : winapi::kErrorPathNotFound};
    }
    current = child;
  }
  return {current, winapi::kErrorSuccess, throughLink};
}

SimMachine::Resolved SimMachine::ResolveFollowing(const Text& path) {
  Text current = path;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    auto resolved = Resolve(current);
    if (!resolved.node || resolved.node->linkTarget.empty()) return resolved;
    current = resolved.node->linkTarget;
  }
  return {nullptr, winapi::kErrorPathNotFound};
}

FileNode* SimMachine::Find(const Text& path) { return Resolve(path).node; }

void SimMachine::SetEnumerationOrder(const Text& folder, const std::vector<Text>& names) {
  FileNode* node = Find(folder);
  if (!node) return;
  std::vector<NodePtr> ordered;
  for (const auto& name : names)
    for (auto& child : node->children)
      if (EqualsIgnoreCase(child->name, name)) ordered.push_back(child);
  for (auto& child : node->children)
    if (std::find(ordered.begin(), ordered.end(), child) == ordered.end()) ordered.push_back(child);
  node->children = std::move(ordered);
}

void SimMachine::Remove(const Text& path) {
  if (FileNode* node = Find(path)) Detach(*node);
}

bool SimMachine::SetAttributes(const Text& path, uint32_t attributes) {
  FileNode* node = Resolve(ApplyFileRedirection(path)).node;
  if (!node || NamesFileAsFolder(path, *node)) return false;
  constexpr uint32_t kSettable = 0x1 | 0x2 | 0x4 | 0x20 | 0x100 | 0x1000 | 0x2000;
  const uint32_t kept = node->attributes & (winapi::kAttrDirectory | winapi::kAttrReparsePoint);
  node->attributes = kept | (attributes & kSettable);
  return true;
}

bool SimMachine::RemoveFile(const Text& path) {
  FileNode* node = Resolve(ApplyFileRedirection(path)).node;
  if (!node || node->isFolder || node->denyDelete || NamesFileAsFolder(path, *node)) return false;
  if (node->attributes & winapi::kAttrReadOnly) return false;
  if (node->lock && (node->lock->shareMode & winapi::kShareDelete) == 0) return false;
  Detach(*node);
  return true;
}

bool SimMachine::RemoveEmptyFolder(const Text& path) {
  FileNode* node = Resolve(ApplyFileRedirection(path)).node;
  if (!node || !node->isFolder || node->parent.expired() || node->denyDelete) return false;
  if (node->attributes & winapi::kAttrReadOnly) return false;
  if (node->linkTarget.empty() && !node->children.empty()) return false;
  Detach(*node);
  return true;
}

const FileNode* SimMachine::DriveRootOf(const FileNode& node) const {
  const FileNode* current = &node;
  for (;;) {
    const auto parent = current->parent.lock();
    if (!parent) break;
    const bool listed = std::any_of(parent->children.begin(), parent->children.end(),
                                    [&](const NodePtr& child) { return child.get() == current; });
    if (!listed) return nullptr;
    current = parent.get();
  }
  for (const auto& [letter, root] : driveRoots_)
    if (root.get() == current) return current;
  return nullptr;
}

Text SimMachine::PathOf(const FileNode& node) const {
  if (!DriveRootOf(node)) return {};
  Text path = node.name;
  for (auto parent = node.parent.lock(); parent; parent = parent->parent.lock()) path = parent->name + u"\\" + path;
  return path;
}

uint32_t SimMachine::VolumeSerialOf(const FileNode& node) const {
  const FileNode* root = DriveRootOf(node);
  return root ? 0x1000u + uint32_t(root->name[0]) : 0;
}

NodePtr SimMachine::Hold(FileNode* node) const {
  if (!node) return nullptr;
  if (auto parent = node->parent.lock()) {
    for (const auto& child : parent->children)
      if (child.get() == node) return child;
    return nullptr;
  }
  for (const auto& [letter, root] : driveRoots_)
    if (root.get() == node) return root;
  return nullptr;
}

// --- Registry ---

RegNode* SimMachine::RegistryRoot(uint32_t root) {
  if (root == winapi::kHkeyCurrentUser) return hkcu_.get();
  if (root == winapi::kHkeyLocalMachine) return hklm_.get();
  return nullptr;
}

Text SimMachine::ApplyRegistryView(uint32_t root, const Text& path, uint32_t access) const {
  const bool to32 = (access & winapi::kKeyWow64_32Key) != 0 || (wow64Process && (access & winapi::kKeyWow64_64Key) == 0);
  if (root != winapi::kHkeyLocalMachine || !to32) return path;
  auto parts = Split(path, u'\\');
  if (parts.empty() || !EqualsIgnoreAsciiCase(parts[0], u"SOFTWARE")) return path;
  if (parts.size() > 1 && EqualsIgnoreAsciiCase(parts[1], u"Wow6432Node")) return path;
  Text redirected = parts[0] + u"\\Wow6432Node";
  for (size_t i = 1; i < parts.size(); ++i) redirected += u"\\" + parts[i];
  return redirected;
}

RegNode& SimMachine::AddKey(uint32_t root, const Text& path) {
  RegNode* current = RegistryRoot(root);
  if (!current) throw std::invalid_argument("sim: unknown registry root");
  for (const auto& part : Split(path, u'\\')) {
    if (part.empty()) continue;
    RegNode* next = nullptr;
    for (auto& sub : current->subkeys)
      if (EqualsIgnoreCase(sub->name, part)) next = sub.get();
    if (!next) {
      auto node = std::make_shared<RegNode>();
      node->name = part;
      // Subkeys enumerate in name order, as the Windows registry delivers them.
      auto at = std::find_if(current->subkeys.begin(), current->subkeys.end(),
                             [&](const auto& s) { return FoldCaseText(s->name) > FoldCaseText(part); });
      next = current->subkeys.insert(at, node)->get();
    }
    current = next;
  }
  return *current;
}

RegNode* SimMachine::FindKey(uint32_t root, const Text& path) {
  RegNode* current = RegistryRoot(root);
  if (!current) return nullptr;
  for (const auto& part : Split(path, u'\\')) {
    if (part.empty()) continue;
    RegNode* next = nullptr;
    for (auto& sub : current->subkeys)
      if (EqualsIgnoreCase(sub->name, part)) next = sub.get();
    if (!next) return nullptr;
    current = next;
  }
  return current;
}

void SimMachine::SetValue(uint32_t root, const Text& path, const Text& name, uint32_t type,
                          const std::vector<uint8_t>& data) {
  auto& key = AddKey(root, path);
  for (auto& value : key.values)
    if (EqualsIgnoreCase(value.name, name)) {
      value.type = type;
      value.data = data;
      return;
    }
  key.values.push_back({name, type, data});
}

void SimMachine::SetString(uint32_t root, const Text& path, const Text& name, const Text& text, uint32_t type) {
  SetValue(root, path, name, type, ValueDataFromText(text));
}

const RegValueData* SimMachine::FindValue(uint32_t root, const Text& path, const Text& name) {
  RegNode* key = FindKey(root, path);
  if (!key) return nullptr;
  for (auto& value : key->values)
    if (EqualsIgnoreCase(value.name, name)) return &value;
  return nullptr;
}

Text SimMachine::ApplyFileRedirection(const Text& path) const {
  if (!wow64Process || redirectionDisabled) return path;
  const Text system32 = WithTrailingBackslash(systemFolder);
  if (!StartsWith(FoldCaseText(WithTrailingBackslash(path)), FoldCaseText(system32))) return path;
  const Text sysWow64 = WithTrailingBackslash(windowsFolder) + u"SysWOW64";
  return sysWow64 + path.substr(systemFolder.size());
}

void SimMachine::SetUpStandardUser() {
  AddDrive(u'C', winapi::kDriveFixed);
  const Text user = userName.value_or(u"Tester");
  const Text profile = u"C:\\Users\\" + user;
  specialFolders[winapi::kCsidlAppData] = profile + u"\\AppData\\Roaming";
  specialFolders[winapi::kCsidlLocalAppData] = profile + u"\\AppData\\Local";
  specialFolders[winapi::kCsidlProgramFiles] = u"C:\\Program Files";
  specialFolders[winapi::kCsidlPersonal] = profile + u"\\Documents";
  specialFolders[winapi::kCsidlRecent] = profile + u"\\AppData\\Roaming\\Microsoft\\Windows\\Recent";
  specialFolders[winapi::kCsidlInternetCache] = profile + u"\\AppData\\Local\\Microsoft\\Windows\\INetCache";
  specialFolders[winapi::kCsidlHistory] = profile + u"\\AppData\\Local\\Microsoft\\Windows\\History";
  specialFolders[winapi::kCsidlProfile] = profile;
  specialFolders[winapi::kCsidlDesktopDirectory] = profile + u"\\Desktop";
  specialFolders[winapi::kCsidlMyPictures] = profile + u"\\Pictures";
  specialFolders[winapi::kCsidlMyMusic] = profile + u"\\Music";
  specialFolders[winapi::kCsidlMyVideo] = profile + u"\\Videos";
  specialFolders[winapi::kKnownFolderDownloads] = profile + u"\\Downloads";
  specialFolders[winapi::kCsidlFavorites] = profile + u"\\Favorites";
  for (const auto& [csidl, folder] : specialFolders) AddFolder(folder);
  AddFolder(windowsFolder);
  AddFolder(systemFolder);
  environment[u"PATH"] = systemFolder + u";" + windowsFolder + u";" + systemFolder + u"\\Wbem";
  environment[u"SystemRoot"] = windowsFolder;
  environment[u"windir"] = windowsFolder;
  environment[u"ProgramFiles"] = u"C:\\Program Files";
  environment[u"CommonProgramFiles"] = u"C:\\Program Files\\Common Files";
  environment[u"USERPROFILE"] = profile;
  environment[u"APPDATA"] = specialFolders[winapi::kCsidlAppData];
  environment[u"LOCALAPPDATA"] = specialFolders[winapi::kCsidlLocalAppData];
  environment[u"TEMP"] = profile + u"\\AppData\\Local\\Temp";
}

}  // namespace nb::sim
