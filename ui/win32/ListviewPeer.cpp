// The grouped check-box list, drawn by us: the header of captioned columns,
// group captions with their picture and a grey band, a box-style check box on
// every row, whole-row selection and a focus rectangle. Only the visible lines
// are painted, into an off-screen bitmap. Geometry, keyboard and clicks are
// the model's; this window paints, scrolls and forwards input.
#include <windowsx.h>

#include <vector>

#include "platform/win32/Wide.h"
#include "ui/EasyListview.h"
#include "ui/win32/AccessibleListview.h"
#include "ui/win32/WindowPeer.h"

namespace nb::ui::win32 {

namespace {

COLORREF Mix(COLORREF a, COLORREF b, int percentOfB) {
  auto mix = [&](int x, int y) { return (x * (100 - percentOfB) + y * percentOfB) / 100; };
  return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

UINT AlignFormat(TextAlign align) {
  switch (align) {
    case TextAlign::Center: return DT_CENTER;
    case TextAlign::Right: return DT_RIGHT;
    default: return DT_LEFT;
  }
}

void DrawText(HDC dc, TextView text, RECT r, UINT format) {
  const std::wstring wide = nb::win32::ToWide(text);
  ::DrawTextW(dc, wide.c_str(), int(wide.size()), &r, format | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

class ListviewPeer : public WindowPeer {
 public:
  ListviewPeer(Win32Toolkit& tk, TEasyListview& list) : WindowPeer(tk, list), list_(list) {
    for (const Text& name : list.GroupPictures()) {
      const std::wstring wide = nb::win32::ToWide(name);
      pictures_.emplace_back(static_cast<HICON>(::LoadImageW(tk.Instance(), wide.c_str(), IMAGE_ICON, 16, 16, 0)));
    }
    list.SetChangeListener([this](ListChange change, ListPos pos) { access_.Announce(Hwnd(), change, pos); });
  }
  ~ListviewPeer() override { list_.SetChangeListener(nullptr); }

  void ContentChanged() override {
    if (!Hwnd()) return;
    UpdateScrollBars();
    ::InvalidateRect(Hwnd(), nullptr, FALSE);
  }
  void CaptionChanged() override {}
  void Attached() override {
    WindowPeer::Attached();
    ReadViewSize();
  }

 protected:
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT: {
        BufferedPaint paint(Hwnd());
        Paint(paint.dc(), paint.client());
        return 0;
      }
      case WM_PRINTCLIENT: {
        RECT client;
        ::GetClientRect(Hwnd(), &client);
        Paint(reinterpret_cast<HDC>(wParam), client);
        return 0;
      }
      case WM_SIZE:
        ReadViewSize();
        return 0;
      case WM_VSCROLL:
        list_.ScrollTo(ScrollTarget(SB_VERT, LOWORD(wParam), list_.ScrollY(), list_.RowHeight(), list_.ViewHeight()));
        return 0;
      case WM_HSCROLL:
        list_.ScrollXTo(ScrollTarget(SB_HORZ, LOWORD(wParam), list_.ScrollX(), 20, list_.ViewWidth()));
        return 0;
      case WM_MOUSEWHEEL: {
        wheel_ += GET_WHEEL_DELTA_WPARAM(wParam);
        const int notches = wheel_ / WHEEL_DELTA;
        wheel_ -= notches * WHEEL_DELTA;
        if (notches) list_.Wheel(notches);
        return 0;
      }
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        if (::GetFocus() != Hwnd()) ::SetFocus(Hwnd());
        list_.MouseDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
      case WM_GETDLGCODE: {
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) return DLGC_WANTMESSAGE;
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
      }
      case WM_KEYDOWN:
        if (const auto key = KeyOf(wParam)) {
          list_.KeyDown(*key);
          return 0;
        }
        break;
      case WM_CHAR:
        return 0;  // Space arrives as WM_KEYDOWN; no beeps for the rest
      case WM_GETOBJECT:
        if (const auto answer = access_.Answer(Hwnd(), wParam, lParam)) return *answer;
        break;
      case WM_SETFOCUS:
      case WM_KILLFOCUS:
        ::InvalidateRect(Hwnd(), nullptr, FALSE);
        // Tools follow the focus into the list: to its focused row, or to the list.
        if (message == WM_SETFOCUS) access_.Announce(Hwnd(), ListChange::Focus, list_.FocusedRow());
        break;
      default:
        break;
    }
    return WindowPeer::Handle(message, wParam, lParam);
  }

 private:
  static std::optional<ListKey> KeyOf(WPARAM vk) {
    switch (vk) {
      case VK_UP: return ListKey::Up;
      case VK_DOWN: return ListKey::Down;
      case VK_HOME: return ListKey::Home;
      case VK_END: return ListKey::End;
      case VK_PRIOR: return ListKey::PageUp;
      case VK_NEXT: return ListKey::PageDown;
      case VK_SPACE: return ListKey::Space;
      case VK_RETURN: return ListKey::Enter;
      default: return std::nullopt;
    }
  }

  int ScrollTarget(int bar, int code, int pos, int line, int page) {
    switch (code) {
      case SB_LINEUP: return pos - line;
      case SB_LINEDOWN: return pos + line;
      case SB_PAGEUP: return pos - page;
      case SB_PAGEDOWN: return pos + page;
      case SB_TOP: return 0;
      case SB_BOTTOM: return 1 << 30;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION: {
        SCROLLINFO info{sizeof(info), SIF_TRACKPOS, 0, 0, 0, 0, 0};
        ::GetScrollInfo(Hwnd(), bar, &info);
        return info.nTrackPos;
      }
      default: return pos;
    }
  }

  void ReadViewSize() {
    if (!Hwnd()) return;
    RECT client;
    ::GetClientRect(Hwnd(), &client);
    list_.SetViewSize(client.right, client.bottom);
    UpdateScrollBars();
    ::InvalidateRect(Hwnd(), nullptr, FALSE);
  }

  void UpdateScrollBars() {
    if (updatingBars_) return;
    updatingBars_ = true;
    SCROLLINFO v{sizeof(v), SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0,
                 std::max(0, list_.ContentHeight() - 1), UINT(std::max(0, list_.ViewHeight())), list_.ScrollY(), 0};
    if (v.nMax < int(v.nPage)) v.fMask &= ~SIF_DISABLENOSCROLL;
    ::SetScrollInfo(Hwnd(), SB_VERT, &v, TRUE);
    SCROLLINFO h{sizeof(h), SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, list_.ContentWidth() - 1),
                 UINT(std::max(0, list_.ViewWidth())), list_.ScrollX(), 0};
    ::SetScrollInfo(Hwnd(), SB_HORZ, &h, TRUE);
    updatingBars_ = false;
    // Showing or hiding a bar changed the client area.
    RECT client;
    ::GetClientRect(Hwnd(), &client);
    if (client.right != list_.ViewWidth() || client.bottom != list_.ViewHeight() + list_.HeaderHeight()) {
      list_.SetViewSize(client.right, client.bottom);
      if (!resizing_) {
        resizing_ = true;
        UpdateScrollBars();
        resizing_ = false;
      }
    }
  }

  void Paint(HDC dc, const RECT& client) {
    const StyleColours& s = tk_.Style();
    FillSolid(dc, client, s.listBackground);
    ::SetBkMode(dc, TRANSPARENT);

    Font rowFont = list_.GetFont();
    Font captionFont = rowFont;
    captionFont.height = list_.CaptionFontHeight();
    Font groupFont = captionFont;
    groupFont.bold = GroupCaptionsFitBold(dc, groupFont, client.right);

    const int width = std::max<int>(client.right, list_.ContentWidth() - list_.ScrollX());
    const bool focused = ::GetFocus() == Hwnd();
    const int x0 = -list_.ScrollX();
    {
      Selected font(dc, tk_.FontFor(rowFont));
      const int saved = ::SaveDC(dc);
      ::IntersectClipRect(dc, 0, list_.HeaderHeight(), client.right, client.bottom);
      for (const ListLine& line : list_.VisibleLines()) {
        const RECT r{0, line.top, width, line.top + line.height};
        if (line.row < 0)
          PaintGroup(dc, line, r, x0, groupFont);
        else
          PaintRow(dc, line, r, x0, focused);
      }
      // An empty list with the focus frames its whole area.
      if (focused && !list_.FocusMark().Valid()) {
        RECT area{1, list_.HeaderHeight() + 1, client.right - 1, client.bottom - 1};
        ::SetTextColor(dc, RGB(0, 0, 0));
        ::DrawFocusRect(dc, &area);
      }
      ::RestoreDC(dc, saved);
    }
    PaintHeader(dc, client, x0, captionFont);
  }

  // Bold group captions when every one of them fits that way, plain otherwise.
  bool GroupCaptionsFitBold(HDC dc, Font font, int width) {
    font.bold = true;
    Selected measure(dc, tk_.FontFor(font));
    const int room = std::max(width, list_.ContentWidth()) - 32;
    for (int g = 0; g < list_.GroupCount(); ++g) {
      const std::wstring wide = nb::win32::ToWide(list_.Group(g).caption);
      SIZE extent{};
      ::GetTextExtentPoint32W(dc, wide.c_str(), int(wide.size()), &extent);
      if (extent.cx > room) return false;
    }
    return true;
  }

  void PaintHeader(HDC dc, const RECT& client, int x0, const Font& font) {
    const int h = list_.HeaderHeight();
    if (h <= 0) return;
    const StyleColours& s = tk_.Style();
    FillSolid(dc, {0, 0, client.right, h / 2}, Mix(s.headerFace, RGB(255, 255, 255), 45));
    FillSolid(dc, {0, h / 2, client.right, h}, s.headerFace);
    FillSolid(dc, {0, h - 1, client.right, h}, s.headerEdge);
    Selected keep(dc, tk_.FontFor(font));
    ::SetTextColor(dc, s.headerText);
    int left = x0;
    for (int c = 0; c < list_.ColumnCount(); ++c) {
      const ListColumn& column = list_.Column(c);
      const RECT cell{left, 0, left + column.width, h - 1};
      FillSolid(dc, {cell.right - 1, 4, cell.right, h - 5}, s.headerEdge);
      RECT text{cell.left + 6, cell.top, cell.right - 6, cell.bottom};
      if (c == list_.SortColumn()) {
        // A small arrow at the right end shows the order.
        const int ax = cell.right - 14;
        const int ay = h / 2;
        for (int i = 0; i < 4; ++i) {
          const int y = list_.SortAscending() ? ay - 2 + i : ay + 2 - i;  // ascending points up
          FillSolid(dc, {ax - i, y, ax + i + 1, y + 1}, s.headerText);
        }
        text.right -= 14;
      }
      DrawText(dc, column.caption, text, AlignFormat(column.align));
      left += column.width;
    }
  }

  void PaintGroup(HDC dc, const ListLine& line, const RECT& r, int x0, const Font& font) {
    const StyleColours& s = tk_.Style();
    const ListGroup& group = list_.Group(line.group);
    // Picture and caption above a band that runs across the list.
    const int bandTop = line.top + line.height - 2 - TEasyListview::kBandThickness;
    const int top = line.top + 2;
    const int textHeight = bandTop - 1 - top;
    int textLeft = x0 + 6;
    if (group.imageIndex >= 0 && size_t(group.imageIndex) < pictures_.size() && pictures_[size_t(group.imageIndex)]) {
      ::DrawIconEx(dc, x0 + 6, top + (textHeight - 16) / 2, pictures_[size_t(group.imageIndex)].get(), 16, 16, 0,
                   nullptr, DI_NORMAL);
      textLeft += 22;
    }
    const RECT text{textLeft, top, r.right - 4, top + textHeight};
    Selected keep(dc, tk_.FontFor(font));
    ::SetTextColor(dc, s.groupText);
    DrawText(dc, group.caption, text, DT_LEFT);
    FillSolid(dc, {x0 + 6, bandTop, std::max<int>(r.right, x0 + list_.ContentWidth()) - 6, bandTop + TEasyListview::kBandThickness},
              s.groupBand);
  }

  void PaintRow(HDC dc, const ListLine& line, const RECT& r, int x0, bool focused) {
    const StyleColours& s = tk_.Style();
    const ListRow& row = list_.Row(line.group, line.row);
    if (row.selected) FillSolid(dc, r, focused ? s.selection : Mix(s.selection, s.listBackground, 45));

    // The check box: a framed white box, ticked with a two-stroke mark.
    const int box = TEasyListview::kCheckSize;
    const int bx = x0 + TEasyListview::kCheckIndent;
    const int by = line.top + (line.height - box) / 2;
    FillSolid(dc, {bx, by, bx + box, by + box}, RGB(255, 255, 255));
    FrameSolid(dc, {bx, by, bx + box, by + box}, s.checkBorder);
    if (row.checked) {
      UniquePen pen(::CreatePen(PS_SOLID, 2, s.checkMark));
      Selected keep(dc, pen.get());
      const POINT mark[3] = {{bx + 3, by + 6}, {bx + 5, by + 9}, {bx + 10, by + 3}};
      ::Polyline(dc, mark, 3);
    }

    ::SetTextColor(dc, row.selected ? s.selectionText : list_.GetFont().color);
    int left = x0;
    for (int c = 0; c < list_.ColumnCount() && c < 2; ++c) {
      const ListColumn& column = list_.Column(c);
      RECT cell{left + 4, line.top, left + column.width - 4, line.top + line.height};
      if (c == 0) cell.left = bx + box + 6;
      DrawText(dc, c == 0 ? row.caption : row.detail, cell, AlignFormat(column.align));
      left += column.width;
    }
    // The focused row, or the first row until one has the focus.
    if (focused && list_.FocusMark() == ListPos{line.group, line.row}) {
      RECT focus = r;
      ::SetTextColor(dc, RGB(0, 0, 0));
      ::DrawFocusRect(dc, &focus);
    }
  }

  TEasyListview& list_;
  ListAccessibility access_{list_};
  std::vector<UniqueIcon> pictures_;
  int wheel_ = 0;
  bool updatingBars_ = false;
  bool resizing_ = false;
};

}  // namespace

std::unique_ptr<WindowPeer> MakeListviewPeer(Win32Toolkit& tk, Control& list, HWND parent, int id) {
  auto peer = std::make_unique<ListviewPeer>(tk, static_cast<TEasyListview&>(list));
  peer->CreateOwn(kListviewClass,
                  WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL | (list.Visible() ? WS_VISIBLE : 0),
                  WS_EX_STATICEDGE, parent, id);
  return peer;
}

}  // namespace nb::ui::win32
