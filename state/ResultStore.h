// The findings of the last Analyze run, in the order they were made. Each
// finding is its section, its subject (a file path or a registry subject),
// its size and where it came from; the entry text "code#subject#size text"
// is derived from these where it is needed (state/ResultEntry.h).
//
// The store has no size bound, so it keeps its findings packed: the subjects'
// characters sit end to end in large blocks, and each finding is a 24-byte
// record of its fields and where its subject is.
//
// A finding's size is its file's size in bytes, or for a registry finding
// the number of characters of the file path its value names.
//
// Where a finding came from, its origin, is a number the store keeps for its
// writers: a file finding holds the number of the scan root whose walk found
// it, a registry finding the number of what the walk read from its value.
//
// A reader that keeps views into the subjects beyond one call (the results
// list's rows) registers them: while a registration lives, emptying the store
// is a fault that a debug build stops at, and the subjects stay where they
// are until the last registration is gone.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "platform/Text.h"
#include "state/PackedTexts.h"

namespace nb {

inline constexpr uint32_t kNoOrigin = 0xFFFFFFFF;

class ResultStore {
 public:
  ResultStore() = default;
  // One store per set of findings: its subjects are shared only with registrations.
  ResultStore(const ResultStore&) = delete;
  ResultStore& operator=(const ResultStore&) = delete;

  // Keeps the subjects of the findings stored so far where they are for as
  // long as the returned registration lives.
  std::shared_ptr<const void> RegisterViews() const { return subjects_; }
  bool ViewsRegistered() const { return subjects_.use_count() > 1; }
  // Empties the store. Views must be given back first.
  void Clear();
  void Append(int section, TextView subject, uint64_t size, uint32_t origin = kNoOrigin);
  // Appends a finding whose subject has `chars` characters and returns where
  // they go; the caller writes every one of them before the store is next read.
  char16_t* AppendRoom(int section, size_t chars, uint64_t size, uint32_t origin = kNoOrigin);
  size_t Count() const { return records_.size(); }
  bool Empty() const { return records_.empty(); }
  int Section(size_t index) const { return records_[index].section; }
  // The subject's characters. They stay where they are until the store is
  // emptied (or the last registration of views is gone, if that comes later),
  // also when findings are appended or removed.
  TextView Subject(size_t index) const {
    const Record& record = records_[index];
    return subjects_->View({record.block, record.offset}, record.length);
  }
  uint64_t Size(size_t index) const { return records_[index].size; }
  uint32_t Origin(size_t index) const { return records_[index].origin; }
  // Keeps exactly the findings `keep` says yes to, in their order.
  void KeepOnly(const std::vector<bool>& keep);
  // Heap bytes held for the findings: subjects and records.
  size_t BytesHeld() const;

 private:
  struct Record {
    uint64_t size;
    uint32_t block;
    uint32_t offset;
    uint32_t origin;
    uint32_t length : 24;  // a subject is at most 32,767 characters of path, or a registry subject
    uint32_t section : 8;
  };
  static_assert(sizeof(Record) == 24);
  // Shared with the registrations of views only.
  std::shared_ptr<PackedTexts> subjects_ = std::make_shared<PackedTexts>();
  std::deque<Record> records_;  // grows in small pieces, never by doubling
};

}  // namespace nb
