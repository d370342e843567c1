#include <gtest/gtest.h>

#include "state/ResultEntry.h"
#include "support/SimRun.h"

namespace nb {
namespace {

TEST(ResultsStore, KeepsEachFindingsFieldsInOrderAcrossBlocksAndClosesGaps) {
  struct Finding {
    int section;
    Text subject;
    uint64_t size;
    uint32_t origin;
  };
  std::vector<Finding> expected;
  // Enough text to fill several blocks, and one subject longer than a block.
  for (uint32_t i = 0; i < 3000; ++i)
    expected.push_back({sections::kTemp, u"C:\\Temp\\file" + NumberText(i) + Text(i % 40, u'x'), i * 1000ull, i});
  expected.insert(expected.begin() + 1234, {sections::kWindowsLogs, Text(70000, u'L'), 6ull << 30, 7});
  expected.push_back({sections::kCurrentUserRegistry, u"HKCU\\SOFTWARE\\V=", 14, kNoOrigin});
  ResultStore store;
  // Views taken early, as the results list's rows take them, stay valid while
  // the store grows and loses findings.
  store.Append(expected[0].section, expected[0].subject, expected[0].size, expected[0].origin);
  const TextView early = store.Subject(0);
  for (size_t i = 1; i < expected.size(); ++i)
    store.Append(expected[i].section, expected[i].subject, expected[i].size, expected[i].origin);
  std::vector<bool> keep(expected.size(), true);
  for (size_t index : {0u, 1234u, 2999u}) keep[index] = false;
  store.KeepOnly(keep);
  for (size_t index : {2999u, 1234u, 0u}) expected.erase(expected.begin() + std::ptrdiff_t(index));

  ASSERT_EQ(store.Count(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    ASSERT_EQ(store.Section(i), expected[i].section) << i;
    ASSERT_EQ(store.Subject(i), expected[i].subject) << i;
    ASSERT_EQ(store.Size(i), expected[i].size) << i;
    ASSERT_EQ(store.Origin(i), expected[i].origin) << i;
  }
  EXPECT_EQ(early, u"C:\\Temp\\file0");

  store.Clear();
  EXPECT_TRUE(store.Empty());
  EXPECT_EQ(store.BytesHeld(), 0u);
}

TEST(ResultsStore, EntryTextsAreDerivedFromTheFields) {
  struct Case {
    int section;
    Text subject;
    uint64_t size;
    Text separator, entry;
  };
  const Case cases[] = {
      {sections::kWindowsLogs, u"C:\\Windows\\Logs\\setup.log", 12800, u".", u"03#C:\\Windows\\Logs\\setup.log#12.50 KB"},
      {sections::kEdgeCache, u"C:\\P\\AC\\#!001\\MicrosoftEdge\\Cache\\X1\\a.dat", 1024, u",",
       u"05#C:\\P\\AC\\#!001\\MicrosoftEdge\\Cache\\X1\\a.dat#1,00 KB"},
      {sections::kTemp, u"C:\\T\\empty.tmp", 0, u".", u"01#C:\\T\\empty.tmp#0.00 KB"},
      {sections::kSnagIt, u"C:\\S\\big.png", 1048576, u".", u"14#C:\\S\\big.png#1.00 MB"},
      {sections::kCurrentUserRegistry, u"HKCU\\SOFTWARE\\Vendor\\App=Updater", 14, u",",
       u"15#HKCU\\SOFTWARE\\Vendor\\App=Updater#14 b"},
      {sections::kLocalMachineRegistry, u"HKLM\\SOFTWARE\\Vendor\\App=", 9, u".", u"16#HKLM\\SOFTWARE\\Vendor\\App=#9 b"},
  };
  for (const auto& c : cases) {
    ResultStore store;
    store.Append(c.section, c.subject, c.size);
    EXPECT_EQ(EntryText(store, 0, c.separator), c.entry);
  }
}

// Value names may hold "=" and "#", key names "#": the key ends at the first
// "=". Delete all's test deletes such values through the window; every other
// reader splits them by these rules.
TEST(ResultsStore, RegistrySubjectsSplitAtTheFirstEqualsSign) {
  struct Case {
    Text subject;
    Text root, key, name;
  };
  const Case cases[] = {
      {u"HKCU\\SOFTWARE\\Vendor\\App=Up=dater", u"HKCU", u"SOFTWARE\\Vendor\\App", u"Up=dater"},
      {u"HKCU\\SOFTWARE\\V=a=b#c", u"HKCU", u"SOFTWARE\\V", u"a=b#c"},
      {u"HKCU\\SOFTWARE\\V#x=name=with#hash", u"HKCU", u"SOFTWARE\\V#x", u"name=with#hash"},
      {u"HKLM\\SOFTWARE\\V#x=", u"HKLM", u"SOFTWARE\\V#x", u""},
      {u"HKLM\\SOFTWARE\\V=#=", u"HKLM", u"SOFTWARE\\V", u"#="},
  };
  for (const auto& c : cases) {
    const RegistrySubject value = SplitRegistrySubject(c.subject);
    EXPECT_EQ(value.rootName, c.root) << ToUtf8(c.subject);
    EXPECT_EQ(value.keyPath, c.key) << ToUtf8(c.subject);
    EXPECT_EQ(value.valueName, c.name) << ToUtf8(c.subject);
  }
}

}  // namespace
}  // namespace nb
