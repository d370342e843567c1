// The findings of the last Analyze run, one text per finding, in the order they
// were made: section code + "#" + subject + "#" + size text.
//
// The store has no size bound, so it keeps its texts packed: the characters of
// all entries sit end to end in large blocks, and each entry is a small record
// of where its characters are and where it came from. A finding costs its
// UTF-16 characters plus sixteen bytes, instead of a string object and an
// allocation of its own.
//
// Where a finding came from, its origin, is a number the store keeps for its
// writers: a file finding holds the number of the scan root whose walk found
// it, a registry finding the number of what the walk read from its value.
//
// A reader that keeps views into the texts beyond one call (the results
// list's rows) registers them: while a registration lives, emptying the store
// is a fault that a debug build stops at, and the texts stay where they are
// until the last registration is gone.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "platform/Text.h"
#include "state/ResultEntry.h"

namespace nb {

class Platform;

inline constexpr uint32_t kNoOrigin = 0xFFFFFFFF;

class ResultStore {
 public:
  ResultStore() = default;
  // One store per set of findings: its blocks are shared only with registrations.
  ResultStore(const ResultStore&) = delete;
  ResultStore& operator=(const ResultStore&) = delete;

  // Keeps the texts of the entries stored so far where they are for as long
  // as the returned registration lives.
  std::shared_ptr<const void> RegisterViews() const { return blocks_; }
  bool ViewsRegistered() const { return blocks_.use_count() > 1; }
  // Empties the store. Views must be given back first.
  void Clear();
  void Append(TextView entry, uint32_t origin = kNoOrigin);
  // Appends one entry made of the pieces, joined without anything between them.
  void AppendJoined(std::initializer_list<TextView> pieces, uint32_t origin = kNoOrigin);
  // Appends an entry of `chars` characters and returns where they go; the
  // caller writes every one of them before the store is next read.
  char16_t* AppendRoom(size_t chars, uint32_t origin = kNoOrigin);
  size_t Count() const { return records_.size(); }
  bool Empty() const { return records_.empty(); }
  // The entry's characters. They stay where they are until the store is
  // emptied (or the last registration of views is gone, if that comes later),
  // also when entries are appended or removed.
  TextView View(size_t index) const;
  Text At(size_t index) const { return Text(View(index)); }
  uint32_t Origin(size_t index) const { return records_[index].origin; }
  bool EntryStartsWith(size_t index, TextView prefix) const { return View(index).starts_with(prefix); }
  // Removes the entry and closes the gap. Its characters stay in their block
  // until the store is emptied.
  void RemoveAt(size_t index);
  // Keeps exactly the entries `keep` says yes to, in their order.
  void KeepOnly(const std::vector<bool>& keep);
  // Index of the first entry equal to `text` under `equal`, or -1.
  int64_t IndexOf(const Text& text, const std::function<bool(const Text&, const Text&)>& equal) const;
  // Heap bytes held for the entries: blocks and records.
  size_t BytesHeld() const;

 private:
  struct Record {
    uint32_t block;
    uint32_t offset;
    uint32_t length;
    uint32_t origin;
  };
  struct Block {
    std::unique_ptr<char16_t[]> chars;
    size_t capacity = 0;
    size_t used = 0;
  };
  // Shared with the registrations of views only.
  std::shared_ptr<std::vector<Block>> blocks_ = std::make_shared<std::vector<Block>>();
  std::deque<Record> records_;  // grows in small pieces, never by doubling
};

}  // namespace nb
