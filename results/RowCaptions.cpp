#include "results/RowCaptions.h"

#include "catalogue/Catalogue.h"
#include "registry/RegistrySections.h"
#include "state/ResultStore.h"

namespace nb {

Text DeletedCaption(TextView entry) {
  const Text subject(SplitEntryView(entry).subject);
  if (RegistrySectionNumbered(SectionNumberOf(entry))) return DeletedValueCaption(SplitRegistrySubject(subject).valueName);
  return DeletedFileCaption(subject);
}

}  // namespace nb
