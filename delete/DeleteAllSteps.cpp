#include "delete/DeleteAllSteps.h"

#include <array>

#include "catalogue/Catalogue.h"
#include "delete/DeleteFinding.h"
#include "delete/FoundFileDeleter.h"
#include "delete/FolderPurge.h"

namespace nb {

namespace {

constexpr size_t kEntriesPerPump = 100;
constexpr int kSectionTemp = 1;
constexpr int kSectionRecycleBin = 2;
constexpr int kSectionSkype = 11;
constexpr int kLastFileSection = 14;
constexpr int kSectionCurrentUser = 15;
constexpr int kSectionLocalMachine = 16;

// The section number an entry begins with, 0 when it begins with no code.
int SectionNumberOf(TextView entry) {
  if (entry.size() < 2) return 0;
  const char16_t tens = entry[0], ones = entry[1];
  if (tens < u'0' || tens > u'9' || ones < u'0' || ones > u'9') return 0;
  return (tens - u'0') * 10 + (ones - u'0');
}

void PruneTempFolders(RunContext& ctx) {
  for (const Text& folder : ctx.state.Loc.TempFolders) {
    ctx.ui.PumpMessages();
    if (ctx.state.Busy) PruneEmptyFolders(ctx, folder);
  }
}

void PruneRecycleBins(RunContext& ctx) {
  const uint32_t drives = ctx.os.GetLogicalDrives();
  const Text binName = ctx.state.Loc.OsMajorVersion == 5 ? u":\\RECYCLER\\" : u":\\$RECYCLE.BIN\\";
  for (int i = 0; i < 26; ++i) {
    if ((drives & (1u << i)) == 0) continue;
    ctx.ui.PumpMessages();
    const Text letter(1, char16_t(u'A' + i));
    // Drive A is a floppy drive: asking about it may spin the drive up.
    if (!ctx.state.Busy || i == 0 || ctx.os.GetDriveType(letter + u":\\") != win::kDriveFixed) continue;
    const Text bin = letter + binName;
    if (FolderExists(ctx.os, bin)) PruneEmptyFolders(ctx, bin);
  }
}

// Pumps, then tells whether the run may go on.
bool StillRunning(RunContext& ctx) {
  ctx.ui.PumpMessages();
  return ctx.state.Busy;
}

}  // namespace

void DeleteStoredFindings(RunContext& ctx, const Text& mask) {
  std::array<bool, kSectionCount + 1> ticked{};
  for (int section = 1; section <= kSectionCount; ++section) ticked[section] = MaskTicks(mask, section);

  ResultStore& store = ctx.state.Results;
  FoundFileDeleter files(ctx.os, ctx.state.Folders);
  const size_t count = store.Count();
  for (size_t i = 0; i < count; ++i) {
    if (i % kEntriesPerPump == 0 && !StillRunning(ctx)) return;
    if (i >= store.Count()) break;  // the busy flag keeps every writer out; this only guards the index
    const TextView entry = store.View(i);
    const int section = SectionNumberOf(entry);
    if (section < 1 || section > kSectionCount || !ticked[section]) continue;
    const Text subject(SplitEntryView(entry).subject);
    if (section <= kLastFileSection)
      files.Delete(subject);
    else if (section == kSectionCurrentUser)
      DeleteFoundValue(ctx.os, win::kHkeyCurrentUser, SplitRegistrySubject(subject));
    else if (section == kSectionLocalMachine)
      DeleteFoundValue(ctx.os, win::kHkeyLocalMachine, SplitRegistrySubject(subject));
  }
}

void PruneLeftoverFolders(RunContext& ctx, const Text& mask) {
  if (!StillRunning(ctx)) return;
  if (MaskTicks(mask, kSectionTemp)) PruneTempFolders(ctx);
  if (!StillRunning(ctx)) return;
  if (MaskTicks(mask, kSectionRecycleBin)) PruneRecycleBins(ctx);
  if (!StillRunning(ctx)) return;
  if (MaskTicks(mask, kSectionSkype) && !ctx.state.Loc.SkypeChatsyncFolder.empty())
    PruneEmptyFolders(ctx, ctx.state.Loc.SkypeChatsyncFolder);
}

}  // namespace nb
