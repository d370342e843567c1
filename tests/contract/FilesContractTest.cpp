// The file operations of the Windows layer, on the simulated machine and on the real API.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <utility>

#include "contract/ContractTest.h"

namespace nb::contract {
namespace {

class FilesContract : public FolderContractTest {
 protected:

  std::map<std::string, FindEntry> List(const Text& pattern) {
    std::map<std::string, FindEntry> entries;
    FindEntry entry;
    auto listing = os.FindFirst(pattern, entry);
    if (!listing) return entries;
    do entries[ToUtf8(entry.name)] = entry;
    while (listing->Next(entry));
    return entries;
  }
};

TEST_F(FilesContract, ListingYieldsEveryEntryWithAttributesAndSizes) {
  stage->MakeFile(root + u"README", "no dot");
  stage->MakeFile(root + u"hidden.tmp", "hh", winapi::kAttrHidden);
  stage->MakeFile(root + u"system.log", "sss", winapi::kAttrSystem | winapi::kAttrReadOnly);
  stage->MakeFolder(root + u"Sub");
  stage->MakeFile(root + u"Sub\\inner.txt", "12345");

  const auto entries = List(root + u"*.*");
  ASSERT_EQ(entries.size(), 6u) << "README, hidden.tmp, system.log, Sub, . and ..";
  EXPECT_TRUE(entries.count("."));
  EXPECT_TRUE(entries.count(".."));
  EXPECT_EQ(entries.at("README").size, 6u);
  EXPECT_TRUE(entries.at("hidden.tmp").attributes & winapi::kAttrHidden);
  EXPECT_TRUE(entries.at("system.log").attributes & winapi::kAttrSystem);
  EXPECT_TRUE(entries.at("system.log").attributes & winapi::kAttrReadOnly);
  EXPECT_TRUE(entries.at("Sub").attributes & winapi::kAttrDirectory);
  EXPECT_FALSE(entries.at("README").attributes & winapi::kAttrDirectory);
}

TEST_F(FilesContract, ListingOfOneFileGivesItsEntryAndAMissingOneNothing) {
  stage->MakeFile(root + u"Cookies-journal", std::string(10240, 'x'));
  const auto entries = List(root + u"Cookies-journal");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries.begin()->second.size, 10240u);
  FindEntry entry;
  EXPECT_EQ(os.FindFirst(root + u"absent.txt", entry), nullptr);
  EXPECT_EQ(os.FindFirst(root + u"NoSuchFolder\\*.*", entry), nullptr);
}

TEST_F(FilesContract, NamesCompareIgnoringCase) {
  stage->MakeFile(root + u"MiXeD.TxT", "m");
  EXPECT_TRUE(FileExists(os, root + u"mixed.txt"));
  EXPECT_TRUE(FileExists(os, root + u"MIXED.TXT"));
}

TEST_F(FilesContract, AttributesTellFilesFoldersAndWhyAPathIsMissing) {
  stage->MakeFolder(root + u"Folder");
  stage->MakeFile(root + u"file.txt", "f");
  EXPECT_TRUE(FolderExists(os, root + u"Folder"));
  EXPECT_TRUE(FolderExists(os, root + u"Folder\\"));
  EXPECT_FALSE(FileExists(os, root + u"Folder"));
  EXPECT_TRUE(FileExists(os, root + u"file.txt"));
  EXPECT_FALSE(FolderExists(os, root + u"file.txt"));

  uint32_t attributes = 0;
  EXPECT_EQ(os.GetFileAttributes(root + u"nothing.txt", attributes), winapi::kErrorFileNotFound);
  EXPECT_EQ(attributes, winapi::kInvalidAttributes);
  EXPECT_EQ(os.GetFileAttributes(root + u"nowhere\\nothing.txt", attributes), winapi::kErrorPathNotFound);
  EXPECT_EQ(attributes, winapi::kInvalidAttributes);
}

TEST_F(FilesContract, OpenForReadGivesSizeAndBytes) {
  const Text path = root + u"hello.txt";
  stage->MakeFile(path, "Hello\r\nWorld");
  std::unique_ptr<OpenFile> file;
  ASSERT_EQ(os.OpenForRead(path, winapi::kShareRead | winapi::kShareWrite, file), winapi::kErrorSuccess);
  EXPECT_EQ(file->Size(), 12u);
  std::string bytes;
  ASSERT_TRUE(file->Read(bytes, 100));
  EXPECT_EQ(bytes, "Hello\r\nWorld");
  EXPECT_EQ(OpenForReadError(root + u"absent", winapi::kShareRead), winapi::kErrorFileNotFound);
}

TEST_F(FilesContract, FileHeldWithoutReadSharingCannotBeOpened) {
  const Text path = root + u"exclusive.dat";
  stage->MakeFile(path, "mine");
  if (!stage->HoldOpen(path, 0)) NB_STAGE_CANNOT("hold a file open");
  EXPECT_EQ(OpenForReadError(path, winapi::kShareRead | winapi::kShareWrite), winapi::kErrorSharingViolation);
  EXPECT_TRUE(FileExists(os, path)) << "attributes stay readable";
  stage->ReleaseLock();
}

TEST_F(FilesContract, FolderLinkListsItsTargetAndShowsAsReparsePoint) {
  stage->MakeFolder(root + u"Target");
  stage->MakeFile(root + u"Target\\precious.doc", "p");
  if (!stage->MakeFolderLink(root + u"Link", root + u"Target")) NB_STAGE_CANNOT("make a folder link");
  uint32_t attributes = 0;
  ASSERT_EQ(os.GetFileAttributes(root + u"Link", attributes), winapi::kErrorSuccess);
  EXPECT_TRUE(attributes & winapi::kAttrDirectory);
  EXPECT_TRUE(attributes & winapi::kAttrReparsePoint);
  EXPECT_TRUE(List(root + u"Link\\*.*").count("precious.doc"));
  EXPECT_TRUE(List(root + u"*.*").at("Link").attributes & winapi::kAttrReparsePoint);
}

TEST_F(FilesContract, InspectEntryTellsTheEntryItselfAndALinkAsTheLink) {
  stage->MakeFolder(root + u"Folder");
  stage->MakeFile(root + u"Folder\\file.txt", "f", winapi::kAttrHidden);
  const bool linked = stage->MakeFolderLink(root + u"Link", root + u"Folder");
  constexpr uint32_t folder = winapi::kAttrDirectory, link = winapi::kAttrDirectory | winapi::kAttrReparsePoint;
  const struct {
    const char16_t* path;
    uint32_t kind;  // the directory and reparse-point marks
  } entries[] = {
      {u"Folder", folder}, {u"Folder\\", folder}, {u"Folder\\file.txt", 0},
      {u"Link", link},     {u"Link\\file.txt", 0},
  };
  for (const auto& e : entries) {
    const Text path = root + e.path;
    if (!linked && StartsWith(e.path, u"Link")) continue;
    EntryInfo entry;
    ASSERT_EQ(os.InspectEntry(path, entry), winapi::kErrorSuccess) << ToUtf8(path);
    EXPECT_EQ(entry.attributes, AttributesOf(os, path)) << ToUtf8(path);
    EXPECT_EQ(entry.attributes & link, e.kind) << ToUtf8(path);
    EXPECT_EQ(entry.isLink, e.kind == link) << ToUtf8(path);
    if (!entry.isLink) {
      EXPECT_EQ(entry.owner, EntryOwner::Unknown) << "asked only of a link";
    } else {
      // The test process made the link: it is its own, or an administrator's.
      EXPECT_TRUE(entry.owner == EntryOwner::CurrentUser || entry.owner == EntryOwner::Administrators ||
                  entry.owner == EntryOwner::System || entry.owner == EntryOwner::TrustedInstaller)
          << int(entry.owner);
    }
  }

  // A drive's root is a folder, never a link.
  EntryInfo drive;
  ASSERT_EQ(os.InspectEntry(root.substr(0, 3), drive), winapi::kErrorSuccess);
  EXPECT_TRUE(drive.attributes & winapi::kAttrDirectory);
  EXPECT_FALSE(drive.isLink);

  for (const auto& [path, why] : {std::pair{u"absent.txt", winapi::kErrorFileNotFound},
                                  std::pair{u"nowhere\\absent.txt", winapi::kErrorPathNotFound}}) {
    EntryInfo entry;
    EXPECT_EQ(os.InspectEntry(root + path, entry), why) << ToUtf8(path);
  }
  if (!linked) NB_STAGE_CANNOT("make a folder link");
}

}  // namespace
}  // namespace nb::contract
