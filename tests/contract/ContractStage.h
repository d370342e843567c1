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
  // Whether the stage can set up every situation below: the real API can,
  // so a case it cannot set up there fails instead of skipping.
  virtual bool SetsUpEverything() const = 0;
  // A scratch folder, existing and empty, ending with "\".
  virtual Text Folder() = 0;
  // A scratch key below HKEY_CURRENT_USER (no leading backslash), existing and empty.
  virtual Text Key() = 0;

  virtual void MakeFolder(const Text& path) = 0;
  virtual void MakeFile(const Text& path, const std::string& contents, uint32_t attributes = winapi::kAttrArchive) = 0;
  // A file of `size` bytes that costs no disk space (a sparse file); false when the stage cannot make one.
  virtual bool MakeSizedFile(const Text& path, uint64_t size) = 0;
  virtual void SetRawValue(const Text& keyPath, const Text& name, uint32_t type, const std::vector<uint8_t>& data) = 0;
  // Changes by path, as another program makes them: SetFileAttributesW,
  // DeleteFileW (a read-only file stays) and RemoveDirectoryW (only an empty
  // folder goes). False where the call fails.
  virtual bool SetAttributes(const Text& path, uint32_t attributes) = 0;
  virtual bool RemoveFile(const Text& path) = 0;
  virtual bool RemoveEmptyFolder(const Text& path) = 0;
  // Moves the folder at `from`, with all it holds, to `to` in the same
  // folder (MoveFileW): it stays the same folder under its new name.
  virtual bool MoveFolder(const Text& from, const Text& to) = 0;

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

  // --- A 32-bit process on 64-bit Windows, as the program that ships runs ---
  // Makes the stage's process one: the simulated machine turns into one (the
  // program-files folder, environment, registry view and file redirection of
  // a 32-bit process); on the real API the test process must be one already.
  // False when it is not (the 64-bit test build).
  virtual bool BecomeWow64Process() = 0;
  // A new file in one of the two system folders, the native System32
  // (`native`) or the 32-bit one (SysWOW64), removed with the stage. Its path
  // names the folder as GetSystemDirectoryW does; empty when the stage cannot
  // write there.
  virtual Text MakeSystemFile(bool native) = 0;
  // A name for a scratch key right below HKEY_LOCAL_MACHINE\SOFTWARE, made by
  // the test in either view and removed from both with the stage; empty when
  // the stage cannot write there (no administrator rights).
  virtual Text MachineKeyName() = 0;
};

// Each test executable links exactly one implementation.
std::unique_ptr<ContractStage> MakeContractStage();

}  // namespace nb::contract
