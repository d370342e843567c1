#include "state/ResultStore.h"

#include <algorithm>
#include <cassert>

#include "platform/Platform.h"

namespace nb {

namespace {
// 64 KB of characters per block: large enough that the unused tail of a block
// is noise, small enough that an almost empty store stays small.
constexpr size_t kBlockChars = 32768;
}  // namespace

void ResultStore::Clear() {
  assert(!ViewsRegistered() && "the store is emptied while a list still shows its texts");
  // Hands the memory back (a store may have held millions of findings), or
  // leaves it to the last registration of views.
  blocks_ = std::make_shared<std::vector<Block>>();
  records_ = std::deque<Record>();
}

char16_t* ResultStore::AppendRoom(size_t chars, uint32_t origin) {
  std::vector<Block>& blocks = *blocks_;
  if (blocks.empty() || blocks.back().capacity - blocks.back().used < chars) {
    Block block;
    block.capacity = std::max(kBlockChars, chars);
    block.chars = std::make_unique_for_overwrite<char16_t[]>(block.capacity);
    blocks.push_back(std::move(block));
  }
  Block& block = blocks.back();
  records_.push_back({uint32_t(blocks.size() - 1), uint32_t(block.used), uint32_t(chars), origin});
  char16_t* at = block.chars.get() + block.used;
  block.used += chars;
  return at;
}

void ResultStore::Append(TextView entry, uint32_t origin) {
  std::copy(entry.begin(), entry.end(), AppendRoom(entry.size(), origin));
}

void ResultStore::AppendJoined(std::initializer_list<TextView> pieces, uint32_t origin) {
  size_t chars = 0;
  for (TextView piece : pieces) chars += piece.size();
  char16_t* at = AppendRoom(chars, origin);
  for (TextView piece : pieces) at = std::copy(piece.begin(), piece.end(), at);
}

TextView ResultStore::View(size_t index) const {
  const Record& record = records_[index];
  return TextView((*blocks_)[record.block].chars.get() + record.offset, record.length);
}

void ResultStore::RemoveAt(size_t index) { records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(index)); }

void ResultStore::KeepOnly(const std::vector<bool>& keep) {
  std::deque<Record> kept;
  for (size_t i = 0; i < records_.size(); ++i)
    if (i < keep.size() && keep[i]) kept.push_back(records_[i]);
  records_ = std::move(kept);
}

int64_t ResultStore::IndexOf(const Text& text, const std::function<bool(const Text&, const Text&)>& equal) const {
  Text entry;
  for (size_t i = 0; i < records_.size(); ++i) {
    entry.assign(View(i));
    if (equal(entry, text)) return int64_t(i);
  }
  return -1;
}

size_t ResultStore::BytesHeld() const {
  size_t bytes = blocks_->capacity() * sizeof(Block);
  for (const Block& block : *blocks_) bytes += block.capacity * sizeof(char16_t);
  return bytes + records_.size() * sizeof(Record);
}

}  // namespace nb
