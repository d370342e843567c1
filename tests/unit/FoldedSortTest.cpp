#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "ui/EasyListview.h"
#include "ui/FoldedSort.h"

namespace nb::ui {
namespace {

// Texts with long common beginnings, letters in both cases, many equal ones
// and texts that are beginnings of others.
std::vector<Text> SomeTexts(uint32_t seed, size_t count) {
  std::mt19937 rng(seed);
  const Text letters = u"aAbB_z\u00e9\u00c9\\.09";
  const Text prefixes[] = {u"", u"C:\\Users\\Tester\\Temp\\", u"c:\\users\\TESTER\\temp\\x"};
  std::vector<Text> texts;
  for (size_t i = 0; i < count; ++i) {
    Text text = prefixes[rng() % 3];
    for (size_t n = rng() % 6; n > 0; --n) text += letters[rng() % letters.size()];
    texts.push_back(text);
  }
  return texts;
}

TEST(FoldedSort, OrdersAsAStableSortByTheFoldedTexts) {
  for (uint32_t seed = 1; seed <= 20; ++seed) {
    const auto texts = SomeTexts(seed, 3000);
    std::vector<TextView> views(texts.begin(), texts.end());
    std::vector<uint32_t> fast(texts.size()), plain(texts.size());
    std::iota(fast.begin(), fast.end(), 0u);
    std::iota(plain.begin(), plain.end(), 0u);
    SortFolded(fast, views);
    std::stable_sort(plain.begin(), plain.end(),
                     [&](uint32_t a, uint32_t b) { return CompareCellTexts(views[a], views[b]) < 0; });
    ASSERT_EQ(fast, plain) << "seed " << seed;
  }
}

TEST(FoldedSort, ListSortsBothWaysKeepingEqualRowsInTheirOrder) {
  TEasyListview list(nullptr, u"List2");
  list.AddColumn(u"File", 100);
  list.AddColumn(u"Size", 100);
  list.AddGroup(u"Files");
  const auto texts = SomeTexts(7, 2000);
  for (size_t i = 0; i < texts.size(); ++i) list.AddRow(0, texts[i], NumberText(int64_t(i)));
  std::vector<uint32_t> expected(texts.size());
  for (const bool ascending : {true, false}) {
    std::iota(expected.begin(), expected.end(), 0u);
    std::stable_sort(expected.begin(), expected.end(), [&](uint32_t a, uint32_t b) {
      const int c = CompareCellTexts(texts[a], texts[b]);
      return ascending ? c < 0 : c > 0;
    });
    list.SortByColumn(0);  // the second click sorts the other way
    ASSERT_EQ(list.SortAscending(), ascending);
    for (size_t row = 0; row < texts.size(); ++row)
      ASSERT_EQ(list.RowDetail(0, int(row)), NumberText(int64_t(expected[row]))) << row;
  }
}

}  // namespace
}  // namespace nb::ui
