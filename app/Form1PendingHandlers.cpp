// Handlers whose work is still to come. Each moves to its own folder (scan/,
// delete/, results/) when written there; delete its line here then.
#include "app/Form1.h"

namespace nb {

}  // namespace nb
