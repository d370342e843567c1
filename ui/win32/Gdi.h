// Owners for the GDI and window-manager handles of the win32 back end, and a
// guard that selects an object into a device context for one scope.
#pragma once

#include <windows.h>

#include "platform/UniqueHandle.h"

namespace nb::ui::win32 {

template <typename T>
struct GdiObjectPolicy {
  using Type = T;
  static Type Empty() { return nullptr; }
  static void Close(Type object) { ::DeleteObject(object); }
};
struct IconPolicy {
  using Type = HICON;
  static Type Empty() { return nullptr; }
  static void Close(Type icon) { ::DestroyIcon(icon); }
};
struct MemoryDcPolicy {
  using Type = HDC;
  static Type Empty() { return nullptr; }
  static void Close(Type dc) { ::DeleteDC(dc); }
};
struct HookPolicy {
  using Type = HHOOK;
  static Type Empty() { return nullptr; }
  static void Close(Type hook) { ::UnhookWindowsHookEx(hook); }
};

using UniqueFont = UniqueHandle<GdiObjectPolicy<HFONT>>;
using UniqueBrush = UniqueHandle<GdiObjectPolicy<HBRUSH>>;
using UniquePen = UniqueHandle<GdiObjectPolicy<HPEN>>;
using UniqueBitmap = UniqueHandle<GdiObjectPolicy<HBITMAP>>;
using UniqueIcon = UniqueHandle<IconPolicy>;
using UniqueMemoryDc = UniqueHandle<MemoryDcPolicy>;
using UniqueHook = UniqueHandle<HookPolicy>;

// Selects an object for the life of the guard, then puts the old one back.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
  ~Selected() { ::SelectObject(dc_, old_); }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A device context from GetDC, released at the end of the scope.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
  ~WindowDc() { ::ReleaseDC(window_, dc_); }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint/EndPaint, with an off-screen bitmap to draw into so that nothing
// flickers; the picture is copied to the screen when the scope ends.
class BufferedPaint {
 public:
  explicit BufferedPaint(HWND window);
  ~BufferedPaint();
  BufferedPaint(const BufferedPaint&) = delete;
  BufferedPaint& operator=(const BufferedPaint&) = delete;
  HDC dc() const { return memory_.get() ? memory_.get() : ps_.hdc; }
  const RECT& client() const { return client_; }

 private:
  HWND window_;
  PAINTSTRUCT ps_{};
  RECT client_{};
  UniqueMemoryDc memory_;
  UniqueBitmap bitmap_;
  HGDIOBJ oldBitmap_ = nullptr;
};

void FillSolid(HDC dc, const RECT& rect, COLORREF colour);
void FrameSolid(HDC dc, const RECT& rect, COLORREF colour);
void LineSolid(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour);

}  // namespace nb::ui::win32
