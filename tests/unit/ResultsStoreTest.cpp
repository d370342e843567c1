#include <gtest/gtest.h>

#include "state/ResultStore.h"
#include "support/SimRun.h"

namespace nb {
namespace {

TEST(ResultsStore, KeepsOrderAcrossBlocksAndClosesGapsOnRemoval) {
  ResultStore store;
  std::vector<Text> expected;
  // Enough text to fill several blocks, and one entry longer than a block.
  for (int i = 0; i < 3000; ++i) expected.push_back(u"01#C:\\Temp\\file" + NumberText(i) + Text(i % 40, u'x') + u"#0.00 KB");
  expected.insert(expected.begin() + 1234, u"03#" + Text(70000, u'L') + u"#1.00 KB");
  // Views taken early, as the results list's rows take them, stay valid while
  // the store grows and loses entries.
  store.Append(expected[0]);
  const TextView early = store.View(0);
  for (size_t i = 1; i < expected.size(); ++i) store.Append(expected[i]);
  store.AppendJoined({u"15", u"#", u"HKCU\\SOFTWARE\\V=", u"#", u"14 b"});
  expected.push_back(u"15#HKCU\\SOFTWARE\\V=#14 b");
  for (size_t index : {0u, 1234u, 2999u}) {
    store.RemoveAt(index);
    expected.erase(expected.begin() + std::ptrdiff_t(index));
  }
  ASSERT_EQ(store.Count(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(store.At(i), expected[i]) << i;
  EXPECT_TRUE(store.EntryStartsWith(0, u"01#"));
  EXPECT_EQ(early, u"01#C:\\Temp\\file0#0.00 KB");

  store.Clear();
  EXPECT_TRUE(store.Empty());
  EXPECT_EQ(store.BytesHeld(), 0u);
}

TEST(ResultsStore, EntriesSplitAtTheFirstThreeCharactersAndTheLastHash) {
  struct Case {
    Text entry;
    Text code, subject, size;
  };
  const Case cases[] = {
      {u"03#C:\\Windows\\Logs\\setup.log#12.50 KB", u"03", u"C:\\Windows\\Logs\\setup.log", u"12.50 KB"},
      {u"05#C:\\P\\AC\\#!001\\MicrosoftEdge\\Cache\\X1\\a.dat#1.00 KB", u"05",
       u"C:\\P\\AC\\#!001\\MicrosoftEdge\\Cache\\X1\\a.dat", u"1.00 KB"},
      {u"15#HKCU\\SOFTWARE\\Vendor\\App=Updater#14 b", u"15", u"HKCU\\SOFTWARE\\Vendor\\App=Updater", u"14 b"},
      {u"16#HKLM\\SOFTWARE\\Vendor\\App=#9 b", u"16", u"HKLM\\SOFTWARE\\Vendor\\App=", u"9 b"},
  };
  for (const auto& c : cases) {
    const EntryViews parts = SplitEntryView(c.entry);
    EXPECT_EQ(parts.sectionCode, c.code);
    EXPECT_EQ(parts.subject, c.subject);
    EXPECT_EQ(parts.sizeText, c.size);
  }
}

// Value names may hold "=" and "#", key names "#": the key ends at the first
// "=", the subject at the entry's last "#". Delete all's test deletes such
// values through the window; every other reader splits them by these rules.
TEST(ResultsStore, RegistrySubjectsSplitAtTheFirstEqualsSign) {
  struct Case {
    Text entry;
    Text root, key, name;
  };
  const Case cases[] = {
      {u"15#HKCU\\SOFTWARE\\Vendor\\App=Up=dater#14 b", u"HKCU", u"SOFTWARE\\Vendor\\App", u"Up=dater"},
      {u"15#HKCU\\SOFTWARE\\V=a=b#c#11 b", u"HKCU", u"SOFTWARE\\V", u"a=b#c"},
      {u"15#HKCU\\SOFTWARE\\V#x=name=with#hash#11 b", u"HKCU", u"SOFTWARE\\V#x", u"name=with#hash"},
      {u"16#HKLM\\SOFTWARE\\V#x=#9 b", u"HKLM", u"SOFTWARE\\V#x", u""},
      {u"16#HKLM\\SOFTWARE\\V=#=#9 b", u"HKLM", u"SOFTWARE\\V", u"#="},
  };
  for (const auto& c : cases) {
    const RegistrySubject value = SplitRegistrySubject(Text(SplitEntryView(c.entry).subject));
    EXPECT_EQ(value.rootName, c.root) << ToUtf8(c.entry);
    EXPECT_EQ(value.keyPath, c.key) << ToUtf8(c.entry);
    EXPECT_EQ(value.valueName, c.name) << ToUtf8(c.entry);
  }
}

}  // namespace
}  // namespace nb
