#include "state/PackedTexts.h"

#include <algorithm>

namespace nb {

namespace {
// 64 KB of characters per block: large enough that the unused tail of a block
// is noise, small enough that an almost empty set of texts stays small.
constexpr size_t kBlockChars = 32768;
}  // namespace

char16_t* PackedTexts::Room(size_t chars, Place& place) {
  if (blocks_.empty() || blocks_.back().capacity - blocks_.back().used < chars) {
    Block block;
    block.capacity = std::max(kBlockChars, chars);
    block.chars = std::make_unique_for_overwrite<char16_t[]>(block.capacity);
    blocks_.push_back(std::move(block));
  }
  Block& block = blocks_.back();
  place = {uint32_t(blocks_.size() - 1), uint32_t(block.used)};
  char16_t* at = block.chars.get() + block.used;
  block.used += chars;
  return at;
}

size_t PackedTexts::BytesHeld() const {
  size_t bytes = blocks_.capacity() * sizeof(Block);
  for (const Block& block : blocks_) bytes += block.capacity * sizeof(char16_t);
  return bytes;
}

}  // namespace nb
