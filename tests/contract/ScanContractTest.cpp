// The folder scanner on the simulated machine and on the real API: what the
// real listing delivers (names without a dot, 64-bit sizes, links to folders)
// turns into the same findings.
#include <gtest/gtest.h>

#include <algorithm>

#include "contract/ContractTest.h"
#include "scan/FolderScanner.h"
#include "support/HostedRun.h"

namespace nb::contract {
namespace {

using ScanContract = FolderContractTest;

TEST_F(ScanContract, FindsEveryFileButNeverWalksThroughALinkToAFolder) {
  const Text scanned = root + u"Scanned\\";
  const Text outside = root + u"Outside\\";
  stage->MakeFolder(scanned);
  stage->MakeFolder(scanned + u"sub");
  stage->MakeFolder(outside);
  stage->MakeFile(scanned + u"README", "1234");
  stage->MakeFile(scanned + u"desktop.ini", "[.ShellClassInfo]");
  stage->MakeFile(scanned + u"sub\\SETUP.LOG", std::string(1536, 'x'), winapi::kAttrHidden | winapi::kAttrReadOnly);
  stage->MakeFile(outside + u"precious.doc", "keep me");
  const bool linked = stage->MakeFolderLink(scanned + u"Link", outside);
  const bool huge = stage->MakeSizedFile(scanned + u"huge.bin", 6ull << 30);

  test::HostedRun scan(os);
  scan.state.Running = true;
  ScanFolder(scan.run, scanned, u"*.*", true, 1);

  std::vector<Text> entries = scan.Entries();
  std::sort(entries.begin(), entries.end());
  std::vector<Text> expected = {u"01#" + scanned + u"README#0.00 KB", u"01#" + scanned + u"sub\\SETUP.LOG#1.50 KB"};
  if (huge) expected.push_back(u"01#" + scanned + u"huge.bin#6144.00 MB");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(entries, expected);
  EXPECT_EQ(scan.state.SectionKbTotals[1], 2 + (huge ? 6291456 : 0));
  if (!linked) NB_STAGE_CANNOT("make a folder link");
}

}  // namespace
}  // namespace nb::contract
