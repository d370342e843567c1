#include "state/ResultStore.h"

#include <algorithm>
#include <cassert>
#include <new>

namespace nb {

namespace {
constexpr size_t kLongestSubject = (size_t(1) << 24) - 1;
}  // namespace

void ResultStore::Clear() {
  assert(!ViewsRegistered() && "the store is emptied while a list still shows its texts");
  // Hands the memory back (a store may have held millions of findings), or
  // leaves it to the last registration of views.
  subjects_ = std::make_shared<PackedTexts>();
  records_ = std::deque<Record>();
}

char16_t* ResultStore::AppendRoom(int section, size_t chars, uint64_t size, uint32_t origin) {
  // No writer makes such a subject (a path has at most 32,767 characters, a
  // registry subject is bounded by its key's and value's names); were one
  // made, the store has no room for it, as when memory runs out.
  if (chars > kLongestSubject) throw std::bad_alloc();
  PackedTexts::Place place;
  char16_t* at = subjects_->Room(chars, place);
  records_.push_back({size, place.block, place.offset, origin, uint32_t(chars), uint32_t(section) & 0xFF});
  return at;
}

void ResultStore::Append(int section, TextView subject, uint64_t size, uint32_t origin) {
  std::copy(subject.begin(), subject.end(), AppendRoom(section, subject.size(), size, origin));
}

void ResultStore::KeepOnly(const std::vector<bool>& keep) {
  std::deque<Record> kept;
  for (size_t i = 0; i < records_.size(); ++i)
    if (i < keep.size() && keep[i]) kept.push_back(records_[i]);
  records_ = std::move(kept);
}

size_t ResultStore::BytesHeld() const { return subjects_->BytesHeld() + records_.size() * sizeof(Record); }

}  // namespace nb
