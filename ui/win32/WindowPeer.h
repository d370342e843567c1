// The window behind one control. Our own window classes reach their peer
// through GWLP_USERDATA, set at WM_NCCREATE; system controls (buttons, the
// memo) are subclassed and carry the peer in GWLP_USERDATA too, so that their
// parent can hand notifications to them. No exception leaves a window
// procedure.
#pragma once

#include <windows.h>

#include "ui/Control.h"
#include "ui/win32/Win32Toolkit.h"

namespace nb::ui::win32 {

// Window class names of our own controls.
inline constexpr wchar_t kPanelClass[] = L"NBPanel";
inline constexpr wchar_t kLabelClass[] = L"NBLabel";
inline constexpr wchar_t kImageClass[] = L"NBImage";
inline constexpr wchar_t kSplitterClass[] = L"NBSplitter";
inline constexpr wchar_t kListviewClass[] = L"NBListview";

class WindowPeer : public ControlPeer {
 public:
  WindowPeer(Win32Toolkit& toolkit, Control& control) : tk_(toolkit), control_(control) {}
  ~WindowPeer() override;
  WindowPeer(const WindowPeer&) = delete;
  WindowPeer& operator=(const WindowPeer&) = delete;

  HWND Hwnd() const { return hwnd_; }
  Control& Model() const { return control_; }
  static WindowPeer* FromWindow(HWND window);

  // A window of one of our classes, or of a system class that we subclass.
  void CreateOwn(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent, int id, bool withCaption = true);
  void CreateSystem(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent, int id);

  void CaptionChanged() override;
  void VisibleChanged() override;
  void EnabledChanged() override;
  void FontChanged() override;
  void BoundsChanged() override;
  void FocusRequested() override;
  void ContentChanged() override;

  // Runs once the control holds this peer.
  virtual void Attached() { BoundsChanged(); }

  // Notifications that the parent window receives for this child.
  virtual void Command(WORD) {}
  virtual bool DrawItem(const DRAWITEMSTRUCT&) { return false; }
  virtual HBRUSH ChildColours(HDC) { return nullptr; }
  // The colour behind this window's content, for children drawn on it.
  virtual COLORREF Background() const;

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data);

 protected:
  // Messages of this window; the default forwards child notifications and
  // otherwise does what the window class does.
  virtual LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
  // Hand cursor and hover tracking shared by labels and pictures.
  bool HandleCommonMouse(UINT message, LPARAM lParam);
  COLORREF ParentBackground() const;

  Win32Toolkit& tk_;

 private:
  Control& control_;
  HWND hwnd_ = nullptr;
  bool system_ = false;
  bool tracking_ = false;
  bool pressed_ = false;
};

std::unique_ptr<WindowPeer> MakeFormPeer(Win32Toolkit& tk, Form& form, HWND owner);
std::unique_ptr<WindowPeer> MakePanelPeer(Win32Toolkit& tk, Control& panel, HWND parent, int id);
std::unique_ptr<WindowPeer> MakeLabelPeer(Win32Toolkit& tk, Control& label, HWND parent, int id);
std::unique_ptr<WindowPeer> MakeImagePeer(Win32Toolkit& tk, Control& image, HWND parent, int id);
std::unique_ptr<WindowPeer> MakeSplitterPeer(Win32Toolkit& tk, Control& splitter, HWND parent, int id);
std::unique_ptr<WindowPeer> MakeButtonPeer(Win32Toolkit& tk, Control& button, HWND parent, int id);
std::unique_ptr<WindowPeer> MakeMemoPeer(Win32Toolkit& tk, Control& memo, HWND parent, int id);
std::unique_ptr<WindowPeer> MakeListviewPeer(Win32Toolkit& tk, Control& list, HWND parent, int id);

}  // namespace nb::ui::win32
