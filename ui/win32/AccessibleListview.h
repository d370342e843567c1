// Active Accessibility for our drawn list: WM_GETOBJECT is answered with an
// IAccessible built on the list's accessible model, and changes of focus,
// selection, ticks and order are announced with NotifyWinEvent. The COM object
// may outlive the window (a screen reader keeps its reference); the control
// disconnects it when it goes away, and every later call then fails cleanly.
#pragma once

#include <windows.h>

#include <optional>

#include "ui/EasyListview.h"
#include "ui/win32/Com.h"

namespace nb::ui::win32 {

class ListAccessObject;

class ListAccessibility {
 public:
  explicit ListAccessibility(TEasyListview& list);
  ~ListAccessibility();
  ListAccessibility(const ListAccessibility&) = delete;
  ListAccessibility& operator=(const ListAccessibility&) = delete;

  // The answer to WM_GETOBJECT for the client area; nothing for other objects.
  std::optional<LRESULT> Answer(HWND window, WPARAM wParam, LPARAM lParam);
  // Tells listening tools what the model just changed.
  void Announce(HWND window, ListChange change, ListPos pos);

 private:
  TEasyListview& list_;
  // Calls from other processes arrive through this thread's apartment,
  // entered at the first question; it is left after our reference goes.
  std::optional<ComApartment> apartment_;
  ComRef<ListAccessObject> object_;
};

}  // namespace nb::ui::win32
