#include "platform/sim/SimPlatform.h"

#include <algorithm>

namespace nb::sim {

namespace {

constexpr uint32_t kKeyWriteBits = 0x0002 | 0x0004 | 0x0020 | 0x10000 | 0x40000 | 0x80000;
constexpr uint32_t kErrorBadPathname = 161;

// FindFirstFileW's wildcard rules as far as the program uses them: "*" any run,
// "?" one character, letters compared ignoring case; "*.*" is every name.
bool WildcardMatch(TextView mask, TextView name) {
  return mask == u"*.*" || MatchesWildcards(mask, name, FoldCase);
}

uint32_t ListedAttributes(const FileNode& node) {
  uint32_t attributes = node.attributes;
  if (node.isFolder) attributes |= winapi::kAttrDirectory;
  if (!node.linkTarget.empty()) attributes |= winapi::kAttrReparsePoint;
  if (attributes == 0) attributes = winapi::kAttrNormal;
  return attributes;
}

class SimListing : public FolderListing {
 public:
  explicit SimListing(std::vector<FindEntry> entries) : entries_(std::move(entries)) {}
  bool Next(FindEntry& entry) override {
    if (next_ >= entries_.size()) return false;
    entry = entries_[next_++];
    return true;
  }

 private:
  std::vector<FindEntry> entries_;
  size_t next_ = 1;  // the first entry went out with FindFirst
};

class SimFile : public OpenFile {
 public:
  explicit SimFile(NodePtr node) : node_(std::move(node)) {}
  uint64_t Size() override { return node_->size; }
  bool Read(std::string& bytes, size_t count) override {
    const auto& data = node_->contents;
    const size_t available = data.size() > position_ ? data.size() - position_ : 0;
    const size_t take = std::min(count, available);
    bytes.append(data, position_, take);
    position_ += take;
    return true;
  }

 private:
  NodePtr node_;
  size_t position_ = 0;
};

class SimKey : public RegistryKey {
 public:
  SimKey(RegNode* node, bool writable) : node_(node), writable_(writable) {}

  uint32_t QueryValue(const Text& name, RegValue& value) override {
    for (auto& v : node_->values)
      if (EqualsIgnoreCase(v.name, name)) {
        value.type = v.type;
        value.data = v.data;
        return winapi::kErrorSuccess;
      }
    return winapi::kErrorFileNotFound;
  }
  uint32_t SetValue(const Text& name, uint32_t type, const std::vector<uint8_t>& data) override {
    if (!writable_) return winapi::kErrorAccessDenied;
    for (auto& v : node_->values)
      if (EqualsIgnoreCase(v.name, name)) {
        v.type = type;
        v.data = data;
        return winapi::kErrorSuccess;
      }
    node_->values.push_back({name, type, data});
    return winapi::kErrorSuccess;
  }
  uint32_t DeleteValue(const Text& name) override {
    if (!writable_) return winapi::kErrorAccessDenied;
    auto& values = node_->values;
    auto it = std::find_if(values.begin(), values.end(), [&](const auto& v) { return EqualsIgnoreCase(v.name, name); });
    if (it == values.end()) return winapi::kErrorFileNotFound;
    values.erase(it);
    return winapi::kErrorSuccess;
  }
  uint32_t QueryInfo(RegKeyInfo& info) override {
    info = {};
    info.subKeyCount = uint32_t(node_->subkeys.size());
    info.valueCount = uint32_t(node_->values.size());
    for (auto& s : node_->subkeys) info.maxSubKeyLength = std::max(info.maxSubKeyLength, uint32_t(s->name.size()));
    for (auto& v : node_->values) info.maxValueNameLength = std::max(info.maxValueNameLength, uint32_t(v.name.size()));
    return winapi::kErrorSuccess;
  }
  uint32_t EnumKey(uint32_t index, Text& name) override {
    if (index >= node_->subkeys.size()) return winapi::kErrorNoMoreItems;
    name = node_->subkeys[index]->name;
    return winapi::kErrorSuccess;
  }
  uint32_t EnumValue(uint32_t index, Text& name) override {
    if (index >= node_->values.size()) return winapi::kErrorNoMoreItems;
    name = node_->values[index].name;
    return winapi::kErrorSuccess;
  }

 private:
  RegNode* node_;
  bool writable_;
};

}  // namespace

std::unique_ptr<FolderListing> SimPlatform::FindFirst(const Text& rawPattern, FindEntry& first) {
  const Text pattern = m_.ApplyFileRedirection(rawPattern);
  const size_t slash = pattern.find_last_of(u"\\/");
  if (slash == Text::npos) return nullptr;
  const Text folder = pattern.substr(0, slash + 1);
  Text mask = pattern.substr(slash + 1);
  const bool hasWildcard = mask.find_first_of(u"*?") != Text::npos;
  // A plain name loses its trailing dots and blanks, as in every path.
  if (!hasWildcard)
    while (!mask.empty() && (mask.back() == u'.' || mask.back() == u' ')) mask.pop_back();
  if (mask.empty()) return nullptr;
  const auto resolved = m_.ResolveFollowing(folder);
  FileNode* node = resolved.node;
  if (!node || !node->isFolder || node->denyListing) return nullptr;

  std::vector<FindEntry> entries;
  const bool isRoot = node->parent.expired();
  if (hasWildcard && !isRoot && WildcardMatch(mask, u"."))
    for (const char16_t* dot : {u".", u".."}) entries.push_back({winapi::kAttrDirectory, 0, dot});
  for (const auto& child : node->children) {
    const bool match = hasWildcard ? WildcardMatch(mask, child->name) : EqualsIgnoreCase(mask, child->name);
    if (match) entries.push_back({ListedAttributes(*child), child->isFolder ? 0 : child->size, child->name});
  }
  if (entries.empty()) return nullptr;
  first = entries.front();
  return std::make_unique<SimListing>(std::move(entries));
}

uint32_t SimPlatform::GetFileAttributes(const Text& path, uint32_t& attributes) {
  attributes = winapi::kInvalidAttributes;
  const auto resolved = m_.Resolve(m_.ApplyFileRedirection(path));
  if (!resolved.node) return resolved.error;
  if (SimMachine::NamesFileAsFolder(path, *resolved.node)) return winapi::kErrorInvalidName;
  attributes = ListedAttributes(*resolved.node);
  return winapi::kErrorSuccess;
}

uint32_t SimPlatform::InspectEntry(const Text& path, EntryInfo& entry) {
  entry = {};
  const auto resolved = m_.Resolve(m_.ApplyFileRedirection(path));
  if (!resolved.node) return resolved.error;
  entry.attributes = ListedAttributes(*resolved.node);
  entry.isLink = !resolved.node->linkTarget.empty();
  if (entry.isLink) entry.owner = resolved.node->owner;
  return winapi::kErrorSuccess;
}

namespace {

// A folder held open keeps its node, as a handle keeps the object it opened.
class SimFolder : public OpenFolder {
 public:
  explicit SimFolder(NodePtr node) : node(std::move(node)) {}
  NodePtr node;
};

FileNode& NodeOf(OpenFolder& folder) { return *static_cast<SimFolder&>(folder).node; }

}  // namespace

uint32_t SimPlatform::OpenFolderAt(const Text& path, std::unique_ptr<OpenFolder>& folder) {
  const auto resolved = m_.ResolveFollowing(m_.ApplyFileRedirection(path));
  if (!resolved.node) {
    return resolved.error;
  }
  if (!resolved.node->isFolder || resolved.node->denyListing) {
    return winapi::kErrorAccessDenied;
  }
  folder = std::make_unique<SimFolder>(m_.Hold(resolved.node));
  return winapi::kErrorSuccess;
}

uint32_t SimPlatform::OpenFolderBelow(OpenFolder& base, const Text& relative, std::unique_ptr<OpenFolder>& folder) {
  const auto names = Split(relative, u'\\');
  FileNode* current = &NodeOf(base);
  for (size_t i = 0; i < names.size(); ++i) {
    // Links on the way are followed; the last name is opened as it is.
    if (!current->linkTarget.empty()) current = m_.ResolveFollowing(current->linkTarget).node;
    if (!current || !current->isFolder || !IsPlainEntryName(names[i])) {
      return winapi::kErrorPathNotFound;
    }
    FileNode* next = SimMachine::ChildNamed(*current, names[i]);
    if (!next) {
      return i + 1 == names.size() ? winapi::kErrorFileNotFound : winapi::kErrorPathNotFound;
    }
    current = next;
  }
  if (!current->isFolder || current->denyListing) {
    return winapi::kErrorAccessDenied;
  }
  folder = std::make_unique<SimFolder>(m_.Hold(current));
  return winapi::kErrorSuccess;
}

bool SimPlatform::IdentifyFolder(OpenFolder& folder, FolderIdentity& identity) {
  const FileNode& node = NodeOf(folder);
  identity.finalPath = m_.PathOf(node);
  identity.volumeSerial = m_.VolumeSerialOf(node);
  identity.fileId = node.id;
  identity.isLink = !node.linkTarget.empty();
  return !identity.finalPath.empty();
}

DeleteOutcome SimPlatform::DeleteFileIn(OpenFolder& folder, const Text& name) {
  FileNode& parent = NodeOf(folder);
  if (!IsPlainEntryName(name) || !parent.linkTarget.empty()) return DeleteOutcome::Kept;
  FileNode* found = SimMachine::ChildNamed(parent, name);
  if (!found) return DeleteOutcome::Missing;
  FileNode& node = *found;
  // A folder (a junction too) does not open as a file; another open that does
  // not share delete refuses ours. A file link goes as the link.
  if (node.isFolder) return DeleteOutcome::Kept;
  if (node.lock && (node.lock->shareMode & winapi::kShareDelete) == 0) return DeleteOutcome::Kept;
  if (node.denyDelete) return DeleteOutcome::Kept;
  if (!node.nameOutlivesDeletion) SimMachine::Detach(node);
  return DeleteOutcome::Deleted;
}

std::unique_ptr<FolderListing> SimPlatform::ListFolder(OpenFolder& folder, FindEntry& first) {
  FileNode& node = NodeOf(folder);
  if (!node.linkTarget.empty() || node.denyListing || m_.PathOf(node).empty()) return nullptr;
  std::vector<FindEntry> entries;
  if (!node.parent.expired())
    for (const char16_t* dot : {u".", u".."}) entries.push_back({winapi::kAttrDirectory, 0, dot});
  for (const auto& child : node.children)
    entries.push_back({ListedAttributes(*child), child->isFolder ? 0 : child->size, child->name});
  if (entries.empty()) return nullptr;
  first = entries.front();
  return std::make_unique<SimListing>(std::move(entries));
}

bool SimPlatform::RemoveFolderIn(OpenFolder& folder, const Text& name) {
  FileNode& parent = NodeOf(folder);
  if (!IsPlainEntryName(name) || !parent.linkTarget.empty()) return false;
  FileNode* node = SimMachine::ChildNamed(parent, name);
  if (!node || !node->isFolder || !node->linkTarget.empty() || node->denyDelete) return false;
  if ((node->attributes & winapi::kAttrReadOnly) || !node->children.empty()) return false;
  SimMachine::Detach(*node);
  return true;
}

uint32_t SimPlatform::OpenForRead(const Text& path, uint32_t share, std::unique_ptr<OpenFile>& file) {
  const auto resolved = m_.ResolveFollowing(m_.ApplyFileRedirection(path));
  if (!resolved.node) {
    return resolved.error;
  }
  if (resolved.node->isFolder || resolved.node->denyListing) {
    return winapi::kErrorAccessDenied;
  }
  if (SimMachine::NamesFileAsFolder(path, *resolved.node)) {
    return winapi::kErrorInvalidName;
  }
  if (const auto& lock = resolved.node->lock) {
    // The other open must allow reading, and our share mode must allow what it does.
    if ((lock->shareMode & winapi::kShareRead) == 0 || (share & winapi::kShareWrite) == 0) {
      return winapi::kErrorSharingViolation;
    }
  }
  file = std::make_unique<SimFile>(m_.Hold(resolved.node));
  return winapi::kErrorSuccess;
}

std::optional<Text> SimPlatform::GetSpecialFolder(int csidl) {
  auto it = m_.specialFolders.find(csidl);
  if (it == m_.specialFolders.end()) return std::nullopt;
  return it->second;
}

std::optional<Text> SimPlatform::GetEnvironmentVariable(const Text& name) {
  for (const auto& [key, value] : m_.environment)
    if (EqualsIgnoreCase(key, name)) return value;
  return std::nullopt;
}

std::optional<Text> SimPlatform::ExpandEnvironmentStrings(const Text& text, uint32_t bufferChars) {
  Text out;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] != u'%') {
      out += text[i++];
      continue;
    }
    const size_t close = text.find(u'%', i + 1);
    if (close == Text::npos) {
      out += text.substr(i);
      break;
    }
    const Text name = text.substr(i + 1, close - i - 1);
    const auto value = name.empty() ? std::nullopt : GetEnvironmentVariable(name);
    if (value) {
      out += *value;
      i = close + 1;
    } else {
      // An undefined variable stays as written, both "%" included.
      out += text.substr(i, close - i + 1);
      i = close + 1;
    }
  }
  if (out.size() + 1 > bufferChars) return std::nullopt;
  return out;
}

Text SimPlatform::GetPrivateProfileString(const Text& section, const Text& key, const Text& fallback,
                                          const Text& file) {
  FileNode* node = m_.ResolveFollowing(file).node;
  if (!node || node->isFolder) return fallback;
  const std::string& bytes = node->contents;
  Text text;
  // A file that breaks the form its mark names is still read, leniently.
  if (DecodeByteOrderMarked(bytes, text) == MarkedText::NoMark) text = DecodeAnsi(bytes);
  // The names asked for are compared without their surrounding blanks; only the
  // first section of a name is searched; a line starting with ";" is no comment
  // but a key nobody asks for; the fallback loses its trailing blanks.
  const Text wantedSection = Trim(section);
  const Text wantedKey = Trim(key);
  Text missing = fallback;
  while (!missing.empty() && missing.back() == u' ') missing.pop_back();
  bool inSection = false;
  for (auto line : Split(text, u'\n')) {
    line = Trim(line);
    if (line.empty()) continue;
    if (line[0] == u'[') {
      if (inSection) break;
      const size_t close = line.find(u']');
      inSection = close != Text::npos && EqualsIgnoreCase(Trim(TextView(line).substr(1, close - 1)), wantedSection);
      continue;
    }
    if (!inSection) continue;
    const size_t eq = line.find(u'=');
    if (eq == Text::npos || !EqualsIgnoreCase(Trim(TextView(line).substr(0, eq)), wantedKey)) continue;
    Text value = Trim(TextView(line).substr(eq + 1));
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    return value;
  }
  return missing;
}

uint32_t SimPlatform::GetLogicalDrives() {
  uint32_t mask = 0;
  for (char16_t letter = u'A'; letter <= u'Z'; ++letter)
    if (m_.Exists(Text(1, letter) + u":\\")) mask |= 1u << (letter - u'A');
  return mask;
}

uint32_t SimPlatform::GetDriveType(const Text& root) {
  if (root.size() < 2 || root[1] != u':') return winapi::kDriveNoRootDir;
  if (!m_.Exists(root.substr(0, 2) + u"\\")) return winapi::kDriveNoRootDir;
  return m_.DriveTypeOf(FoldCase(root[0]));
}

uint32_t SimPlatform::OpenKey(uint32_t root, const Text& path, uint32_t access, std::unique_ptr<RegistryKey>& key) {
  if (StartsWith(path, u"\\")) return kErrorBadPathname;
  RegNode* node = m_.FindKey(root, m_.ApplyRegistryView(root, path, access));
  if (!node) return m_.RegistryRoot(root) ? winapi::kErrorFileNotFound : winapi::kErrorInvalidHandle;
  const bool wantsWrite = (access & kKeyWriteBits) != 0;
  if (node->refuseFullAccess && wantsWrite) return winapi::kErrorAccessDenied;
  key = std::make_unique<SimKey>(node, wantsWrite);
  return winapi::kErrorSuccess;
}

uint32_t SimPlatform::CreateKey(uint32_t root, const Text& path, uint32_t access, std::unique_ptr<RegistryKey>& key) {
  if (StartsWith(path, u"\\")) return kErrorBadPathname;
  if (!m_.RegistryRoot(root)) return winapi::kErrorInvalidHandle;
  const Text viewed = m_.ApplyRegistryView(root, path, access);
  const bool wantsWrite = (access & kKeyWriteBits) != 0;
  // Creating below a key that refuses write access fails like Windows does.
  Text walked;
  for (const auto& part : Split(viewed, u'\\')) {
    if (part.empty()) continue;
    RegNode* existing = m_.FindKey(root, walked + part);
    if (!existing) {
      RegNode* parent = m_.FindKey(root, walked);
      if (parent && parent->refuseFullAccess) return winapi::kErrorAccessDenied;
    }
    walked += part + u"\\";
  }
  RegNode& node = m_.AddKey(root, viewed);
  if (node.refuseFullAccess && wantsWrite) return winapi::kErrorAccessDenied;
  key = std::make_unique<SimKey>(&node, wantsWrite);
  return winapi::kErrorSuccess;
}

bool SimPlatform::DisableWow64Redirection() {
  if (!m_.wow64EntryPointsPresent) return false;
  m_.redirectionDisabled = true;
  return true;
}

bool SimPlatform::EnableWow64Redirection() {
  if (!m_.wow64EntryPointsPresent) return false;
  m_.redirectionDisabled = false;
  return true;
}

std::optional<std::vector<Text>> SimPlatform::ProcessNames() {
  if (m_.snapshotFails) return std::nullopt;
  return m_.processes;
}

uintptr_t SimPlatform::FindWindow(const Text& className, const Text& title) {
  for (const auto& window : m_.windows)
    if (EqualsIgnoreCase(window.className, className) && window.title == title) return window.handle;
  return 0;
}

uint32_t SimPlatform::RegisterWindowMessage(const Text& name) {
  for (const auto& [known, number] : m_.registeredMessages)
    if (EqualsIgnoreCase(known, name)) return number;
  const uint32_t number = 0xC000 + uint32_t(m_.registeredMessages.size());
  m_.registeredMessages[name] = number;
  return number;
}

bool SimPlatform::PostMessage(uintptr_t window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  const bool exists = std::any_of(m_.windows.begin(), m_.windows.end(), [&](const auto& w) { return w.handle == window; });
  if (exists) m_.posted.push_back({window, message, wParam, lParam});
  return exists;
}

}  // namespace nb::sim
