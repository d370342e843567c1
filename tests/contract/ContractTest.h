// The fixtures of the contract tests: a fresh stage and the Windows layer it
// plays on, and with them the stage's scratch folder.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "contract/ContractStage.h"

namespace nb::contract {

class ContractTest : public testing::Test {
 protected:
  std::unique_ptr<ContractStage> stage = MakeContractStage();
  Platform& os = stage->os();
};

class FolderContractTest : public ContractTest {
 protected:
  Text root = stage->Folder();  // ends with "\"
};

}  // namespace nb::contract
