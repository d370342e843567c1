#include "delete/DeleteAll.h"

#include <array>
#include <new>

#include "catalogue/Catalogue.h"
#include "delete/DeleteFinding.h"
#include "delete/FolderPurge.h"
#include "delete/FoundFileDeleter.h"
#include "registry/RegistrySections.h"

namespace nb {

namespace {

constexpr size_t kEntriesPerPump = 100;
constexpr int kSectionTemp = 1;
constexpr int kSectionRecycleBin = 2;
constexpr int kSectionSkype = 11;

void PruneTempFolders(RunContext& ctx) {
  for (const Text& folder : ctx.state.Loc.TempFolders) {
    if (PumpAndCheck(ctx)) PruneEmptyFolders(ctx, folder);
  }
}

void PruneRecycleBins(RunContext& ctx) {
  const uint32_t drives = ctx.os.GetLogicalDrives();
  const Text binName = ctx.state.Loc.OsMajorVersion == 5 ? u":\\RECYCLER\\" : u":\\$RECYCLE.BIN\\";
  for (int i = 0; i < 26; ++i) {
    if ((drives & (1u << i)) == 0) continue;
    const bool going = PumpAndCheck(ctx);
    const Text letter(1, char16_t(u'A' + i));
    // Drive A is a floppy drive: asking about it may spin the drive up.
    if (!going || i == 0 || ctx.os.GetDriveType(letter + u":\\") != win::kDriveFixed) continue;
    const Text bin = letter + binName;
    if (FolderExists(ctx.os, bin)) PruneEmptyFolders(ctx, bin);
  }
}

}  // namespace

void DeleteStoredFindings(RunContext& ctx, const Text& mask) {
  std::array<bool, kSectionCount + 1> ticked{};
  for (int section = 1; section <= kSectionCount; ++section) ticked[section] = MaskTicks(mask, section);

  ResultStore& store = ctx.state.Results;
  FoundFileDeleter files(ctx.os, ctx.state.Folders);
  const size_t count = store.Count();
  for (size_t i = 0; i < count; ++i) {
    if (i % kEntriesPerPump == 0 && !PumpAndCheck(ctx)) return;
    if (i >= store.Count()) break;  // the busy flag keeps every writer out; this only guards the index
    const TextView entry = store.View(i);
    const int section = SectionNumberOf(entry);
    if (section == 0 || !ticked[section]) continue;  // no section's code, or not ticked
    const Text subject(SplitEntryView(entry).subject);
    if (const RegistrySection* registry = RegistrySectionNumbered(section))
      DeleteFoundValue(ctx.os, registry->root, SplitRegistrySubject(subject));
    else
      files.Delete(subject);
  }
}

void PruneLeftoverFolders(RunContext& ctx, const Text& mask) {
  if (!PumpAndCheck(ctx)) return;
  if (MaskTicks(mask, kSectionTemp)) PruneTempFolders(ctx);
  if (!PumpAndCheck(ctx)) return;
  if (MaskTicks(mask, kSectionRecycleBin)) PruneRecycleBins(ctx);
  if (!PumpAndCheck(ctx)) return;
  if (MaskTicks(mask, kSectionSkype) && !ctx.state.Loc.SkypeChatsyncFolder.empty())
    PruneEmptyFolders(ctx, ctx.state.Loc.SkypeChatsyncFolder);
}

void DeleteAllFindings(RunContext& ctx, const Text& mask) {
  try {
    DeleteStoredFindings(ctx, mask);
    PruneLeftoverFolders(ctx, mask);
  } catch (const std::bad_alloc&) {
    // Out of memory: the run ends as a stopped one; what it did not reach stays.
  }
}

}  // namespace nb
