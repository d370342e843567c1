#include "ui/FoldedSort.h"

#include <algorithm>
#include <utility>

namespace nb::ui {

namespace {

// Below this many texts a plain sort from the current depth is faster.
constexpr size_t kSmall = 16;
// Characters a key holds, and the bits of each.
constexpr size_t kKeyChars = 3;
constexpr int kCharBits = 21;
constexpr uint64_t kCharMask = (uint64_t(1) << kCharBits) - 1;

// A text to sort: where it stood in the order, and the next few characters
// from the depth the sort has reached, so that partitioning reads memory in
// sequence instead of jumping to a text for every character.
struct Item {
  uint64_t key;
  uint32_t index;
};

class FoldedSorter {
 public:
  FoldedSorter(std::vector<uint32_t>& order, const std::vector<TextView>& texts) : order_(order), texts_(texts) {
    // Equal texts keep their order: remember where each index stood.
    rank_.resize(texts.size());
    items_.resize(order.size());
    for (size_t i = 0; i < order.size(); ++i) {
      rank_[order[i]] = uint32_t(i);
      items_[i] = {0, order[i]};
    }
  }

  void Sort() {
    Sort(0, items_.size());
    for (size_t i = 0; i < items_.size(); ++i) order_[i] = items_[i].index;
  }

 private:
  // The characters at `depth` onwards, folded, each one more than its code,
  // 0 past the end: keys order as the characters do.
  uint64_t KeyAt(uint32_t index, size_t depth) const {
    const TextView text = texts_[index];
    uint64_t key = 0;
    for (size_t i = depth; i < depth + kKeyChars; ++i)
      key = (key << kCharBits) | (i < text.size() ? uint64_t(FoldCase(text[i])) + 1 : 0);
    return key;
  }

  // For texts whose first `depth` characters are equal, folded.
  bool Less(uint32_t a, uint32_t b, size_t depth) const {
    const TextView x = texts_[a], y = texts_[b];
    const size_t n = std::min(x.size(), y.size());
    for (size_t i = depth; i < n; ++i) {
      if (x[i] == y[i]) continue;
      const char16_t cx = FoldCase(x[i]), cy = FoldCase(y[i]);
      if (cx != cy) return cx < cy;
    }
    if (x.size() != y.size()) return x.size() < y.size();
    return rank_[a] < rank_[b];
  }

  // How many characters, from `depth`, all texts of the range share, folded.
  size_t CommonLength(size_t begin, size_t end, size_t depth) const {
    const TextView first = texts_[items_[begin].index];
    size_t common = first.size();
    for (size_t i = begin + 1; i < end && common > depth; ++i) {
      const TextView text = texts_[items_[i].index];
      size_t d = depth;
      const size_t n = std::min(common, text.size());
      while (d < n && (first[d] == text[d] || FoldCase(first[d]) == FoldCase(text[d]))) ++d;
      common = d;
    }
    return std::max(common, depth);
  }

  template <typename Less>
  void SortItems(size_t begin, size_t end, Less less) {
    std::sort(items_.begin() + std::ptrdiff_t(begin), items_.begin() + std::ptrdiff_t(end),
              [&](const Item& a, const Item& b) { return less(a.index, b.index); });
  }

  // Three-way partitions on the key at a depth: the texts below and above it
  // are partitioned again at the same depth, the equal ones further on. The
  // ranges wait on a stack of their own, not the call stack.
  void Sort(size_t first, size_t last) {
    struct Range {
      size_t begin, end, depth;
      bool keyed;  // the items hold their keys at this depth
    };
    std::vector<Range> pending{{first, last, 0, false}};
    while (!pending.empty()) {
      auto [begin, end, depth, keyed] = pending.back();
      pending.pop_back();
      if (end - begin <= kSmall) {
        SortItems(begin, end, [&, depth = depth](uint32_t a, uint32_t b) { return Less(a, b, depth); });
        continue;
      }
      if (!keyed)
        for (size_t i = begin; i < end; ++i) items_[i].key = KeyAt(items_[i].index, depth);
      const uint64_t pivot = items_[begin + (end - begin) / 2].key;
      size_t lt = begin, i = begin, gt = end;
      while (i < gt) {
        const uint64_t key = items_[i].key;
        if (key < pivot)
          std::swap(items_[lt++], items_[i++]);
        else if (key > pivot)
          std::swap(items_[i], items_[--gt]);
        else
          ++i;
      }
      if (lt > begin) pending.push_back({begin, lt, depth, true});
      if (end > gt) pending.push_back({gt, end, depth, true});
      if ((pivot & kCharMask) == 0) {
        // Texts that ended within the key are equal: their first order decides.
        SortItems(lt, gt, [&](uint32_t a, uint32_t b) { return rank_[a] < rank_[b]; });
        continue;
      }
      // Past the key, and past whatever else they all share.
      const size_t next = depth + kKeyChars;
      pending.push_back({lt, gt, lt == begin && gt == end ? CommonLength(lt, gt, next) : next, false});
    }
  }

  std::vector<uint32_t>& order_;
  const std::vector<TextView>& texts_;
  std::vector<uint32_t> rank_;
  std::vector<Item> items_;
};

}  // namespace

void SortFolded(std::vector<uint32_t>& order, const std::vector<TextView>& texts) {
  FoldedSorter(order, texts).Sort();
}

}  // namespace nb::ui
