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

void PruneTempFolders(RunContext& ctx, DeletedNames* names) {
  for (const Text& folder : ctx.state.Loc.TempFolders) {
    if (PumpAndCheck(ctx)) PruneEmptyFolders(ctx, folder, names);
  }
}

void PruneRecycleBins(RunContext& ctx, DeletedNames* names) {
  const uint32_t drives = ctx.os.GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if ((drives & (1u << i)) == 0 || !PumpAndCheck(ctx)) continue;
    const std::optional<Text> bin = RecycleBinOfDrive(ctx.os, ctx.state.Loc, i);
    if (bin && FolderExists(ctx.os, *bin)) PruneEmptyFolders(ctx, *bin, names);
  }
}

bool SkypeFolderPurged(RunContext& ctx, const Text& mask) {
  return Prunes(mask, sections::kSkype) && !ctx.state.Loc.SkypeChatsyncFolder.empty();
}

// The folders the purge walks after the entry pass, for the sections ticked in `mask`.
std::vector<Text> PurgedFolders(RunContext& ctx, const Text& mask) {
  std::vector<Text> folders;
  if (Prunes(mask, sections::kTemp)) folders = ctx.state.Loc.TempFolders;
  if (Prunes(mask, sections::kRecycleBin)) {
    const uint32_t drives = ctx.os.GetLogicalDrives();
    for (int i = 0; i < 26; ++i)
      if (drives & (1u << i))
        if (std::optional<Text> bin = RecycleBinOfDrive(ctx.os, ctx.state.Loc, i)) folders.push_back(std::move(*bin));
  }
  if (SkypeFolderPurged(ctx, mask)) folders.push_back(ctx.state.Loc.SkypeChatsyncFolder);
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

EntryPass DeleteEntries(RunContext& ctx, const Text& mask, DeletedNames& names) {
  PerSection<bool> ticked{};
  for (int section = 1; section <= kSectionCount; ++section) ticked[section] = MaskTicks(mask, section);

  const ResultStore& store = ctx.state.Results;
  FoundFileDeleter files(ctx.os, ctx.state.Folders);
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
      if (i % kEntriesPerPump == 0 && !PumpAndCheck(ctx)) break;
      if (i >= store.Count()) break;  // running keeps every writer out; this only guards the index
      if (sectionOf(i) == 0) continue;
      const DeleteOutcome outcome = DeleteFindingAt(ctx.state, ctx.os, files, i);
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
DeleteAllReport CountNamesThatOutlived(RunContext& ctx, EntryPass pass, DeletedNames& names) {
  DeleteAllReport& report = pass.report;
  try {
    names.LookAtTheRest(ctx.os);
    const ResultStore& store = ctx.state.Results;
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

DeleteAllReport DeleteStoredFindings(RunContext& ctx, const Text& mask) {
  DeletedNames names;
  return CountNamesThatOutlived(ctx, DeleteEntries(ctx, mask, names), names);
}

void PruneLeftoverFolders(RunContext& ctx, const Text& mask, DeletedNames* names) {
  if (!PumpAndCheck(ctx)) return;
  if (Prunes(mask, sections::kTemp)) PruneTempFolders(ctx, names);
  if (!PumpAndCheck(ctx)) return;
  if (Prunes(mask, sections::kRecycleBin)) PruneRecycleBins(ctx, names);
  if (!PumpAndCheck(ctx)) return;
  if (SkypeFolderPurged(ctx, mask))
    PruneEmptyFolders(ctx, ctx.state.Loc.SkypeChatsyncFolder, names);
}

DeleteAllReport DeleteAllFindings(RunContext& ctx, const Text& mask) {
  // The purge lists every folder it walks: the names deleted there wait for
  // that listing instead of being looked for twice.
  DeletedNames names(PurgedFolders(ctx, mask));
  EntryPass pass = DeleteEntries(ctx, mask, names);
  try {
    PruneLeftoverFolders(ctx, mask, &names);
  } catch (const std::bad_alloc&) {
    // Out of memory: the run ends as a stopped one; the folders it did not reach stay.
  }
  return CountNamesThatOutlived(ctx, std::move(pass), names);
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
