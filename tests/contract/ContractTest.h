// The fixtures of the contract tests: a fresh stage and the Windows layer it
// plays on, and with them the stage's scratch folder.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "contract/ContractStage.h"

// Skips a case whose situation the stage could not set up (`what` it
// cannot do); where the stage sets up everything, the case fails instead.
#define NB_STAGE_CANNOT(what)                                                      \
  do {                                                                             \
    if (stage->SetsUpEverything()) FAIL() << stage->name() << " failed to " << what; \
    GTEST_SKIP() << "stage cannot " << what;                                       \
  } while (false)

namespace nb::contract {

class ContractTest : public testing::Test {
 protected:
  std::unique_ptr<ContractStage> stage = MakeContractStage();
  Platform& os = stage->os();
};

class FolderContractTest : public ContractTest {
 protected:
  Text root = stage->Folder();  // ends with "\"

  // The first bytes of a file; empty when it cannot be read.
  std::string Contents(const Text& path) {
    std::unique_ptr<OpenFile> file;
    std::string bytes;
    if (os.OpenForRead(path, winapi::kShareRead, file) == winapi::kErrorSuccess) file->Read(bytes, 100);
    return bytes;
  }

  // Why `path` does not open for reading with `share`; kErrorSuccess when it does.
  uint32_t OpenForReadError(const Text& path, uint32_t share) {
    std::unique_ptr<OpenFile> file;
    return os.OpenForRead(path, share, file);
  }
};

}  // namespace nb::contract
