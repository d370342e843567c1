#include "contract/ContractStage.h"
#include "platform/sim/SimPlatform.h"

namespace nb::contract {

namespace {

class SimStage : public ContractStage {
 public:
  SimStage() : os_(machine_) {
    machine_.SetUpStandardUser();
    machine_.AddFolder(u"C:\\Scratch");
    machine_.AddKey(win::kHkeyCurrentUser, u"Software\\NightBroomContract");
    machine_.processes = {u"[System Process]", u"System", u"explorer.exe", u"nb_tests"};
  }
  Platform& os() override { return os_; }
  const char* name() const override { return "sim"; }
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
    machine_.SetValue(win::kHkeyCurrentUser, keyPath, name, type, data);
  }
  bool HoldOpen(const Text& path, uint32_t shareMode) override {
    locked_ = machine_.Find(path);
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

 private:
  sim::SimMachine machine_;
  sim::SimPlatform os_;
  sim::FileNode* locked_ = nullptr;
};

}  // namespace

std::unique_ptr<ContractStage> MakeContractStage() { return std::make_unique<SimStage>(); }

}  // namespace nb::contract
