// Program entry on Windows: hand over to a running instance, or apply the
// style, build the main window (its creation discovers the locations) and run
// the message loop until it closes.
#include <windows.h>

#include "app/Form1.h"
#include "app/SingleInstance.h"
#include "platform/win32/Win32Platform.h"
#include "ui/Style.h"
#include "ui/win32/Win32Toolkit.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  try {
    nb::Win32Platform os;
    if (nb::HandOverToRunningInstance(os)) return 0;

    nb::ui::win32::Win32Toolkit ui(instance);
    ui.ApplyStyle(nb::ui::kStyleName);
    nb::TForm1 form(os, ui);
    ui.Realize(form);
    ui.Show(form);
    ui.RunMessageLoop();
  } catch (...) {
    // Nothing is reported; the process ends as after a normal close.
  }
  return 0;
}
