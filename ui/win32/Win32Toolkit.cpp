#include "ui/win32/Win32Toolkit.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "platform/win32/Wide.h"
#include "ui/win32/WindowPeer.h"

namespace nb::ui::win32 {

namespace {

// The message hook gets no context of its own; it reaches the toolkit of its
// thread through this one pointer, set while the hook is installed.
thread_local Win32Toolkit* t_hookOwner = nullptr;

LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == PM_REMOVE && t_hookOwner) t_hookOwner->Hooked(*reinterpret_cast<const MSG*>(lParam));
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

int CALLBACK FaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FaceExists(const Text& face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  const std::wstring wide = nb::win32::ToWide(face);
  wcsncpy(wanted.lfFaceName, wide.c_str(), LF_FACESIZE - 1);
  bool found = false;
  WindowDc dc(nullptr);
  ::EnumFontFamiliesExW(dc.get(), &wanted, &FaceFound, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

void RegisterOwnClass(HINSTANCE instance, const wchar_t* name, HICON icon) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (::GetClassInfoExW(instance, name, &existing)) return;
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  cls.lpfnWndProc = &WindowPeer::WindowProc;
  cls.hInstance = instance;
  cls.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  cls.hIcon = icon;
  cls.lpszClassName = name;
  ::RegisterClassExW(&cls);
}

// "Aqua Light Slate" -> "AQUA_LIGHT_SLATE", the style's resource name.
std::wstring StyleResourceName(TextView name) {
  std::wstring out;
  for (char16_t c : name) out += c == u' ' ? L'_' : wchar_t(c >= u'a' && c <= u'z' ? c - 32 : c);
  return out;
}

// An error box whose only button reads "Close"; a plain message box where the
// task dialog is not available.
void ShowErrorWithClose(const std::wstring& text) {
  using TaskDialogIndirectFn = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);
  HMODULE comctl = ::GetModuleHandleW(L"comctl32.dll");
  auto taskDialog =
      comctl ? reinterpret_cast<TaskDialogIndirectFn>(reinterpret_cast<void*>(::GetProcAddress(comctl, "TaskDialogIndirect")))
             : nullptr;
  if (taskDialog) {
    TASKDIALOG_BUTTON close{IDCLOSE, L"Close"};
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof(config);
    config.pszWindowTitle = L"Error";
    config.pszMainIcon = TD_ERROR_ICON;
    config.pszContent = text.c_str();
    config.cButtons = 1;
    config.pButtons = &close;
    config.nDefaultButton = IDCLOSE;
    if (SUCCEEDED(taskDialog(&config, nullptr, nullptr, nullptr))) return;
  }
  ::MessageBoxW(nullptr, text.c_str(), L"Error", MB_OK | MB_ICONERROR);
}

}  // namespace

StyleColours PlainStyle() {
  StyleColours s;
  s.window = s.panel = s.topPanel = ::GetSysColor(COLOR_BTNFACE);
  s.panelEdge = s.headerEdge = s.buttonBorder = s.checkBorder = ::GetSysColor(COLOR_BTNSHADOW);
  s.text = s.buttonText = s.headerText = s.groupText = s.checkMark = ::GetSysColor(COLOR_BTNTEXT);
  s.buttonFace = s.buttonHot = s.headerFace = s.splitter = ::GetSysColor(COLOR_BTNFACE);
  s.buttonPressed = ::GetSysColor(COLOR_3DLIGHT);
  s.disabledText = ::GetSysColor(COLOR_GRAYTEXT);
  s.listBackground = ::GetSysColor(COLOR_WINDOW);
  s.listText = ::GetSysColor(COLOR_WINDOWTEXT);
  s.groupBand = RGB(160, 160, 160);
  s.selection = ::GetSysColor(COLOR_HIGHLIGHT);
  s.selectionText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
  return s;
}

// Long operations pump once per file; every look at the queue is a system call
// on Windows and a round trip to the wineserver under Wine, as dear as listing
// the file itself. So the pump looks at the queue only when this much time has
// passed since it last did: half a frame, so that a click, a paint, the Stop
// question, the restore request of a second start or the About box waits at
// most that long, and input is still answered within a frame. The clock is
// the performance counter, which costs no round trip.
constexpr int64_t kPumpSliceMicroseconds = 8000;

Win32Toolkit::Win32Toolkit(HINSTANCE instance) : instance_(instance), style_(PlainStyle()) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  pumpSlice_ = frequency.QuadPart * kPumpSliceMicroseconds / 1000000;
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&init);
  RegisterClasses();
  t_hookOwner = this;
  getMessageHook_.reset(::SetWindowsHookExW(WH_GETMESSAGE, &GetMessageHook, nullptr, ::GetCurrentThreadId()));
}

Win32Toolkit::~Win32Toolkit() {
  getMessageHook_.reset();
  if (t_hookOwner == this) t_hookOwner = nullptr;
}

void Win32Toolkit::RegisterClasses() {
  for (const wchar_t* name : {kPanelClass, kLabelClass, kImageClass, kSplitterClass, kListviewClass})
    RegisterOwnClass(instance_, name, nullptr);
}

void Win32Toolkit::ApplyStyle(TextView name) {
  const std::wstring resource = StyleResourceName(name);
  std::optional<StyleColours> style;
  if (HRSRC found = ::FindResourceW(instance_, resource.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */)) {
    if (HGLOBAL loaded = ::LoadResource(instance_, found)) {
      const char* bytes = static_cast<const char*>(::LockResource(loaded));
      const DWORD size = ::SizeofResource(instance_, found);
      if (bytes) style = ParseStyle(std::string_view(bytes, size), name);
    }
  }
  if (style) {
    style_ = *style;
    return;
  }
  ShowErrorWithClose(L"Style '" + nb::win32::ToWide(name) + L"' not found");
  style_ = PlainStyle();
}

HWND Win32Toolkit::WindowOf(const Control& control) {
  auto* peer = dynamic_cast<WindowPeer*>(control.Peer());
  return peer ? peer->Hwnd() : nullptr;
}

HWND Win32Toolkit::MainWindow() const { return main_ ? WindowOf(*main_) : nullptr; }

void Win32Toolkit::Realize(Form& form) {
  if (!main_) main_ = &form;
  const std::wstring cls = nb::win32::ToWide(form.WindowClass());
  RegisterOwnClass(instance_, cls.c_str(), ::LoadIconW(instance_, L"MAINICON"));
  HWND owner = &form == main_ ? nullptr : MainWindow();
  form.SetPeer(MakeFormPeer(*this, form, owner));
  HWND window = WindowOf(form);
  for (Control* child : form.Children()) CreatePeers(*child, window);
  form.SetState(Form::State::Created);
  if (form.OnCreate) form.OnCreate();
}

void Win32Toolkit::CreatePeers(Control& control, HWND parent) {
  const int id = nextId_++;
  std::unique_ptr<WindowPeer> peer;
  switch (control.Kind()) {
    case ControlKind::Panel:
    case ControlKind::GroupBox: peer = MakePanelPeer(*this, control, parent, id); break;
    case ControlKind::Button: peer = MakeButtonPeer(*this, control, parent, id); break;
    case ControlKind::Label: peer = MakeLabelPeer(*this, control, parent, id); break;
    case ControlKind::Image: peer = MakeImagePeer(*this, control, parent, id); break;
    case ControlKind::Splitter: peer = MakeSplitterPeer(*this, control, parent, id); break;
    case ControlKind::Memo: peer = MakeMemoPeer(*this, control, parent, id); break;
    case ControlKind::Listview: peer = MakeListviewPeer(*this, control, parent, id); break;
    case ControlKind::Form: return;
  }
  WindowPeer* raw = peer.get();
  control.SetPeer(std::move(peer));
  raw->Attached();
  for (Control* child : control.Children()) CreatePeers(*child, raw->Hwnd());
}

void Win32Toolkit::Show(Form& form) {
  form.SetVisible(true);
  if (HWND window = WindowOf(form)) {
    ::UpdateWindow(window);
    ::SetForegroundWindow(window);
  }
  form.SetState(Form::State::Shown);
  if (form.OnShow) form.OnShow();
}

void Win32Toolkit::ShowModal(Form& dialog) {
  Realize(dialog);
  const bool mainWasEnabled = main_ && main_->Enabled();
  if (main_ && main_ != &dialog) main_->SetEnabled(false);
  modal_.push_back({&dialog, mainWasEnabled});
  Show(dialog);
  MSG msg;
  while (dialog.GetState() != Form::State::Closed) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) ::PostQuitMessage(int(msg.wParam));
      break;
    }
    Dispatch(msg);
  }
  if (!modal_.empty() && modal_.back().dialog == &dialog) {
    if (main_ && main_ != &dialog) main_->SetEnabled(modal_.back().ownerWasEnabled);
    modal_.pop_back();
  }
  dialog.DropPeers();
}

void Win32Toolkit::RequestClose(Form& form) {
  if (form.GetState() == Form::State::Closed || !form.CloseQuery()) return;
  // The owner takes input again before its dialog goes, so that it, and not
  // some other program, becomes the active window.
  if (!modal_.empty() && modal_.back().dialog == &form) {
    if (main_ && main_ != &form) main_->SetEnabled(modal_.back().ownerWasEnabled);
    modal_.pop_back();
  }
  if (HWND window = WindowOf(form)) {
    ::DestroyWindow(window);
  } else {
    form.SetState(Form::State::Closed);
    if (form.OnDestroy) form.OnDestroy();
  }
}

void Win32Toolkit::OpenLink(Form& window, const Text& target) {
  const std::wstring wide = nb::win32::ToWide(target);
  ::ShellExecuteW(WindowOf(window), L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32Toolkit::RestoreApplication() {
  HWND main = MainWindow();
  if (!main) return;
  if (::IsIconic(main))
    ::ShowWindow(main, SW_RESTORE);
  else if (!::IsWindowVisible(main))
    ::ShowWindow(main, SW_SHOW);
  ::SetForegroundWindow(::GetLastActivePopup(main));
}

void Win32Toolkit::Forget(const Form& form) {
  if (main_ == &form) main_ = nullptr;
  std::erase_if(modal_, [&](const Modal& m) { return m.dialog == &form; });
}

void Win32Toolkit::Hooked(const MSG& msg) {
  try {
    if (hook_) hook_(msg.message, msg.wParam, msg.lParam);
  } catch (...) {
  }
}

Form* Win32Toolkit::FormOfWindow(HWND root) const {
  if (!root) return nullptr;
  if (!modal_.empty() && WindowOf(*modal_.back().dialog) == root) return modal_.back().dialog;
  if (main_ && WindowOf(*main_) == root) return main_;
  return nullptr;
}

bool Win32Toolkit::Navigate(const MSG& msg) {
  // With no window focused the keys come as system keys; Alt held down makes
  // them real system keys (Alt+F4 closes through the window's close request).
  const bool plainKey = msg.message == WM_KEYDOWN || (msg.message == WM_SYSKEYDOWN && !(msg.lParam & (1 << 29)));
  if (!msg.hwnd || !plainKey || ::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0) return false;
  Key key;
  switch (msg.wParam) {
    case VK_TAB: key = Key::Tab; break;
    case VK_ESCAPE: key = Key::Escape; break;
    case VK_RETURN: key = Key::Enter; break;
    case VK_SPACE: key = Key::Space; break;
    default: return false;
  }
  HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
  Form* form = FormOfWindow(root);
  // A window kept disabled under a dialog takes no keys.
  if (!form || !form->Enabled()) return false;
  // From the first Tab on, controls show their focus.
  if (key == Key::Tab) ::SendMessageW(root, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  return form->KeyDown(key, ::GetKeyState(VK_SHIFT) < 0);
}

void Win32Toolkit::Dispatch(MSG& msg) {
  if (Navigate(msg)) return;
  ::TranslateMessage(&msg);
  ::DispatchMessageW(&msg);
}

void Win32Toolkit::PumpMessages() {
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  if (pumpedOnce_ && now.QuadPart - lastPumped_ < pumpSlice_) return;
  pumpedOnce_ = true;
  lastPumped_ = now.QuadPart;
  DispatchQueued();
}

void Win32Toolkit::DispatchQueued() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(int(msg.wParam));
      break;
    }
    Dispatch(msg);
  }
}

void Win32Toolkit::RunMessageLoop() {
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) Dispatch(msg);
}

int Win32Toolkit::ShowMessage(const Text& text, const Text& caption, uint32_t flags) {
  return ::MessageBoxW(MainWindow(), nb::win32::ToWide(text).c_str(), nb::win32::ToWide(caption).c_str(), flags);
}

Text Win32Toolkit::AvailableFace(const Text& face) {
  auto known = faces_.find(face);
  if (known != faces_.end()) return known->second;
  std::vector<Text> candidates{face};
  if (face == u"Segoe Script") candidates.insert(candidates.end(), {u"Segoe Print", u"Comic Sans MS"});
  candidates.insert(candidates.end(), {u"Segoe UI", u"Tahoma", u"DejaVu Sans", u"MS Shell Dlg 2"});
  Text chosen = face;
  for (const Text& candidate : candidates)
    if (FaceExists(candidate)) {
      chosen = candidate;
      break;
    }
  faces_[face] = chosen;
  return chosen;
}

HFONT Win32Toolkit::FontFor(const Font& font) {
  const Text face = AvailableFace(font.face);
  auto key = std::make_tuple(face, font.height, font.bold, font.underline);
  auto found = fonts_.find(key);
  if (found != fonts_.end()) return found->second.get();
  const std::wstring wide = nb::win32::ToWide(face);
  HFONT created = ::CreateFontW(-font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, font.underline, FALSE,
                                DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                DEFAULT_PITCH | FF_DONTCARE, wide.c_str());
  return fonts_.emplace(key, UniqueFont(created)).first->second.get();
}

HBRUSH Win32Toolkit::BrushFor(COLORREF colour) {
  auto found = brushes_.find(colour);
  if (found != brushes_.end()) return found->second.get();
  return brushes_.emplace(colour, UniqueBrush(::CreateSolidBrush(colour))).first->second.get();
}

}  // namespace nb::ui::win32
