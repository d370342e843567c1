// Texts laid end to end in large blocks of characters: a text costs its
// characters, not a string object and an allocation of its own, and stays
// where it is while more are added.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Text.h"

namespace nb {

class PackedTexts {
 public:
  struct Place {
    uint32_t block = 0;
    uint32_t offset = 0;
  };

  // Room for `chars` characters, all of which the caller writes before the
  // text is read; `place` tells where they are.
  char16_t* Room(size_t chars, Place& place);
  // Hands back the last `chars` characters of the latest room, left unwritten
  // by a writer that asked for as many as it could need.
  void GiveBack(size_t chars) { blocks_.back().used -= chars; }
  TextView View(Place place, size_t chars) const {
    return TextView(blocks_[place.block].chars.get() + place.offset, chars);
  }
  // Heap bytes held.
  size_t BytesHeld() const;

 private:
  struct Block {
    std::unique_ptr<char16_t[]> chars;
    size_t capacity = 0;
    size_t used = 0;
  };
  std::vector<Block> blocks_;
};

}  // namespace nb
