// Panels, group boxes, labels, pictures and the splitter: windows of our own
// classes drawn in the style's colours.
#include <windowsx.h>

#include "platform/win32/Wide.h"
#include "ui/Controls.h"
#include "ui/win32/WindowPeer.h"

namespace nb::ui::win32 {

namespace {

UINT TextFormat(TextAlign align) {
  switch (align) {
    case TextAlign::Center: return DT_CENTER;
    case TextAlign::Right: return DT_RIGHT;
    default: return DT_LEFT;
  }
}

class PanelPeer : public WindowPeer {
 public:
  using WindowPeer::WindowPeer;

  COLORREF Background() const override {
    if (Model().Kind() == ControlKind::GroupBox) return ParentBackground();
    return Model().GetAlign() == Align::Top ? tk_.Style().topPanel : tk_.Style().panel;
  }

 protected:
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT:
        Paint();
        return 0;
      default:
        return WindowPeer::Handle(message, wParam, lParam);
    }
  }

 private:
  void Paint() {
    BufferedPaint paint(Hwnd());
    HDC dc = paint.dc();
    RECT r = paint.client();
    FillSolid(dc, r, Background());
    const StyleColours& s = tk_.Style();
    const std::wstring caption = nb::win32::ToWide(Model().Caption());
    Selected font(dc, tk_.FontFor(Model().GetFont()));
    ::SetBkMode(dc, TRANSPARENT);
    if (Model().Kind() == ControlKind::GroupBox) {
      // A rounded frame with the caption set into its top edge.
      RECT frame{r.left, r.top + 6, r.right, r.bottom};
      UniquePen pen(::CreatePen(PS_SOLID, 1, s.panelEdge));
      Selected keepPen(dc, pen.get());
      Selected keepBrush(dc, ::GetStockObject(NULL_BRUSH));
      ::RoundRect(dc, frame.left, frame.top, frame.right, frame.bottom, 6, 6);
      if (!caption.empty()) {
        RECT text{r.left + 8, r.top, r.right - 8, r.top + 14};
        ::SetTextColor(dc, Model().GetFont().color);
        ::DrawTextW(dc, caption.c_str(), int(caption.size()), &text, DT_SINGLELINE | DT_NOPREFIX);
      }
      return;
    }
    if (Model().Bevel()) {
      const bool top = Model().GetAlign() == Align::Top;
      const int y = top ? r.bottom - 1 : r.top;
      LineSolid(dc, r.left, y, r.right, y, s.panelEdge);
    }
    if (!caption.empty()) {
      ::SetTextColor(dc, s.text);
      ::DrawTextW(dc, caption.c_str(), int(caption.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
  }
};

class LabelPeer : public WindowPeer {
 public:
  LabelPeer(Win32Toolkit& tk, Label& label) : WindowPeer(tk, label), label_(label) {}

  void CaptionChanged() override {
    WindowPeer::CaptionChanged();
    FitToCaption();
  }
  void FontChanged() override {
    WindowPeer::FontChanged();
    FitToCaption();
  }
  void Attached() override {
    WindowPeer::Attached();
    FitToCaption();
  }

  // Sizes the label to its caption; a right-aligned label keeps its right edge.
  void FitToCaption() {
    if (!Hwnd() || !label_.AutoSize()) return;
    WindowDc dc(Hwnd());
    Selected font(dc.get(), tk_.FontFor(label_.GetFont()));
    const std::wstring caption = nb::win32::ToWide(label_.Caption());
    RECT r{0, 0, 0, 0};
    ::DrawTextW(dc.get(), caption.empty() ? L" " : caption.c_str(), caption.empty() ? 1 : int(caption.size()), &r,
                DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    Bounds b = label_.GetBounds();
    const int width = caption.empty() ? 0 : int(r.right) + 1;
    if (label_.GetTextAlign() == TextAlign::Right) b.left += b.width - width;
    b.width = width;
    b.height = r.bottom;
    label_.SetBounds(b);
  }

 protected:
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (HandleCommonMouse(message, lParam)) return message == WM_SETCURSOR ? TRUE : 0;
    switch (message) {
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT: {
        BufferedPaint paint(Hwnd());
        HDC dc = paint.dc();
        RECT r = paint.client();
        FillSolid(dc, r, ParentBackground());
        Selected font(dc, tk_.FontFor(label_.GetFont()));
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, label_.Usable() ? label_.GetFont().color : tk_.Style().disabledText);
        const std::wstring caption = nb::win32::ToWide(label_.Caption());
        ::DrawTextW(dc, caption.c_str(), int(caption.size()), &r,
                    TextFormat(label_.GetTextAlign()) | DT_SINGLELINE | DT_NOPREFIX);
        // Only the keyboard focuses a label: mark it so that the user sees where Tab went.
        if (::GetFocus() == Hwnd()) {
          ::SetTextColor(dc, RGB(0, 0, 0));
          ::DrawFocusRect(dc, &r);
        }
        return 0;
      }
      case WM_SETFOCUS:
      case WM_KILLFOCUS:
        ::InvalidateRect(Hwnd(), nullptr, FALSE);
        return WindowPeer::Handle(message, wParam, lParam);
      case WM_NCHITTEST:
        return HTCLIENT;
      default:
        return WindowPeer::Handle(message, wParam, lParam);
    }
  }

 private:
  Label& label_;
};

class ImagePeer : public WindowPeer {
 public:
  ImagePeer(Win32Toolkit& tk, Image& image) : WindowPeer(tk, image), image_(image) {
    const std::wstring name = nb::win32::ToWide(image.Picture());
    const Bounds& b = image.GetBounds();
    icon_.reset(static_cast<HICON>(::LoadImageW(tk.Instance(), name.c_str(), IMAGE_ICON, b.width, b.height, 0)));
  }

 protected:
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (HandleCommonMouse(message, lParam)) return message == WM_SETCURSOR ? TRUE : 0;
    switch (message) {
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT: {
        BufferedPaint paint(Hwnd());
        FillSolid(paint.dc(), paint.client(), ParentBackground());
        if (icon_)
          ::DrawIconEx(paint.dc(), 0, 0, icon_.get(), image_.GetBounds().width, image_.GetBounds().height, 0, nullptr,
                       DI_NORMAL);
        return 0;
      }
      default:
        return WindowPeer::Handle(message, wParam, lParam);
    }
  }

 private:
  Image& image_;
  UniqueIcon icon_;
};

class SplitterPeer : public WindowPeer {
 public:
  SplitterPeer(Win32Toolkit& tk, Splitter& splitter) : WindowPeer(tk, splitter), splitter_(splitter) {}

 protected:
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_SETCURSOR:
        ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEWE));
        return TRUE;
      case WM_LBUTTONDOWN: {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ::ClientToScreen(Hwnd(), &p);
        startX_ = p.x;
        startSize_ = splitter_.Target().GetBounds().width;
        ::SetCapture(Hwnd());
        return 0;
      }
      case WM_MOUSEMOVE:
        if (::GetCapture() == Hwnd()) {
          POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
          ::ClientToScreen(Hwnd(), &p);
          splitter_.DragTo(startSize_ + (p.x - startX_));
        }
        return 0;
      case WM_LBUTTONUP:
        if (::GetCapture() == Hwnd()) ::ReleaseCapture();
        return 0;
      case WM_ERASEBKGND: {
        RECT r;
        ::GetClientRect(Hwnd(), &r);
        FillSolid(reinterpret_cast<HDC>(wParam), r, tk_.Style().splitter);
        return 1;
      }
      default:
        return WindowPeer::Handle(message, wParam, lParam);
    }
  }

 private:
  Splitter& splitter_;
  int startX_ = 0;
  int startSize_ = 0;
};

}  // namespace

std::unique_ptr<WindowPeer> MakePanelPeer(Win32Toolkit& tk, Control& panel, HWND parent, int id) {
  auto peer = std::make_unique<PanelPeer>(tk, panel);
  peer->CreateOwn(kPanelClass, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (panel.Visible() ? WS_VISIBLE : 0),
                  WS_EX_CONTROLPARENT, parent, id);
  return peer;
}

std::unique_ptr<WindowPeer> MakeLabelPeer(Win32Toolkit& tk, Control& label, HWND parent, int id) {
  auto peer = std::make_unique<LabelPeer>(tk, static_cast<Label&>(label));
  peer->CreateOwn(kLabelClass, WS_CHILD | WS_CLIPSIBLINGS | (label.Visible() ? WS_VISIBLE : 0), 0, parent, id);
  return peer;
}

std::unique_ptr<WindowPeer> MakeImagePeer(Win32Toolkit& tk, Control& image, HWND parent, int id) {
  auto peer = std::make_unique<ImagePeer>(tk, static_cast<Image&>(image));
  peer->CreateOwn(kImageClass, WS_CHILD | WS_CLIPSIBLINGS | (image.Visible() ? WS_VISIBLE : 0), 0, parent, id);
  return peer;
}

std::unique_ptr<WindowPeer> MakeSplitterPeer(Win32Toolkit& tk, Control& splitter, HWND parent, int id) {
  auto peer = std::make_unique<SplitterPeer>(tk, static_cast<Splitter&>(splitter));
  peer->CreateOwn(kSplitterClass, WS_CHILD | WS_CLIPSIBLINGS | (splitter.Visible() ? WS_VISIBLE : 0), 0, parent, id);
  return peer;
}

}  // namespace nb::ui::win32
