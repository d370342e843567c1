#include "results/RowCaptions.h"

#include "registry/RegistrySections.h"
#include "state/ResultEntry.h"

namespace nb {

Text DeletedCaption(const ResultStore& store, size_t index) {
  const Text subject(store.Subject(index));
  if (RegistrySectionNumbered(store.Section(index))) return DeletedValueCaption(SplitRegistrySubject(subject).valueName);
  return DeletedFileCaption(subject);
}

}  // namespace nb
