#include "delete/DeleteFinding.h"

#include "catalogue/Catalogue.h"
#include "registry/RegistrySections.h"

namespace nb {

DeleteOutcome DeleteFoundValue(Platform& os, uint32_t root, const RegistrySubject& subject, const RegValue* found) {
  std::unique_ptr<RegistryKey> key;
  const uint32_t opened =
      os.OpenKey(root, subject.keyPath, winapi::kKeyAllAccess | FindingRegistryView(root), key);
  if (opened == winapi::kErrorFileNotFound) return DeleteOutcome::Missing;
  if (opened != winapi::kErrorSuccess || !key) return DeleteOutcome::Kept;
  RegValue now;
  const uint32_t read = key->QueryValue(subject.valueName, now);
  if (read == winapi::kErrorFileNotFound) return DeleteOutcome::Missing;
  if (read != winapi::kErrorSuccess) return DeleteOutcome::Kept;
  if (!found || now.type != found->type || now.data != found->data) return DeleteOutcome::Changed;
  return key->DeleteValue(subject.valueName) == winapi::kErrorSuccess ? DeleteOutcome::Deleted : DeleteOutcome::Kept;
}

const RegValue* FoundValueOf(const AppState& state, size_t index) {
  const uint32_t origin = state.Results.Origin(index);
  return origin < state.FoundValues.size() ? &state.FoundValues[origin] : nullptr;
}

DeleteOutcome DeleteFindingAt(const AppState& state, Platform& os, FoundFileDeleter& files, size_t index) {
  if (index >= state.Results.Count()) return DeleteOutcome::Kept;
  const int section = state.Results.Section(index);
  const Text subject(state.Results.Subject(index));
  if (const SectionInfo* registry = RegistrySectionNumbered(section))
    return DeleteFoundValue(os, registry->registryRoot, SplitRegistrySubject(subject), FoundValueOf(state, index));
  if (!IsFileSection(section)) return DeleteOutcome::Kept;
  return files.Delete(subject, state.Results.Origin(index));
}

}  // namespace nb
