#include "app/SingleInstance.h"

#include "app/Form1.h"

namespace nb {

bool HandOverToRunningInstance(Platform& os) {
  const uintptr_t running = os.FindWindow(kMainWindowClass, kMainWindowCaption);
  if (!running) return false;
  const uint32_t restore = os.RegisterWindowMessage(kRestoreMessageName);
  os.PostMessage(running, restore, kRestoreRequest, 0);
  os.Sleep(500);
  return true;
}

}  // namespace nb
