// Scan roots reached through links: followed when every link on the way is
// the user's, an administrator's or the system's and leads nowhere the
// program must never clean; refused, like a missing folder, otherwise.
#include "delete/DeleteAll.h"
#include "delete/FolderPurge.h"
#include "scan/FolderScanner.h"
#include "scan/RootTrust.h"
#include "support/ScanFixture.h"

namespace nb::test {
namespace {

const Text kProfile = u"C:\\Users\\Tester\\";
const Text kRoot = u"C:\\ProgramData\\Temp\\";

class RootTrust : public ScanFixture {
 protected:
  RootTrust() {
    machine.AddDrive(u'D', winapi::kDriveFixed);
    machine.AddFolder(u"C:\\Program Files\\App");
    machine.AddFolder(u"C:\\Windows\\System32");
    machine.AddFolder(u"C:\\Windows\\Temp\\sub");
    machine.AddFolder(u"C:\\Users\\Other\\AppData\\Local\\Temp");
    machine.AddFolder(u"C:\\ProgramData");
    state.Loc.WindowsFolder = u"C:\\Windows\\";
    state.Loc.ProgramFilesFolder = u"C:\\Program Files\\";
    state.Loc.ProfileFolder = kProfile;
  }
  // Lays junk in `target` and makes `link` a link to it, owned by `owner`.
  void Link(const Text& link, const Text& target, EntryOwner owner) {
    machine.AddFile(target + u"\\victim.tmp", "keep", winapi::kAttrReadOnly);
    machine.AddFolder(target + u"\\empty");
    machine.AddFolderLink(link, target).owner = owner;
  }
  // Analyze of the root, then Delete all and the purge of it.
  size_t AnalyzeAndDelete(const Text& root) {
    ScanFolder(run, root, u"*.*", true, 1);
    const size_t found = state.Results.Count();
    DeleteStoredFindings(run, Text(16, u'1'));
    PruneEmptyFolders(run, root);
    return found;
  }
};

TEST_F(RootTrust, ARootLinkIsFollowedOnlyWhenItsOwnerIsTrustedAndItLeadsNowhereProtected) {
  struct Case {
    const char* what;
    Text target;
    EntryOwner owner;
    bool followed;
  };
  const std::vector<Case> cases = {
      {"the user's own, to another drive", u"D:\\Temp", EntryOwner::CurrentUser, true},
      {"an administrator's, to a folder on the same drive", u"C:\\RamTemp", EntryOwner::Administrators, true},
      {"the system's", u"D:\\SysTemp", EntryOwner::System, true},
      {"the installer's", u"D:\\InstTemp", EntryOwner::TrustedInstaller, true},
      {"into the user's own application data", kProfile + u"AppData\\Local\\Cache", EntryOwner::CurrentUser, true},
      {"into the Windows folder's Temp", u"C:\\Windows\\Temp\\sub", EntryOwner::Administrators, true},
      {"another user's", u"D:\\Temp2", EntryOwner::Other, false},
      {"nobody knows whose", u"D:\\Temp3", EntryOwner::Unknown, false},
      {"into Documents", kProfile + u"Documents\\thesis", EntryOwner::CurrentUser, false},
      {"onto the Desktop", kProfile + u"Desktop\\photos", EntryOwner::CurrentUser, false},
      {"into Pictures", kProfile + u"Pictures\\2026", EntryOwner::CurrentUser, false},
      {"into Music", kProfile + u"Music\\a", EntryOwner::CurrentUser, false},
      {"into Videos", kProfile + u"Videos\\a", EntryOwner::CurrentUser, false},
      {"into Downloads", kProfile + u"Downloads\\a", EntryOwner::CurrentUser, false},
      {"into Favorites", kProfile + u"Favorites\\a", EntryOwner::CurrentUser, false},
      {"the profile folder itself", u"C:\\Users\\Tester", EntryOwner::CurrentUser, false},
      {"into another user's profile", u"C:\\Users\\Other\\AppData\\Local\\Temp", EntryOwner::Administrators, false},
      {"into the system folder", u"C:\\Windows\\System32", EntryOwner::Administrators, false},
      {"into the program folder", u"C:\\Program Files\\App", EntryOwner::Administrators, false},
      {"a drive's root", u"D:\\", EntryOwner::Administrators, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    state.Results.Clear();
    state.Roots.Clear();
    machine.Remove(u"C:\\ProgramData\\Temp");
    const Text target = c.target.back() == u'\\' ? c.target.substr(0, c.target.size() - 1) : c.target;
    Link(u"C:\\ProgramData\\Temp", target, c.owner);

    const size_t found = AnalyzeAndDelete(kRoot);

    EXPECT_EQ(found, c.followed ? 1u : 0u);
    EXPECT_EQ(machine.Exists(target + u"\\victim.tmp"), !c.followed);
    EXPECT_EQ(machine.Exists(target + u"\\empty"), !c.followed);
    machine.Remove(target + u"\\victim.tmp");
    machine.Remove(target + u"\\empty");
  }
}

TEST_F(RootTrust, EveryLinkOnTheWayCountsAndAMovedProtectedFolderIsKnownWhereItLies) {
  // A folder above the root that another user made a link.
  machine.Remove(u"C:\\ProgramData");
  Link(u"C:\\ProgramData", u"D:\\PD", EntryOwner::Other);
  machine.AddFile(u"D:\\PD\\Temp\\junk.tmp", "x");
  EXPECT_EQ(AnalyzeAndDelete(kRoot), 0u);
  EXPECT_TRUE(machine.Exists(u"D:\\PD\\Temp\\junk.tmp"));

  // Documents moved to D:\Docs and left as the user's own link: a root that
  // leads into D:\Docs leads into Documents.
  machine.Remove(kProfile + u"Documents");
  machine.AddFolder(u"D:\\Docs");
  machine.AddFolderLink(kProfile + u"Documents", u"D:\\Docs");
  state.Results.Clear();
  state.Roots.Clear();
  state.Protected = {};
  Link(u"C:\\Users\\Tester\\AppData\\Local\\Temp", u"D:\\Docs\\work", EntryOwner::CurrentUser);
  EXPECT_EQ(AnalyzeAndDelete(kProfile + u"AppData\\Local\\Temp\\"), 0u);
  EXPECT_TRUE(machine.Exists(u"D:\\Docs\\work\\victim.tmp"));
}

TEST_F(RootTrust, FoldersNamedInsideProtectedPlacesAreScannedWhereTheyLie) {
  // The Windows logs and the thumbnails in Documents are scan roots of their own.
  machine.AddFile(u"C:\\Windows\\setup.log", "log");
  machine.AddFile(kProfile + u"Documents\\pics\\thumbs.db", "db");
  ScanFolder(run, u"C:\\Windows\\", u"*.log", false, 3);
  ScanFolder(run, kProfile + u"Documents\\", u"thumbs.db", true, 12);
  EXPECT_EQ(state.Results.Count(), 2u);
  // A 32-bit process's System32 lies in SysWOW64: redirected by the system, no link.
  machine.wow64Process = true;
  machine.AddFile(u"C:\\Windows\\SysWOW64\\wbem\\Logs\\wmiprov32.log", "log");
  ScanFolder(run, u"C:\\Windows\\System32\\wbem\\Logs\\", u"*.log", false, 3);
  ASSERT_EQ(state.Results.Count(), 3u);
  EXPECT_EQ(EntryAt(state.Results, 2), u"03#C:\\Windows\\System32\\wbem\\Logs\\wmiprov32.log#0.00 KB");
}

}  // namespace
}  // namespace nb::test
