// Sizes beyond 32 bits, on the simulated machine and on the real API.
#include <gtest/gtest.h>

#include "contract/ContractTest.h"

namespace nb::contract {
namespace {

using FileSizeContract = ContractTest;

TEST_F(FileSizeContract, ListingAndOpenFileGiveTheFull64BitSize) {
  constexpr uint64_t kSixGigabytes = 6ull << 30;
  const Text path = stage->Folder() + u"huge.bin";
  if (!stage->MakeSizedFile(path, kSixGigabytes)) NB_STAGE_CANNOT("make a sparse 6 GB file");

  FindEntry entry;
  auto listing = os.FindFirst(stage->Folder() + u"*.*", entry);
  ASSERT_NE(listing, nullptr);
  bool seen = false;
  do
    if (entry.name == u"huge.bin") {
      seen = true;
      EXPECT_EQ(entry.size, kSixGigabytes);
    }
  while (listing->Next(entry));
  EXPECT_TRUE(seen);

  ASSERT_NE(os.FindFirst(path, entry), nullptr);
  EXPECT_EQ(entry.size, kSixGigabytes);
  std::unique_ptr<OpenFile> file;
  ASSERT_EQ(os.OpenForRead(path, winapi::kShareRead | winapi::kShareWrite, file), winapi::kErrorSuccess);
  EXPECT_EQ(file->Size(), kSixGigabytes);
}

}  // namespace
}  // namespace nb::contract
