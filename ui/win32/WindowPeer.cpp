#include "ui/win32/WindowPeer.h"

#include <commctrl.h>
#include <windowsx.h>

#include "platform/win32/Wide.h"
#include "ui/Form.h"

namespace nb::ui::win32 {

namespace {
constexpr UINT_PTR kSubclassId = 1;
}

WindowPeer::~WindowPeer() {
  if (!hwnd_) return;
  // The window goes away quietly: nothing reaches this half-destroyed peer.
  HWND window = hwnd_;
  hwnd_ = nullptr;
  ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  if (system_) ::RemoveWindowSubclass(window, &WindowPeer::SubclassProc, kSubclassId);
  ::DestroyWindow(window);
}

WindowPeer* WindowPeer::FromWindow(HWND window) {
  return window ? reinterpret_cast<WindowPeer*>(::GetWindowLongPtrW(window, GWLP_USERDATA)) : nullptr;
}

void WindowPeer::CreateOwn(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent, int id,
                           bool withCaption) {
  const Bounds& b = control_.GetBounds();
  const std::wstring caption = withCaption ? nb::win32::ToWide(control_.Caption()) : std::wstring();
  HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr;
  ::CreateWindowExW(exStyle, className, caption.c_str(), style, b.left, b.top, b.width, b.height, parent, menu,
                    tk_.Instance(), this);
  // hwnd_ is set at WM_NCCREATE.
  if (hwnd_) FontChanged();
}

void WindowPeer::CreateSystem(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent, int id) {
  const Bounds& b = control_.GetBounds();
  const std::wstring caption = nb::win32::ToWide(control_.Caption());
  hwnd_ = ::CreateWindowExW(exStyle, className, caption.c_str(), style, b.left, b.top, b.width, b.height, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), tk_.Instance(), nullptr);
  if (!hwnd_) return;
  system_ = true;
  ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ::SetWindowSubclass(hwnd_, &WindowPeer::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  FontChanged();
}

LRESULT CALLBACK WindowPeer::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* peer = static_cast<WindowPeer*>(create->lpCreateParams);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(peer));
    if (peer) peer->hwnd_ = window;
  }
  WindowPeer* peer = FromWindow(window);
  if (!peer) return ::DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    peer->hwnd_ = nullptr;
    return ::DefWindowProcW(window, message, wParam, lParam);
  }
  try {
    return peer->Handle(message, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

LRESULT CALLBACK WindowPeer::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR data) {
  auto* peer = reinterpret_cast<WindowPeer*>(data);
  if (message == WM_NCDESTROY) {
    ::RemoveWindowSubclass(window, &WindowPeer::SubclassProc, kSubclassId);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    if (peer) peer->hwnd_ = nullptr;
    return ::DefSubclassProc(window, message, wParam, lParam);
  }
  if (!peer) return ::DefSubclassProc(window, message, wParam, lParam);
  try {
    return peer->Handle(message, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

LRESULT WindowPeer::Default(UINT message, WPARAM wParam, LPARAM lParam) {
  return system_ ? ::DefSubclassProc(hwnd_, message, wParam, lParam) : ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT WindowPeer::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETFOCUS:
      // The form remembers who had the focus, to give it back on activation.
      if (control_.Kind() != ControlKind::Form)
        if (Form* form = control_.OwnerForm()) form->SetFocusedControl(&control_);
      break;
    case WM_COMMAND:
      if (lParam) {
        if (WindowPeer* child = FromWindow(reinterpret_cast<HWND>(lParam))) child->Command(HIWORD(wParam));
        return 0;
      }
      break;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (WindowPeer* child = FromWindow(item->hwndItem))
        if (child->DrawItem(*item)) return TRUE;
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      if (WindowPeer* child = FromWindow(reinterpret_cast<HWND>(lParam)))
        if (HBRUSH brush = child->ChildColours(reinterpret_cast<HDC>(wParam)))
          return reinterpret_cast<LRESULT>(brush);
      break;
    default:
      break;
  }
  return Default(message, wParam, lParam);
}

bool WindowPeer::HandleCommonMouse(UINT message, LPARAM lParam) {
  switch (message) {
    case WM_SETCURSOR:
      if (control_.GetCursor() == Cursor::Hand) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return true;
      }
      return false;
    case WM_MOUSEMOVE:
      if (!tracking_) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd_, 0};
        tracking_ = ::TrackMouseEvent(&track) != FALSE;
        control_.MouseEnter();
      }
      return true;
    case WM_MOUSELEAVE:
      tracking_ = false;
      pressed_ = false;
      control_.MouseLeave();
      return true;
    case WM_LBUTTONDOWN:
      pressed_ = true;
      return true;
    case WM_LBUTTONUP: {
      // A click message alone (automation) counts like a full press and release.
      RECT client;
      ::GetClientRect(hwnd_, &client);
      const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      pressed_ = false;
      if (::PtInRect(&client, at)) control_.Click();
      return true;
    }
    case BM_CLICK:
      control_.Click();
      return true;
    default:
      return false;
  }
}

COLORREF WindowPeer::Background() const { return tk_.Style().window; }

COLORREF WindowPeer::ParentBackground() const {
  if (control_.Parent())
    if (auto* parent = dynamic_cast<WindowPeer*>(control_.Parent()->Peer())) return parent->Background();
  return tk_.Style().window;
}

void WindowPeer::CaptionChanged() {
  if (hwnd_) ::SetWindowTextW(hwnd_, nb::win32::ToWide(control_.Caption()).c_str());
  ContentChanged();
}

void WindowPeer::VisibleChanged() {
  if (hwnd_) ::ShowWindow(hwnd_, control_.Visible() ? SW_SHOWNA : SW_HIDE);
}

void WindowPeer::EnabledChanged() {
  if (hwnd_) ::EnableWindow(hwnd_, control_.Enabled());
}

void WindowPeer::FontChanged() {
  if (hwnd_) ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(tk_.FontFor(control_.GetFont())), TRUE);
  ContentChanged();
}

void WindowPeer::BoundsChanged() {
  if (!hwnd_) return;
  const Bounds& b = control_.GetBounds();
  ::SetWindowPos(hwnd_, nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowPeer::FocusRequested() {
  if (hwnd_) ::SetFocus(hwnd_);
}

void WindowPeer::ContentChanged() {
  if (hwnd_) ::InvalidateRect(hwnd_, nullptr, TRUE);
}

}  // namespace nb::ui::win32
