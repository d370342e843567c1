// The top-level window of a form: sizing limits, closing through the form's
// close query, the end of the program when the main window goes.
#include <windowsx.h>

#include "ui/win32/WindowPeer.h"

namespace nb::ui::win32 {

namespace {

class FormPeer : public WindowPeer {
 public:
  FormPeer(Win32Toolkit& tk, Form& form) : WindowPeer(tk, form), form_(form) {}
  ~FormPeer() override { tk_.Forget(form_); }

  void Create(HWND owner) {
    const bool dialog = form_.Border() == FormBorder::Dialog;
    const DWORD style = dialog ? (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN | DS_MODALFRAME)
                               : (WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN);
    const DWORD exStyle = (dialog ? WS_EX_DLGMODALFRAME : WS_EX_APPWINDOW) | WS_EX_CONTROLPARENT;
    const std::wstring cls(form_.WindowClass().begin(), form_.WindowClass().end());
    // The title comes when the window is shown: until then a second start
    // does not take the half-built window for a running instance.
    CreateOwn(cls.c_str(), style, exStyle, owner, 0, /*withCaption=*/false);
    if (!Hwnd()) return;
    RECT outer{0, 0, form_.ClientWidth(), form_.ClientHeight()};
    ::AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    int w = outer.right - outer.left;
    int h = outer.bottom - outer.top;
    // Frames differ between systems and display drivers: measure, then correct.
    const int wantWidth = form_.ClientWidth();
    const int wantHeight = form_.ClientHeight();
    ::SetWindowPos(Hwnd(), nullptr, 0, 0, w, h, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    w += wantWidth - client.right;
    h += wantHeight - client.bottom;
    RECT area{};
    if (form_.Position() == FormPosition::OwnerCenter && owner && ::IsWindowVisible(owner))
      ::GetWindowRect(owner, &area);
    else
      ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    const int x = area.left + ((area.right - area.left) - w) / 2;
    const int y = area.top + ((area.bottom - area.top) - h) / 2;
    ::SetWindowPos(Hwnd(), nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  }

  // The form's bounds are its client area; the window itself is placed by Create and the user.
  void BoundsChanged() override {}
  void VisibleChanged() override {
    if (!Hwnd()) return;
    if (form_.Visible()) CaptionChanged();
    ::ShowWindow(Hwnd(), form_.Visible() ? SW_SHOW : SW_HIDE);
  }

 protected:
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_CLOSE:
        tk_.RequestClose(form_);
        return 0;
      case WM_DESTROY:
        form_.SetState(Form::State::Closed);
        if (form_.OnDestroy) form_.OnDestroy();
        if (tk_.IsMain(form_)) ::PostQuitMessage(0);
        return 0;
      case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) form_.SetClientSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
      case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        if (form_.MinOuterWidth() > 0) info->ptMinTrackSize.x = form_.MinOuterWidth();
        if (form_.MinOuterHeight() > 0) info->ptMinTrackSize.y = form_.MinOuterHeight();
        return 0;
      }
      case WM_ERASEBKGND: {
        RECT client;
        ::GetClientRect(Hwnd(), &client);
        FillSolid(reinterpret_cast<HDC>(wParam), client, Background());
        return 1;
      }
      case WM_ACTIVATE:
        // Give the focus back to the control that had it.
        if (LOWORD(wParam) != WA_INACTIVE && form_.FocusedControl()) {
          if (HWND focus = Win32Toolkit::WindowOf(*form_.FocusedControl())) ::SetFocus(focus);
          return 0;
        }
        break;
      default:
        break;
    }
    return WindowPeer::Handle(message, wParam, lParam);
  }

 private:
  Form& form_;
};

}  // namespace

std::unique_ptr<WindowPeer> MakeFormPeer(Win32Toolkit& tk, Form& form, HWND owner) {
  auto peer = std::make_unique<FormPeer>(tk, form);
  peer->Create(owner);
  return peer;
}

}  // namespace nb::ui::win32
