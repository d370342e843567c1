// One running instance: a second start asks the first to come to the front
// and ends without showing anything.
#pragma once

#include "platform/Platform.h"

namespace nb {

inline constexpr char16_t kMainWindowClass[] = u"TForm1";
inline constexpr char16_t kMainWindowCaption[] = u"Night Broom";
inline constexpr char16_t kRestoreMessageName[] = u"NBRestore";

// When a main window of class "TForm1" titled "Night Broom" exists: posts it the
// restore request, waits half a second and returns true (the process then
// ends). Otherwise returns false and touches nothing.
bool HandOverToRunningInstance(Platform& os);

}  // namespace nb
