// NightBroom.exe end to end on a demo machine, driven as a user would through
// window messages. tools/e2e lays the machine out in a throwaway prefix and
// names the findings it must give in NB_E2E_EXPECTED. The tests run in the
// order written: the first ones need the findings, the last ones delete them.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "wine/E2EDriver.h"
#include "wine/E2EExpected.h"
#include "wine/RemoteList.h"

namespace nb::e2e {
namespace {

using win32::UniqueFile;
using win32::UniqueKey;

constexpr DWORD kRunTimeout = 180000;  // one Analyze or Delete all run, registry walk included
constexpr char kAllSections[] = "1111111111111111";
// The file sections: a fresh prefix holds nothing of its own in them once the
// temporary folders are emptied, so the demo alone decides their findings.
// The registry sections also see the stale values that Wine's own registry holds.
constexpr char kFileSections[] = "1111111111111100";
constexpr char kRegistrySections[] = "0000000000000011";
// Steam alone: three plain files in three folders.
constexpr char kSteam[] = "0000000000001000";

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += c < 128 ? char(c) : '?';
  return out;
}

void SetSectionMask(const std::string& mask) {
  HKEY raw = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Quellmark\\Nightbroom", 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &raw, nullptr),
            ERROR_SUCCESS);
  UniqueKey key(raw);
  const std::wstring value(mask.begin(), mask.end());
  ASSERT_EQ(::RegSetValueExW(key.get(), L"Sections", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             DWORD((value.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
}

DWORD Attributes(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()); }
bool FileExists(const std::wstring& path) {
  const DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}
bool FolderExists(const std::wstring& path) {
  const DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}
int64_t FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (int64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// A file's bytes; empty when it cannot be read.
std::string Content(const std::wstring& path) {
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file.valid()) return {};
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) bytes.append(buffer, got);
  return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  return file.valid() && ::WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

std::string Utf8(const std::wstring& text) {
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(size_t(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

// Has tools/swap-watcher put a link to the swap's target in the place of its
// folder (Wine makes no links of its own) and gives its answer, "ok" when done.
std::string SwapForLink(const Expected::Swap& swap) {
  const std::wstring part = swap.request + L".part";
  ::DeleteFileW(swap.done.c_str());
  if (!WriteFileBytes(part, Utf8(swap.folder + L"\r\n" + swap.target + L"\r\n")) ||
      !::MoveFileExW(part.c_str(), swap.request.c_str(), MOVEFILE_REPLACE_EXISTING))
    return "cannot write the request";
  if (!WaitFor([&] { return FileExists(swap.done); }, 20000)) return "no answer: is tools/swap-watcher running?";
  std::string answer = Content(swap.done);
  ::DeleteFileW(swap.done.c_str());
  while (!answer.empty() && (answer.back() == '\n' || answer.back() == '\r')) answer.pop_back();
  return answer;
}

// The key of a value "HKCU\Key\Path=Name" (an empty name is the key's
// default value), opened in the native view with `access`, and the value's
// name; an empty key when it does not open.
UniqueKey OpenValueKey(const std::wstring& entry, REGSAM access, std::wstring& name) {
  const size_t equals = entry.find(L'=');
  const HKEY root = entry.rfind(L"HKLM\\", 0) == 0 ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  name = entry.substr(equals + 1);
  HKEY raw = nullptr;
  if (::RegOpenKeyExW(root, entry.substr(5, equals - 5).c_str(), 0, access | KEY_WOW64_64KEY, &raw) != ERROR_SUCCESS)
    return UniqueKey();
  return UniqueKey(raw);
}

// Whether the value exists.
bool RegistryValueExists(const std::wstring& entry) {
  std::wstring name;
  const UniqueKey key = OpenValueKey(entry, KEY_QUERY_VALUE, name);
  return key.valid() && ::RegQueryValueExW(key.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

// The raw bytes and type of a value; false when it is not there.
bool ReadRegistryValue(const std::wstring& entry, DWORD& type, std::vector<BYTE>& data) {
  std::wstring name;
  const UniqueKey key = OpenValueKey(entry, KEY_QUERY_VALUE, name);
  DWORD size = 0;
  if (!key.valid() || ::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return false;
  data.assign(size, 0);
  return ::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, data.data(), &size) == ERROR_SUCCESS;
}

// Sets a value, as another program would.
bool WriteRegistryValue(const std::wstring& entry, DWORD type, const std::vector<BYTE>& data) {
  std::wstring name;
  const UniqueKey key = OpenValueKey(entry, KEY_SET_VALUE, name);
  return key.valid() &&
         ::RegSetValueExW(key.get(), name.c_str(), 0, type, data.data(), DWORD(data.size())) == ERROR_SUCCESS;
}

// A value pointed at a live file again, as when a program is reinstalled.
bool Revive(const std::wstring& entry) {
  const std::wstring live = L"C:\\windows\\notepad.exe";
  const auto* bytes = reinterpret_cast<const BYTE*>(live.c_str());
  return WriteRegistryValue(entry, REG_SZ, std::vector<BYTE>(bytes, bytes + (live.size() + 1) * sizeof(wchar_t)));
}

// The status line of a Delete all run after which findings stayed.
std::wstring StayedStatus(int stayed, const std::wstring& reasons) {
  return std::to_wstring(stayed) + L" items could not be deleted and are still listed (" + reasons + L")";
}

// The summary as the Analyze run writes it, with the user's decimal separator.
std::wstring Summary(int count, int64_t kilobytes) {
  wchar_t megabytes[64] = {};
  std::swprintf(megabytes, 64, L"%3.2f", double(kilobytes) / 1024.0);
  wchar_t separator[8] = L".";
  ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
  std::wstring m = megabytes;
  if (const size_t dot = m.find(L'.'); dot != std::wstring::npos) m.replace(dot, 1, separator);
  return L"Total:" + std::to_wstring(count) + L" items found, " + m + L" MB";
}

// N of "Total:N items found, ..."; -1 when the text is not a summary.
int SummaryCount(const std::wstring& text) {
  if (text.rfind(L"Total:", 0) != 0) return -1;
  return std::wcstol(text.c_str() + 6, nullptr, 10);
}

class EndToEnd : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string error;
    expected_ = LoadExpected(error);
    loadError_ = expected_ ? std::string() : (error.empty() ? "NB_E2E_EXPECTED is not set; run through tools/e2e" : error);
  }

  void SetUp() override {
    ASSERT_TRUE(expected_.has_value()) << loadError_;
    ASSERT_EQ(::FindWindowW(L"TForm1", L"Night Broom"), nullptr) << "an instance is already running";
  }

  void Start(const std::string& mask) {
    SetSectionMask(mask);
    std::string error;
    ASSERT_TRUE(program_.Start(error)) << error;
  }

  // The demo's findings must still be there for the tests that read them.
  void RequireDemoFindings() {
    const std::wstring& first = expected_->findings.at("01").front();
    ASSERT_TRUE(FileExists(first)) << Narrow(first)
                                   << " is gone: each test needs a fresh demo machine (tools/e2e gives it one)";
  }

  // Presses "Analyze", returns when the run is over, and gives the summary.
  std::wstring Analyze() {
    const ULONGLONG started = ::GetTickCount64();
    EXPECT_TRUE(Program::ClickAndWait(program_.Analyze(), kRunTimeout)) << "Analyze did not end in time";
    EXPECT_TRUE(program_.Idle());
    const std::wstring summary = TextOf(program_.Summary());
    EXPECT_TRUE(::IsWindowVisible(program_.Summary()));
    EXPECT_EQ(TextOf(program_.Status()), L"");
    std::printf("[   time   ] Analyze: %llu ms, %s\n", ::GetTickCount64() - started, Narrow(summary).c_str());
    return summary;
  }

  // Presses the button twice before the program can take the first click:
  // the second reaches it inside the run it started, as its stop question.
  // Should this test be held up between its two clicks for longer than a run
  // lasts, the second click only starts another run; then it tries again.
  HWND StopQuestion(HWND button, const wchar_t* text) {
    HWND box = nullptr;
    for (int attempt = 1; attempt <= 3 && !box; ++attempt) {
      Program::Click(button);
      Program::Click(button);
      box = program_.WaitForMessageBox(10000);
      if (!box) {
        std::printf("[   note   ] the second click came after the run: again\n");
        EXPECT_TRUE(WaitFor([&] { return program_.Idle(); }, kRunTimeout));
      }
    }
    EXPECT_NE(box, nullptr) << "no stop question";
    if (!box) return nullptr;
    EXPECT_EQ(Program::MessageText(box), text);
    EXPECT_EQ(Program::Caption(box), L"Confirmation");
    EXPECT_NE(::GetDlgItem(box, IDYES), nullptr);
    EXPECT_NE(::GetDlgItem(box, IDNO), nullptr);
    return box;
  }

  static inline std::optional<Expected> expected_;
  static inline std::string loadError_;
  Program program_;
};

// Stop answered No lets the run finish with the total of an undisturbed run;
// a second start during that run brings the minimised window back and ends;
// Stop answered Yes ends the run early with fewer findings.
TEST_F(EndToEnd, StopQuestionNoFinishesTheRunAndYesEndsItEarly) {
  RequireDemoFindings();
  Start(kAllSections);
  const std::wstring full = Analyze();
  const int fullCount = SummaryCount(full);
  ASSERT_GE(fullCount, expected_->Count(kAllSections)) << Narrow(full);
  EXPECT_TRUE(::IsWindowEnabled(program_.DeleteAll()));

  ::ShowWindow(program_.Main(), SW_MINIMIZE);
  ASSERT_TRUE(WaitFor([&] { return ::IsIconic(program_.Main()) != FALSE; }, 5000));
  HWND box = StopQuestion(program_.Analyze(), L"Are you sure you want to cancel scan?");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(TextOf(program_.Analyze()), L"Stop");
  EXPECT_EQ(TextOf(program_.Status()), L"Analyzing. Please wait...");
  EXPECT_FALSE(::IsWindowEnabled(program_.Close()));
  // Closing is refused while the run is busy.
  ::PostMessageW(program_.Main(), WM_CLOSE, 0, 0);
  {
    // A second start while the run waits on its question: the restore request
    // is obeyed by the question's message loop, the newcomer ends by itself.
    Program second;
    std::string error;
    const ULONGLONG started = ::GetTickCount64();
    ASSERT_TRUE(second.Launch(error)) << error;
    EXPECT_TRUE(second.WaitForExit(10000)) << "the second instance did not end";
    EXPECT_LT(::GetTickCount64() - started, 10000u);
    EXPECT_TRUE(WaitFor([&] { return !::IsIconic(program_.Main()); }, 5000)) << "the running instance was not restored";
  }
  ASSERT_TRUE(Program::Answer(box, IDNO));
  ASSERT_TRUE(WaitFor([&] { return program_.Idle(); }, kRunTimeout)) << "the run did not finish after No";
  EXPECT_EQ(TextOf(program_.Summary()), full) << "No changed the run's outcome";
  EXPECT_TRUE(program_.Running()) << "the close request during the run was obeyed";

  box = StopQuestion(program_.Analyze(), L"Are you sure you want to cancel scan?");
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(Program::Answer(box, IDYES));
  ASSERT_TRUE(WaitFor([&] { return program_.Idle(); }, 30000)) << "the run did not end after Yes";
  const std::wstring stopped = TextOf(program_.Summary());
  const int stoppedCount = SummaryCount(stopped);
  std::printf("[   info   ] stopped run: %s\n", Narrow(stopped).c_str());
  EXPECT_TRUE(std::regex_match(stopped, std::wregex(LR"(Total:\d+ items found, \d+[.,]\d\d MB)"))) << Narrow(stopped);
  EXPECT_LT(stoppedCount, fullCount);
  EXPECT_TRUE(::IsWindowVisible(program_.Summary()));
  EXPECT_EQ(TextOf(program_.Analyze()), L"Analyze");
}

// A click on a section fills the results list; a click on a row shows the
// file's first bytes in the memo. The list has no text of its own for other
// processes, so the clicks go to the rows' places.
TEST_F(EndToEnd, SectionAndRowClicksShowAFindingInTheMemo) {
  RequireDemoFindings();
  Start(kAllSections);
  Analyze();
  const ListGeometry list;
  ASSERT_EQ(TextOf(program_.Memo()), L"");
  // "MSN Messenger" (section 10) holds one finding, contacts.cache.
  Program::ClickAt(program_.Sections(), 100, list.SectionMiddle(10));
  ASSERT_TRUE(WaitFor([&] { return program_.Idle(); }, 30000));
  // A click sent from another process overtakes what the window still has
  // queued (a user's clicks never do): click again until the row has answered.
  int clicks = 0;
  WaitFor(
      [&] {
        ++clicks;
        Program::ClickAt(program_.Results(), 200, list.FirstResultMiddle());
        return !TextOf(program_.Memo()).empty();
      },
      5000);
  if (clicks > 1) std::printf("[   note   ] the row answered the click number %d\n", clicks);
  const std::wstring memo = TextOf(program_.Memo());
  EXPECT_EQ(memo.rfind(L"Night Broom demo leftover. Night Broom demo leftover.", 0), 0u) << Narrow(memo);
  // 4000 printable bytes: ten lines of 79 characters and one empty line.
  EXPECT_EQ(memo.size(), 10u * 79u + 10u * 2u) << Narrow(memo);

  // "HKEY_CURRENT_USER" (section 15): a registry row shows the value's text.
  Program::ClickAt(program_.Sections(), 100, list.SectionMiddle(15));
  ASSERT_TRUE(WaitFor([&] { return program_.Idle(); }, 30000));
  EXPECT_EQ(TextOf(program_.Memo()), L"") << "a new section empties the memo";
  Program::ClickAt(program_.Results(), 200, list.FirstResultMiddle());
  const std::wstring value = TextOf(program_.Memo());
  EXPECT_NE(value.find(L":\\"), std::wstring::npos) << Narrow(value);
}

// A registry finding's row shows the text of the value it was found as. The
// walk reads HKEY_LOCAL_MACHINE in the native view, where the 32-bit view is
// the key Wow6432Node; where both views hold a key and value of the same name,
// the row must not show the twin that the process's own view holds.
TEST_F(EndToEnd, RegistryRowsShowTheValueOfTheViewTheyWereFoundIn) {
  ASSERT_FALSE(expected_->registryTexts.empty()) << "the demo machine names no registry rows to show";
  wine::ComApartment com;
  ASSERT_TRUE(com.Ready());
  Start(kRegistrySections);
  Analyze();
  wine::RemoteList sections, results;
  ASSERT_EQ(sections.Open(program_.Sections()), S_OK);
  ASSERT_EQ(results.Open(program_.Results()), S_OK);
  for (const auto& [caption, text] : expected_->registryTexts) {
    const long section = sections.Find(caption.rfind(L"HKLM\\", 0) == 0 ? L"HKEY_LOCAL_MACHINE" : L"HKEY_CURRENT_USER");
    ASSERT_NE(section, 0);
    ASSERT_EQ(sections.DoDefaultAction(section), S_OK);
    ASSERT_TRUE(WaitFor([&] { return program_.Idle(); }, 30000));
    const long row = results.Find(caption);
    ASSERT_NE(row, 0) << Narrow(caption) << " has no row";
    ASSERT_EQ(results.DoDefaultAction(row), S_OK);
    EXPECT_EQ(TextOf(program_.Memo()), text) << Narrow(caption);
  }
}

// Delete checked of two registry rows, one of whose values a program pointed
// at a live file again after Analyze: only the other goes, and is counted.
TEST_F(EndToEnd, DeleteCheckedKeepsAValueRevivedSinceAnalyze) {
  wine::ComApartment com;
  ASSERT_TRUE(com.Ready());
  const auto& userValues = expected_->findings.at("15");
  ASSERT_GE(userValues.size(), 2u);
  const std::wstring revived = userValues[0], stale = userValues[1];
  ASSERT_TRUE(RegistryValueExists(revived)) << Narrow(revived);
  Start(kRegistrySections);
  Analyze();
  wine::RemoteList sections, results;
  ASSERT_EQ(sections.Open(program_.Sections()), S_OK);
  ASSERT_EQ(results.Open(program_.Results()), S_OK);
  const long section = sections.Find(L"HKEY_CURRENT_USER");
  ASSERT_NE(section, 0);
  ASSERT_EQ(sections.DoDefaultAction(section), S_OK);
  ASSERT_TRUE(WaitFor([&] { return program_.Idle(); }, 30000));
  // The rows read "HKCU\SOFTWARE\..." as the walk spells the key it starts from.
  const auto belowSoftware = [](const std::wstring& entry) { return entry.substr(entry.find(L'\\', 5)); };
  const long revivedRow = results.Find(belowSoftware(revived), true);
  const long staleRow = results.Find(belowSoftware(stale), true);
  ASSERT_NE(revivedRow, 0) << Narrow(revived) << " has no row";
  ASSERT_NE(staleRow, 0) << Narrow(stale) << " has no row";
  const std::wstring revivedCaption = results.Name(revivedRow);
  for (long row = 2; row <= results.ChildCount(); ++row) {
    if (row == revivedRow || row == staleRow) continue;
    ASSERT_EQ(results.PutValue(row, L"unchecked"), S_OK);
  }
  ASSERT_TRUE(Revive(revived));

  Program::Click(program_.DeleteChecked());
  HWND box = program_.WaitForMessageBox(10000);
  ASSERT_NE(box, nullptr) << "no question";
  ASSERT_TRUE(Program::Answer(box, IDYES));
  box = program_.WaitForMessageBox(30000);
  ASSERT_NE(box, nullptr) << "no report";
  EXPECT_EQ(Program::MessageText(box), L"1 items have been deleted");
  ASSERT_TRUE(Program::Answer(box, IDOK));
  ASSERT_TRUE(WaitFor([&] { return program_.Idle(); }, 30000));

  EXPECT_EQ(results.Name(revivedRow), revivedCaption) << "the revived value's row was relabelled";
  EXPECT_TRUE(results.Checked(revivedRow));
  EXPECT_EQ(results.Name(staleRow), L"Deleted value " + stale.substr(stale.find(L'=') + 1));
  EXPECT_TRUE(RegistryValueExists(revived)) << Narrow(revived) << " was deleted";
  EXPECT_FALSE(RegistryValueExists(stale)) << Narrow(stale) << " was not deleted";
}

// The registry sections: every stale value of the demo is found and deleted,
// the live ones and those under excluded keys stay.
TEST_F(EndToEnd, DeleteAllOfTheRegistrySectionsRemovesTheStaleValues) {
  Start(kRegistrySections);
  for (const char* code : {"15", "16"})
    for (const std::wstring& value : expected_->findings.at(code))
      ASSERT_TRUE(RegistryValueExists(value)) << Narrow(value) << " is missing before the run";
  const int count = SummaryCount(Analyze());
  EXPECT_GE(count, expected_->Count(kRegistrySections));
  std::printf("[   info   ] registry findings: %d, of which the demo's: %d\n", count,
              expected_->Count(kRegistrySections));

  // A program reinstalled meanwhile points one of the stale values at a live file again.
  const std::wstring revived = expected_->findings.at("15").front();
  ASSERT_TRUE(Revive(revived));
  DWORD revivedType = 0;
  std::vector<BYTE> revivedData;
  ASSERT_TRUE(ReadRegistryValue(revived, revivedType, revivedData));

  ASSERT_TRUE(Program::ClickAndWait(program_.DeleteAll(), kRunTimeout));
  EXPECT_EQ(TextOf(program_.Status()), StayedStatus(1, L"1 changed since Analyze"));
  for (const char* code : {"15", "16"})
    for (const std::wstring& value : expected_->findings.at(code))
      if (value != revived) {
        EXPECT_FALSE(RegistryValueExists(value)) << Narrow(value) << " was not deleted";
      }
  DWORD type = 0;
  std::vector<BYTE> data;
  EXPECT_TRUE(ReadRegistryValue(revived, type, data)) << Narrow(revived) << " was deleted";
  EXPECT_EQ(type, revivedType);
  EXPECT_EQ(data, revivedData);
  for (const std::wstring& value : expected_->registryCanaries)
    EXPECT_TRUE(RegistryValueExists(value)) << Narrow(value) << " was deleted";
  EXPECT_EQ(SummaryCount(Analyze()), count - expected_->Count(kRegistrySections))
      << "a second run finds what the first did not delete, and only that";
}

// Delete checked, steered through the lists' IAccessible as a screen reader
// would: a section's default action fills the results list, one finding is
// unticked with put_accValue, and "Delete checked", confirmed, deletes the
// files of the ticked rows alone and relabels their rows.
TEST_F(EndToEnd, DeleteCheckedThroughTheAccessibleListsLeavesTheUntickedFinding) {
  RequireDemoFindings();
  wine::ComApartment com;
  ASSERT_TRUE(com.Ready());
  const std::vector<std::wstring> files = expected_->findings.at("13");
  ASSERT_EQ(files.size(), 3u);
  const std::wstring& kept = files[1];
  for (const std::wstring& file : files) ASSERT_TRUE(FileExists(file)) << Narrow(file);
  const std::string keptBytes = Content(kept);

  Start(kSteam);
  EXPECT_EQ(Analyze(), Summary(expected_->Count(kSteam), expected_->Kilobytes(kSteam)));
  wine::RemoteList sections, results;
  ASSERT_EQ(sections.Open(program_.Sections()), S_OK);
  ASSERT_EQ(results.Open(program_.Results()), S_OK);
  const long steam = sections.Find(L"Steam");
  ASSERT_NE(steam, 0);
  ASSERT_EQ(sections.DoDefaultAction(steam), S_OK);
  ASSERT_TRUE(WaitFor([&] { return program_.Idle(); }, 30000));
  ASSERT_EQ(results.ChildCount(), 1 + 3) << "the group \"Files\" and its three rows";
  std::vector<long> rows;
  std::vector<std::wstring> sizes;
  for (const std::wstring& file : files) {
    rows.push_back(results.Find(file));
    ASSERT_NE(rows.back(), 0) << Narrow(file) << " has no row";
    EXPECT_TRUE(results.Checked(rows.back())) << Narrow(file);
    sizes.push_back(results.Value(rows.back()));
    EXPECT_NE(sizes.back().find(L" KB"), std::wstring::npos) << Narrow(sizes.back());
  }

  // Unticked through the accessible value; a value other than the two words is refused.
  EXPECT_EQ(results.PutValue(rows[1], L"ticked"), E_INVALIDARG);
  EXPECT_TRUE(results.Checked(rows[1]));
  ASSERT_EQ(results.PutValue(rows[1], L"unchecked"), S_OK);
  EXPECT_FALSE(results.Checked(rows[1]));
  EXPECT_TRUE(results.Checked(rows[0]));
  EXPECT_TRUE(results.Checked(rows[2]));

  Program::Click(program_.DeleteChecked());
  HWND box = program_.WaitForMessageBox(10000);
  ASSERT_NE(box, nullptr) << "no question";
  EXPECT_EQ(Program::MessageText(box), L"Are you sure you want to delete checked items?");
  EXPECT_EQ(Program::Caption(box), L"Confirmation");
  ASSERT_TRUE(Program::Answer(box, IDYES));
  box = program_.WaitForMessageBox(30000);
  ASSERT_NE(box, nullptr) << "no report";
  EXPECT_EQ(Program::MessageText(box), L"2 items have been deleted");
  ASSERT_TRUE(Program::Answer(box, IDOK));
  ASSERT_TRUE(WaitFor([&] { return program_.Idle(); }, 30000));

  EXPECT_FALSE(FileExists(files[0])) << Narrow(files[0]) << " was not deleted";
  EXPECT_FALSE(FileExists(files[2])) << Narrow(files[2]) << " was not deleted";
  EXPECT_EQ(Content(kept), keptBytes) << Narrow(kept) << " was deleted or changed";
  EXPECT_EQ(TextOf(program_.Summary()), L"");

  // The deleted rows stay, ticked, under their new captions; the sizes stay.
  ASSERT_EQ(results.ChildCount(), 1 + 3);
  for (int i : {0, 2}) {
    const std::wstring name = files[size_t(i)].substr(files[size_t(i)].find_last_of(L'\\') + 1);
    EXPECT_EQ(results.Name(rows[size_t(i)]), L"Deleted file " + name);
    EXPECT_TRUE(results.Checked(rows[size_t(i)]));
  }
  EXPECT_EQ(results.Name(rows[1]), kept);
  EXPECT_FALSE(results.Checked(rows[1]));
  for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(results.Value(rows[i]), sizes[i]);
}

// Stop answered Yes at the entry pass's first pump: Delete all ends as a
// stopped run does, and every finding is still on disk.
TEST_F(EndToEnd, StopYesDuringDeleteAllLeavesTheRemainingFindings) {
  RequireDemoFindings();
  Start(kFileSections);
  EXPECT_EQ(Analyze(), Summary(expected_->Count(kFileSections), expected_->Kilobytes(kFileSections)));
  HWND box = StopQuestion(program_.DeleteAll(), L"Are you sure you want to cancel deleting?");
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(Program::Answer(box, IDYES));
  ASSERT_TRUE(WaitFor([&] { return program_.Idle(); }, kRunTimeout)) << "Delete all did not end after Yes";
  // Nothing was reached: every finding stays, and stays listed.
  const int count = expected_->Count(kFileSections);
  EXPECT_EQ(TextOf(program_.Status()),
            StayedStatus(count, std::to_wstring(count) + L" not reached before the run stopped"));
  EXPECT_EQ(TextOf(program_.DeleteAll()), L"Delete");
  EXPECT_TRUE(::IsWindowVisible(program_.Results()));
  for (const auto& [code, paths] : expected_->findings) {
    if (std::stoi(code) > 14) continue;
    for (const std::wstring& path : paths) EXPECT_TRUE(FileExists(path)) << Narrow(path) << " was deleted after Yes";
  }
  for (const std::wstring& folder : expected_->pruned) EXPECT_TRUE(FolderExists(folder)) << Narrow(folder);
}

// The file sections, exactly: the summary counts the demo's findings; after
// Analyze a found temp subfolder is swapped for a link to a canary folder
// holding a file of the same name; Delete all, its stop question answered No,
// removes each finding, prunes the folders they leave empty in the temp
// folders, the recycle bin and the Skype folder, does not follow the link, and
// touches nothing else.
TEST_F(EndToEnd, DeleteAllOfTheFileSectionsRemovesEveryFindingAndNothingElse) {
  RequireDemoFindings();
  const Expected::Swap& swap = expected_->swap;
  ASSERT_FALSE(swap.folder.empty()) << "the demo machine names no folder to swap";
  ASSERT_TRUE(FileExists(swap.finding));
  const std::string canaryBytes = Content(swap.canary);
  const DWORD canaryAttributes = Attributes(swap.canary);
  ASSERT_FALSE(canaryBytes.empty()) << Narrow(swap.canary);
  // A temp folder that was a link before Analyze: its findings go all the same.
  const Expected::Moved& moved = expected_->moved;
  const auto isLink = [](const std::wstring& path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
  };
  ASSERT_TRUE(isLink(moved.link)) << Narrow(moved.link) << " is no link";
  // Roots that lead into the documents and onto the desktop are not followed.
  ASSERT_EQ(expected_->refused.size(), 2u) << "the demo machine names no refused links";
  for (const auto& refused : expected_->refused) ASSERT_TRUE(isLink(refused.link)) << Narrow(refused.link);
  Start(kFileSections);
  EXPECT_EQ(Analyze(), Summary(expected_->Count(kFileSections), expected_->Kilobytes(kFileSections)));
  ASSERT_TRUE(::IsWindowEnabled(program_.DeleteAll()));

  // The found folder becomes a link to the canary folder.
  ASSERT_EQ(SwapForLink(swap), "ok");
  const DWORD swapped = Attributes(swap.folder);
  std::printf("[   info   ] the swapped folder has attributes 0x%lx\n", swapped);
  ASSERT_NE(swapped, INVALID_FILE_ATTRIBUTES);
  ASSERT_TRUE(swapped & FILE_ATTRIBUTE_REPARSE_POINT);
  ASSERT_EQ(Content(swap.finding), canaryBytes) << "the finding's path does not lead to the canary";

  // Another program holds one finding open without delete sharing.
  const std::wstring held = expected_->findings.at("01").front();
  UniqueFile holder(::CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(holder.valid()) << Narrow(held);

  // Stop answered No: the run goes on and deletes everything it can all the same.
  const ULONGLONG started = ::GetTickCount64();
  HWND box = StopQuestion(program_.DeleteAll(), L"Are you sure you want to cancel deleting?");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(TextOf(program_.DeleteAll()), L"Stop");
  EXPECT_EQ(TextOf(program_.Status()), L"Deleting. Please wait...");
  EXPECT_FALSE(::IsWindowEnabled(program_.Analyze()));
  EXPECT_FALSE(::IsWindowEnabled(program_.Close()));
  ASSERT_TRUE(Program::Answer(box, IDNO));
  ASSERT_TRUE(WaitFor([&] { return program_.Idle(); }, kRunTimeout)) << "Delete all did not end in time";
  std::printf("[   time   ] Delete all, with its stop question: %llu ms\n", ::GetTickCount64() - started);
  // What stayed is said, and stays listed: the held file, and the finding
  // whose folder became a link.
  EXPECT_EQ(TextOf(program_.Status()), StayedStatus(2, L"1 in use or access denied, 1 changed since Analyze"));
  EXPECT_EQ(TextOf(program_.DeleteAll()), L"Delete");
  EXPECT_TRUE(::IsWindowEnabled(program_.DeleteAll()));
  EXPECT_FALSE(::IsWindowVisible(program_.Summary()));
  EXPECT_TRUE(::IsWindowVisible(program_.Results()));
  EXPECT_TRUE(FileExists(held)) << Narrow(held);
  {
    wine::ComApartment com;
    ASSERT_TRUE(com.Ready());
    wine::RemoteList sections, results;
    ASSERT_EQ(sections.Open(program_.Sections()), S_OK);
    ASSERT_EQ(results.Open(program_.Results()), S_OK);
    ASSERT_EQ(sections.DoDefaultAction(sections.Find(L"Folders \"Temp\"")), S_OK);
    ASSERT_TRUE(WaitFor([&] { return program_.Idle(); }, 30000));
    EXPECT_EQ(results.ChildCount(), 1 + 2) << "the group and the two findings that stayed";
    EXPECT_NE(results.Find(held), 0) << Narrow(held) << " is not listed";
    EXPECT_NE(results.Find(swap.finding), 0) << Narrow(swap.finding) << " is not listed";
  }
  // Once the other program lets go, "Delete" takes the held file; the
  // swapped folder's finding is refused again.
  holder.reset();
  ASSERT_TRUE(Program::ClickAndWait(program_.DeleteAll(), kRunTimeout));
  EXPECT_EQ(TextOf(program_.Status()), StayedStatus(1, L"1 changed since Analyze"));

  for (const auto& [code, paths] : expected_->findings) {
    if (std::stoi(code) > 14) continue;
    for (const std::wstring& path : paths)
      if (path != swap.finding) {
        EXPECT_FALSE(FileExists(path)) << Narrow(path) << " was not deleted";
      }
  }
  for (const auto& refused : expected_->refused) {
    EXPECT_TRUE(isLink(refused.link)) << Narrow(refused.link);
    EXPECT_TRUE(FolderExists(refused.target)) << Narrow(refused.target);
  }
  // The link was not followed: the canary behind it is as it was.
  EXPECT_EQ(Content(swap.canary), canaryBytes) << Narrow(swap.canary) << " was deleted or changed";
  EXPECT_EQ(Attributes(swap.canary), canaryAttributes) << Narrow(swap.canary);
  for (const std::wstring& path : expected_->canaries) {
    EXPECT_TRUE(FileExists(path)) << Narrow(path) << " was deleted";
    EXPECT_EQ(FileSize(path), expected_->bytes.at(path)) << Narrow(path) << " changed";
  }
  for (const std::wstring& folder : expected_->pruned)
    EXPECT_FALSE(FolderExists(folder)) << Narrow(folder) << " was not pruned";
  for (const std::wstring& folder : expected_->kept) EXPECT_TRUE(FolderExists(folder)) << Narrow(folder) << " is gone";
  EXPECT_TRUE(isLink(moved.link)) << Narrow(moved.link);
  EXPECT_TRUE(FolderExists(moved.target));
  // The link in the temp folder still leads to the documents.
  const DWORD link = Attributes(expected_->link);
  std::printf("[   info   ] the temp folder's link has attributes 0x%lx\n", link);
  EXPECT_TRUE(FileExists(expected_->link + L"\\report.docx"));
  EXPECT_TRUE(FileExists(expected_->link + L"\\Holiday\\beach.jpg"));

  EXPECT_EQ(Analyze(), Summary(0, 0)) << "a second run still finds something";
}

}  // namespace
}  // namespace nb::e2e
