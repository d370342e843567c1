// Turns the text of a registry value into the one file path it refers to: a
// command line, a quoted path, a path with an icon index or a path written with
// environment variables all end up as a plain path that can be tested on disk.
// Nothing here touches the disk.
#pragma once

#include "platform/Platform.h"
#include "state/Locations.h"

namespace nb {

// ExpandEnvironmentStringsW's buffer, terminating NUL included.
inline constexpr uint32_t kExpansionBufferChars = 260;

// Resolves the environment variables of `text`. On 64-bit Windows
// (Locations::Wow64Process) the first program-files variable found is
// replaced by its fixed folder on drive C: and nothing else is expanded;
// otherwise every variable is expanded from the environment. A text whose
// expansion does not fit the buffer comes back unexpanded.
Text ExpandProgramFolders(Platform& os, const Locations& loc, const Text& text);

// Cuts the referenced file's path out of a value's text; possibly empty.
Text ExtractReferencedFile(Platform& os, const Locations& loc, const Text& text);

}  // namespace nb
