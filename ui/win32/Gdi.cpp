#include "ui/win32/Gdi.h"

namespace nb::ui::win32 {

BufferedPaint::BufferedPaint(HWND window) : window_(window) {
  ::BeginPaint(window_, &ps_);
  ::GetClientRect(window_, &client_);
  const int w = client_.right - client_.left;
  const int h = client_.bottom - client_.top;
  if (w <= 0 || h <= 0) return;
  memory_.reset(::CreateCompatibleDC(ps_.hdc));
  bitmap_.reset(::CreateCompatibleBitmap(ps_.hdc, w, h));
  if (!memory_ || !bitmap_) {
    memory_.reset();
    return;
  }
  oldBitmap_ = ::SelectObject(memory_.get(), bitmap_.get());
}

BufferedPaint::~BufferedPaint() {
  if (memory_) {
    ::BitBlt(ps_.hdc, 0, 0, client_.right, client_.bottom, memory_.get(), 0, 0, SRCCOPY);
    ::SelectObject(memory_.get(), oldBitmap_);
  }
  ::EndPaint(window_, &ps_);
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  const COLORREF old = ::SetBkColor(dc, colour);
  ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  ::SetBkColor(dc, old);
}

void FrameSolid(HDC dc, const RECT& rect, COLORREF colour) {
  FillSolid(dc, {rect.left, rect.top, rect.right, rect.top + 1}, colour);
  FillSolid(dc, {rect.left, rect.bottom - 1, rect.right, rect.bottom}, colour);
  FillSolid(dc, {rect.left, rect.top, rect.left + 1, rect.bottom}, colour);
  FillSolid(dc, {rect.right - 1, rect.top, rect.right, rect.bottom}, colour);
}

void LineSolid(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour) {
  UniquePen pen(::CreatePen(PS_SOLID, 1, colour));
  Selected keep(dc, pen.get());
  ::MoveToEx(dc, x1, y1, nullptr);
  ::LineTo(dc, x2, y2);
}

}  // namespace nb::ui::win32
