// The toolkit service: everything the windows need beyond their controls.
// Two back ends implement it: headless (tests, no windows) and win32.
#pragma once

#include <cstdint>
#include <functional>

#include "ui/Form.h"

namespace nb::ui {

// Sees every queued message of the user-interface thread before dispatch.
using MessageHook = std::function<void(uint32_t message, uintptr_t wParam, intptr_t lParam)>;

class Toolkit {
 public:
  virtual ~Toolkit() = default;
  // Lets the toolkit dispatch every window message already queued, then returns.
  virtual void PumpMessages() = 0;
  // MessageBoxW owned by the program's main (or active) window; returns IDOK, IDYES, IDNO ...
  virtual int ShowMessage(const Text& text, const Text& caption, uint32_t flags) = 0;
  // Builds the form's window and its controls' windows, then raises OnCreate.
  // The first form realised is the main window: message boxes belong to it,
  // and the program ends when it closes.
  virtual void Realize(Form& form) = 0;
  // Shows a realised form and raises OnShow.
  virtual void Show(Form& form) = 0;
  // Realises and shows the dialog, keeps the other windows disabled until it
  // closes, then destroys its window.
  virtual void ShowModal(Form& dialog) = 0;
  // Asks the form's OnCloseQuery; when it allows, the window goes away
  // (OnDestroy) and, for the main window, the message loop ends.
  virtual void RequestClose(Form& form) = 0;
  // ShellExecuteW(window, "open", target, no parameters, no folder, SW_SHOWNORMAL);
  // the result is not examined.
  virtual void OpenLink(Form& window, const Text& target) = 0;
  // Un-minimises the application and brings its active window to the front.
  virtual void RestoreApplication() = 0;
  virtual void SetMessageHook(MessageHook hook) = 0;
};

}  // namespace nb::ui
