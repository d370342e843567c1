// The stage a contract test plays on: the same test body runs against the
// simulated machine on Linux and against the real API under Wine. A stage lays
// out files and registry values below its own scratch folder and key, and says
// which situations it cannot set up.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace nb::contract {

class ContractStage {
 public:
  virtual ~ContractStage() = default;
  virtual Platform& os() = 0;
  virtual const char* name() const = 0;
  // A scratch folder, existing and empty, ending with "\".
  virtual Text Folder() = 0;
  // A scratch key below HKEY_CURRENT_USER (no leading backslash), existing and empty.
  virtual Text Key() = 0;

  virtual void MakeFolder(const Text& path) = 0;
  virtual void MakeFile(const Text& path, const std::string& contents, uint32_t attributes = win::kAttrArchive) = 0;
  // A file of `size` bytes that costs no disk space (a sparse file); false when the stage cannot make one.
  virtual bool MakeSizedFile(const Text& path, uint64_t size) = 0;
  virtual void SetRawValue(const Text& keyPath, const Text& name, uint32_t type, const std::vector<uint8_t>& data) = 0;

  // Holds `path` open as another process would, with the given share mode, until
  // ReleaseLock. False when the stage cannot (the test then skips on that stage).
  virtual bool HoldOpen(const Text& path, uint32_t shareMode) = 0;
  virtual void ReleaseLock() = 0;
  // A folder link at `path` to `target`; false when the stage cannot make one.
  virtual bool MakeFolderLink(const Text& path, const Text& target) = 0;
  // Removes a folder link made by MakeFolderLink; its target stays.
  virtual bool RemoveFolderLink(const Text& path) = 0;
  // A file link at `path` to the file `target`; false when the stage cannot make one.
  virtual bool MakeFileLink(const Text& path, const Text& target) = 0;
  // A second name for the file `target`; false when the stage cannot make one.
  virtual bool MakeHardLink(const Text& path, const Text& target) = 0;
};

// Each test executable links exactly one implementation.
std::unique_ptr<ContractStage> MakeContractStage();

}  // namespace nb::contract
