#include "contract/ContractStage.h"
#include "platform/sim/SimPlatform.h"

namespace nb::contract {

namespace {

class SimStage : public ContractStage {
 public:
  SimStage() : os_(machine_) {
    machine_.SetUpStandardUser();
    machine_.AddFolder(u"C:\\Scratch");
    machine_.AddKey(winapi::kHkeyCurrentUser, u"Software\\NightBroomContract");
    machine_.processes = {u"[System Process]", u"System", u"explorer.exe", u"nb_tests"};
    SetUpSixtyFourBitWindows();
  }
  Platform& os() override { return os_; }
  const char* name() const override { return "sim"; }
  bool SetsUpEverything() const override { return false; }
  Text Folder() override { return u"C:\\Scratch\\"; }
  Text Key() override { return u"Software\\NightBroomContract"; }
  void MakeFolder(const Text& path) override { machine_.AddFolder(path); }
  void MakeFile(const Text& path, const std::string& contents, uint32_t attributes) override {
    machine_.AddFile(path, contents, attributes);
  }
  bool MakeSizedFile(const Text& path, uint64_t size) override {
    machine_.AddSizedFile(path, size);
    return true;
  }
  void SetRawValue(const Text& keyPath, const Text& name, uint32_t type, const std::vector<uint8_t>& data) override {
    machine_.SetValue(winapi::kHkeyCurrentUser, keyPath, name, type, data);
  }
  bool SetAttributes(const Text& path, uint32_t attributes) override {
    return machine_.SetAttributes(path, attributes);
  }
  bool RemoveFile(const Text& path) override { return machine_.RemoveFile(path); }
  bool RemoveEmptyFolder(const Text& path) override { return machine_.RemoveEmptyFolder(path); }
  // The folder's node is taken out of its folder and put back under the new
  // name: the same node, its file ID and all it holds.
  bool MoveFolder(const Text& from, const Text& to) override {
    const size_t cut = to.find_last_of(u'\\');
    sim::FileNode* node = machine_.Find(from);
    sim::FileNode* parent = cut == Text::npos ? nullptr : machine_.Find(to.substr(0, cut));
    if (!node || !node->isFolder || !parent || machine_.Exists(to)) return false;
    const sim::NodePtr held = machine_.Hold(node);
    sim::SimMachine::Detach(*node);
    held->name = to.substr(cut + 1);
    held->parent = machine_.Hold(parent);
    parent->children.push_back(held);
    return true;
  }
  bool HoldOpen(const Text& path, uint32_t shareMode) override {
    // Held as a program holds an open file: the file outlives a deletion of its name.
    locked_ = machine_.Hold(machine_.Find(path));
    if (!locked_) return false;
    locked_->lock = sim::ForeignLock{shareMode};
    return true;
  }
  void ReleaseLock() override {
    if (locked_) locked_->lock.reset();
    locked_ = nullptr;
  }
  bool MakeFolderLink(const Text& path, const Text& target) override {
    machine_.AddFolderLink(path, target);
    return true;
  }
  bool RemoveFolderLink(const Text& path) override {
    machine_.Remove(path);
    return true;
  }
  bool MakeFileLink(const Text& path, const Text& target) override {
    machine_.AddFileLink(path, target);
    return true;
  }
  // The simulated file system keeps one name per file.
  bool MakeHardLink(const Text&, const Text&) override { return false; }

  bool BecomeWow64Process() override {
    machine_.wow64Process = true;
    machine_.specialFolders[winapi::kCsidlProgramFiles] = kProgramFilesX86;
    machine_.environment[u"ProgramFiles"] = kProgramFilesX86;
    machine_.environment[u"CommonProgramFiles"] = Text(kProgramFilesX86) + u"\\Common Files";
    return true;
  }
  Text MakeSystemFile(bool native) override {
    const Text name = native ? u"nb-contract-native.dll" : u"nb-contract-wow64.dll";
    const Text folder = native ? machine_.systemFolder : machine_.windowsFolder + u"\\SysWOW64";
    machine_.AddFile(folder + u"\\" + name, "MZ");
    return machine_.systemFolder + u"\\" + name;
  }
  Text MachineKeyName() override { return u"NightBroomContract"; }

 private:
  static constexpr char16_t kProgramFiles[] = u"C:\\Program Files";
  static constexpr char16_t kProgramFilesX86[] = u"C:\\Program Files (x86)";

  // The machine is 64-bit Windows, and the stage a 64-bit process on it until
  // BecomeWow64Process: both program-files folders, the 32-bit system folder,
  // and the variables that name the folders of either kind of process.
  void SetUpSixtyFourBitWindows() {
    const Text x86 = kProgramFilesX86;
    const Text native = kProgramFiles;
    machine_.AddFolder(native + u"\\Common Files");
    machine_.AddFolder(x86 + u"\\Common Files");
    machine_.AddFolder(machine_.windowsFolder + u"\\SysWOW64");
    machine_.environment[u"ProgramFiles"] = native;
    machine_.environment[u"ProgramFiles(x86)"] = x86;
    machine_.environment[u"ProgramW6432"] = native;
    machine_.environment[u"CommonProgramFiles"] = native + u"\\Common Files";
    machine_.environment[u"CommonProgramFiles(x86)"] = x86 + u"\\Common Files";
    machine_.environment[u"CommonProgramW6432"] = native + u"\\Common Files";
  }

  sim::SimMachine machine_;
  sim::SimPlatform os_;
  sim::NodePtr locked_;
};

}  // namespace

std::unique_ptr<ContractStage> MakeContractStage() { return std::make_unique<SimStage>(); }

}  // namespace nb::contract
