// The toolkit on real windows. Every control gets a child window whose text is
// its caption; the window procedures find their peer through GWLP_USERDATA.
// A WH_GETMESSAGE hook on the user-interface thread shows the message hook
// every queued message, whichever loop takes it (the main loop, the pumps of
// long operations, message boxes, the About dialog).
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <tuple>
#include <vector>

#include "ui/Style.h"
#include "ui/Toolkit.h"
#include "ui/win32/Gdi.h"

namespace nb::ui::win32 {

class WindowPeer;

class Win32Toolkit : public Toolkit {
 public:
  explicit Win32Toolkit(HINSTANCE instance);
  ~Win32Toolkit() override;
  Win32Toolkit(const Win32Toolkit&) = delete;
  Win32Toolkit& operator=(const Win32Toolkit&) = delete;

  // Loads the named style from the program's resources. Without it: an error
  // box "Style '<name>' not found" with a Close button, then the plain look.
  void ApplyStyle(TextView name);
  // Takes the style's colours directly (the plain look, tests, benchmarks).
  void UseStyle(const StyleColours& style) { style_ = style; }
  // Dispatches messages until the main window has closed.
  void RunMessageLoop();

  // Looks at the queue only once a time slice has passed since it
  // last did (see Win32Toolkit.cpp), then dispatches everything queued.
  void PumpMessages() override;
  // Dispatches everything queued now, whenever the pump last looked.
  void DispatchQueued();
  int ShowMessage(const Text& text, const Text& caption, uint32_t flags) override;
  // Toolkit
  void Realize(Form& form) override;
  void Show(Form& form) override;
  void ShowModal(Form& dialog) override;
  void RequestClose(Form& form) override;
  void OpenLink(Form& window, const Text& target) override;
  void RestoreApplication() override;
  void SetMessageHook(MessageHook hook) override { hook_ = std::move(hook); }

  // --- For the peers ---
  HINSTANCE Instance() const { return instance_; }
  const StyleColours& Style() const { return style_; }
  HFONT FontFor(const Font& font);
  HBRUSH BrushFor(COLORREF colour);
  static HWND WindowOf(const Control& control);
  HWND MainWindow() const;
  bool IsMain(const Form& form) const { return main_ == &form; }
  // The form's window is going away for good: the toolkit keeps no pointer to it.
  void Forget(const Form& form);
  // Runs the message hook for a message some loop has just taken.
  void Hooked(const MSG& msg);

 private:
  void RegisterClasses();
  void CreatePeers(Control& control, HWND parent);
  // Keyboard navigation inside our windows, then the usual dispatch.
  void Dispatch(MSG& msg);
  // Tab, Esc, Enter and Space go to the form of the window first (its
  // keyboard model); true when the form used the key.
  bool Navigate(const MSG& msg);
  // The main window's form or the open dialog's, by its top-level window.
  Form* FormOfWindow(HWND root) const;
  Text AvailableFace(const Text& face);

  struct Modal {
    Form* dialog;
    bool ownerWasEnabled;
  };

  HINSTANCE instance_;
  std::vector<Modal> modal_;
  StyleColours style_;
  Form* main_ = nullptr;
  MessageHook hook_;
  UniqueHook getMessageHook_;
  std::map<std::tuple<Text, int, bool, bool>, UniqueFont> fonts_;
  std::map<Text, Text> faces_;
  std::map<COLORREF, UniqueBrush> brushes_;
  int nextId_ = 100;
  int64_t pumpSlice_ = 0;     // performance-counter ticks between two looks at the queue
  int64_t lastPumped_ = 0;    // when the pump last looked
  bool pumpedOnce_ = false;
};

// The system's plain colours, used when the style is not available.
StyleColours PlainStyle();

}  // namespace nb::ui::win32
