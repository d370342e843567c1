#include "catalogue/RunningApps.h"

namespace nb {

void CheckRunningApps(Platform& os, AppState& state) {
  state.BrowserRunning = false;
  state.SkypeRunning = false;
  const auto names = os.ProcessNames();
  if (!names) return;
  // Substring tests: a name that merely contains one of these counts too.
  for (const Text& name : *names) {
    const Text upper = ToUpperAscii(name);
    if (Contains(upper, u"IEXPLORE.EXE") || Contains(upper, u"FIREFOX.EXE") || Contains(upper, u"CHROME.EXE"))
      state.BrowserRunning = true;
    if (Contains(upper, u"SKYPE.EXE")) state.SkypeRunning = true;
  }
}

}  // namespace nb
