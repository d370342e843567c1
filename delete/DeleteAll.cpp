#include "delete/DeleteAll.h"

#include <array>
#include <new>
#include <optional>
#include <set>

#include "catalogue/Catalogue.h"
#include "catalogue/RecycleBins.h"
#include "delete/DeleteFinding.h"
#include "delete/FolderPurge.h"
#include "delete/FoundFileDeleter.h"

namespace nb {

namespace {

constexpr size_t kEntriesPerPump = 100;

// Whether the run of `mask` prunes the folders of `section` after its deletions.
bool Prunes(const Text& mask, int section) {
  return MaskTicks(mask, section) && SectionNumbered(section)->prunedByDeleteAll;
}

void PruneTempFolders(RunContext& run, DeletedNames* names) {
  for (const Text& folder : run.state.Loc.TempFolders) {
    if (PumpAndCheck(run)) PruneEmptyFolders(run, folder, names);
  }
}

void PruneRecycleBins(RunContext& run, DeletedNames* names) {
  const uint32_t drives = run.os.GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if ((drives & (1u << i)) == 0 || !PumpAndCheck(run)) continue;
    const std::optional<Text> bin = RecycleBinOfDrive(run.os, run.state.Loc, i);
    if (bin && FolderExists(run.os, *bin)) PruneEmptyFolders(run, *bin, names);
  }
}

bool SkypeFolderPurged(RunContext& run, const Text& mask) {
  return Prunes(mask, sections::kSkype) && !run.state.Loc.SkypeChatsyncFolder.empty();
}

// The folders the purge walks after the entry pass, for the sections ticked in `mask`.
std::vector<Text> PurgedFolders(RunContext& run, const Text& mask) {
  std::vector<Text> folders;
  if (Prunes(mask, sections::kTemp)) folders = run.state.Loc.TempFolders;
  if (Prunes(mask, sections::kRecycleBin)) {
    const uint32_t drives = run.os.GetLogicalDrives();
    for (int i = 0; i < 26; ++i)
      if (drives & (1u << i))
        if (std::optional<Text> bin = RecycleBinOfDrive(run.os, run.state.Loc, i)) folders.push_back(std::move(*bin));
  }
  if (SkypeFolderPurged(run, mask)) folders.push_back(run.state.Loc.SkypeChatsyncFolder);
  return folders;
}

void Count(DeleteAllReport& report, DeleteOutcome outcome) {
  switch (outcome) {
    case DeleteOutcome::Deleted:
    case DeleteOutcome::Missing: ++report.deleted; break;
    case DeleteOutcome::Kept: ++report.refused; break;
    case DeleteOutcome::Redirected:
    case DeleteOutcome::Changed: ++report.changed; break;
  }
}

// The entry pass of Delete all. The names whose deletion was granted go to `names`.
struct EntryPass {
  DeleteAllReport report;
  std::vector<size_t> deleted;  // the findings whose deletion was granted
};

EntryPass DeleteEntries(RunContext& run, const Text& mask, DeletedNames& names) {
  PerSection<bool> ticked{};
  for (int section = 1; section <= kSectionCount; ++section) ticked[section] = MaskTicks(mask, section);

  const ResultStore& store = run.state.Results;
  FoundFileDeleter files(run.os, run.state.Roots);
  files.TrackDeletedNames(names);
  EntryPass pass;
  DeleteAllReport& report = pass.report;
  const size_t count = store.Count();
  report.stays.assign(count, false);
  auto sectionOf = [&](size_t i) {
    const int section = store.Section(i);
    return SectionNumbered(section) && ticked[size_t(section)] ? section : 0;
  };
  size_t i = 0;
  try {
    for (; i < count; ++i) {
      if (i % kEntriesPerPump == 0 && !PumpAndCheck(run)) break;
      if (i >= store.Count()) break;  // running keeps every writer out; this only guards the index
      if (sectionOf(i) == 0) continue;
      const DeleteOutcome outcome = DeleteFindingAt(run.state, run.os, files, i);
      if (outcome == DeleteOutcome::Deleted) pass.deleted.push_back(i);
      Count(report, outcome);
      report.stays[i] = outcome != DeleteOutcome::Deleted && outcome != DeleteOutcome::Missing;
    }
  } catch (const std::bad_alloc&) {
    // Out of memory: the pass ends there, as a stopped one.
  }
  for (; i < count && i < store.Count(); ++i) {
    if (sectionOf(i) == 0) continue;
    ++report.notReached;
    report.stays[i] = true;
  }
  try {
    files.LeaveFolders();
  } catch (const std::bad_alloc&) {
    // Out of memory: the names not looked for count as gone.
  }
  return pass;
}

// A name that outlived its granted deletion (Wine's unlink can fail at the
// last close): that finding stayed.
DeleteAllReport CountNamesThatOutlived(RunContext& run, EntryPass pass, DeletedNames& names) {
  DeleteAllReport& report = pass.report;
  try {
    names.LookAtTheRest(run.os);
    const ResultStore& store = run.state.Results;
    for (const size_t index : pass.deleted) {
      if (!names.StillThere().count(Text(store.Subject(index)))) continue;
      --report.deleted;
      ++report.refused;
      report.stays[index] = true;
    }
  } catch (const std::bad_alloc&) {
    // Out of memory: the deletions stand as reported.
  }
  return std::move(report);
}

}  // namespace

DeleteAllReport DeleteStoredFindings(RunContext& run, const Text& mask) {
  DeletedNames names;
  return CountNamesThatOutlived(run, DeleteEntries(run, mask, names), names);
}

void PruneLeftoverFolders(RunContext& run, const Text& mask, DeletedNames* names) {
  if (!PumpAndCheck(run)) return;
  if (Prunes(mask, sections::kTemp)) PruneTempFolders(run, names);
  if (!PumpAndCheck(run)) return;
  if (Prunes(mask, sections::kRecycleBin)) PruneRecycleBins(run, names);
  if (!PumpAndCheck(run)) return;
  if (SkypeFolderPurged(run, mask))
    PruneEmptyFolders(run, run.state.Loc.SkypeChatsyncFolder, names);
}

DeleteAllReport DeleteAllFindings(RunContext& run, const Text& mask) {
  // The purge lists every folder it walks: the names deleted there wait for
  // that listing instead of being looked for twice.
  DeletedNames names(PurgedFolders(run, mask));
  EntryPass pass = DeleteEntries(run, mask, names);
  try {
    PruneLeftoverFolders(run, mask, &names);
  } catch (const std::bad_alloc&) {
    // Out of memory: the run ends as a stopped one; the folders it did not reach stay.
  }
  return CountNamesThatOutlived(run, std::move(pass), names);
}

Text DeleteAllStatus(const DeleteAllReport& report) {
  if (report.Stayed() == 0) return u"Files from selected categories have been deleted";
  Text status = NumberTextUnsigned(report.Stayed()) + u" items could not be deleted and are still listed (";
  Text reasons;
  auto reason = [&reasons](uint32_t count, TextView why) {
    if (count == 0) return;
    if (!reasons.empty()) reasons += u", ";
    reasons += NumberTextUnsigned(count) + u" " + Text(why);
  };
  reason(report.refused, u"in use or access denied");
  reason(report.changed, u"changed since Analyze");
  reason(report.notReached, u"not reached before the run stopped");
  return status + reasons + u")";
}

}  // namespace nb
