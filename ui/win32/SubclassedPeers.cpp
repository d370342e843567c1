// Buttons and the memo: system controls, subclassed. Buttons are drawn by us
// in the style's colours but stay real buttons (BM_CLICK, keyboard, caption as
// window text).
#include <windowsx.h>

#include "platform/win32/Wide.h"
#include "ui/Controls.h"
#include "ui/win32/WindowPeer.h"

namespace nb::ui::win32 {

namespace {

class ButtonPeer : public WindowPeer {
 public:
  using WindowPeer::WindowPeer;

  void Command(WORD code) override {
    if (code == BN_CLICKED || code == BN_DOUBLECLICKED) Model().Click();
  }

  bool DrawItem(const DRAWITEMSTRUCT& item) override {
    const StyleColours& s = tk_.Style();
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    FillSolid(dc, r, ParentBackground());
    const bool pressed = item.itemState & ODS_SELECTED;
    const bool disabled = item.itemState & ODS_DISABLED;
    const COLORREF face = pressed ? s.buttonPressed : (hot_ && !disabled ? s.buttonHot : s.buttonFace);
    UniqueBrush brush(::CreateSolidBrush(face));
    UniquePen pen(::CreatePen(PS_SOLID, 1, disabled ? s.disabledText : s.buttonBorder));
    {
      Selected keepBrush(dc, brush.get());
      Selected keepPen(dc, pen.get());
      ::RoundRect(dc, r.left, r.top, r.right, r.bottom, 5, 5);
    }
    // A lighter upper half gives the face a little depth.
    if (!pressed) {
      RECT upper{r.left + 2, r.top + 2, r.right - 2, r.top + (r.bottom - r.top) / 2};
      const COLORREF light = RGB((GetRValue(face) + 255 * 2) / 3, (GetGValue(face) + 255 * 2) / 3,
                                 (GetBValue(face) + 255 * 2) / 3);
      FillSolid(dc, upper, RGB((GetRValue(face) + GetRValue(light)) / 2, (GetGValue(face) + GetGValue(light)) / 2,
                               (GetBValue(face) + GetBValue(light)) / 2));
    }
    Selected font(dc, tk_.FontFor(Model().GetFont()));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, disabled ? s.disabledText : s.buttonText);
    const std::wstring caption = nb::win32::ToWide(Model().Caption());
    RECT text = r;
    if (pressed) ::OffsetRect(&text, 1, 1);
    ::DrawTextW(dc, caption.c_str(), int(caption.size()), &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
      RECT focus = r;
      ::InflateRect(&focus, -3, -3);
      ::DrawFocusRect(dc, &focus);
    }
    return true;
  }

 protected:
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_MOUSEMOVE:
        if (!hot_) {
          hot_ = true;
          TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Hwnd(), 0};
          ::TrackMouseEvent(&track);
          ::InvalidateRect(Hwnd(), nullptr, FALSE);
        }
        break;
      case WM_MOUSELEAVE:
        hot_ = false;
        ::InvalidateRect(Hwnd(), nullptr, FALSE);
        break;
      default:
        break;
    }
    return WindowPeer::Handle(message, wParam, lParam);
  }

 private:
  bool hot_ = false;
};

// The edit control takes the memo's lines in one piece once the handler that
// changed them has returned: setting its text line by line costs a full
// re-layout per line.
constexpr UINT kTakeLines = WM_APP + 1;

class MemoPeer : public WindowPeer {
 public:
  MemoPeer(Win32Toolkit& tk, Memo& memo) : WindowPeer(tk, memo), memo_(memo) {}

  void ContentChanged() override {
    if (!Hwnd() || pending_) return;
    pending_ = ::PostMessageW(Hwnd(), kTakeLines, 0, 0) != FALSE;
    if (!pending_) TakeLines();
  }
  // The memo's text is its lines, not a caption.
  void CaptionChanged() override {}
  HBRUSH ChildColours(HDC dc) override {
    ::SetTextColor(dc, memo_.GetFont().color);
    ::SetBkColor(dc, tk_.Style().listBackground);
    return tk_.BrushFor(tk_.Style().listBackground);
  }
  void TakeLines() {
    pending_ = false;
    if (Hwnd()) ::SetWindowTextW(Hwnd(), nb::win32::ToWide(memo_.JoinedText()).c_str());
  }

 protected:
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kTakeLines) {
      TakeLines();
      return 0;
    }
    return WindowPeer::Handle(message, wParam, lParam);
  }

 private:
  Memo& memo_;
  bool pending_ = false;
};

}  // namespace

std::unique_ptr<WindowPeer> MakeButtonPeer(Win32Toolkit& tk, Control& button, HWND parent, int id) {
  auto peer = std::make_unique<ButtonPeer>(tk, button);
  peer->CreateSystem(L"BUTTON",
                     WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS | BS_OWNERDRAW | (button.Visible() ? WS_VISIBLE : 0) |
                         (button.Enabled() ? 0 : WS_DISABLED),
                     0, parent, id);
  return peer;
}

std::unique_ptr<WindowPeer> MakeMemoPeer(Win32Toolkit& tk, Control& memo, HWND parent, int id) {
  auto peer = std::make_unique<MemoPeer>(tk, static_cast<Memo&>(memo));
  peer->CreateSystem(L"EDIT",
                     WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY |
                         ES_AUTOVSCROLL | ES_AUTOHSCROLL | (memo.Visible() ? WS_VISIBLE : 0),
                     WS_EX_STATICEDGE, parent, id);
  peer->TakeLines();
  return peer;
}

}  // namespace nb::ui::win32
