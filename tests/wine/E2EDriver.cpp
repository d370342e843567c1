#include "wine/E2EDriver.h"

#include <vector>

namespace nb::e2e {

namespace {

constexpr DWORD kAnswerTimeout = 10000;

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  return name;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> all;
  ::EnumChildWindows(
      parent,
      [](HWND window, LPARAM list) CALLBACK -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&all));
  return all;
}

// Left edge of a child in its top-level window's client coordinates.
int LeftInClient(HWND top, HWND child) {
  RECT r{};
  ::GetWindowRect(child, &r);
  POINT p{r.left, r.top};
  ::ScreenToClient(top, &p);
  return p.x;
}

}  // namespace

std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return L"<no answer>";
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  ::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        5000, &copied);
  text.resize(copied);
  return text;
}

bool Program::Launch(std::string& error) {
  if (!running_.Launch(error)) return false;
  processId_ = running_.ProcessId();
  return true;
}

bool Program::Start(std::string& error) { return Launch(error) && Attach(error); }

bool Program::Attach(std::string& error) {
  if (!running_.FindMainWindow(error)) return false;
  main_ = running_.Main();
  status_ = ChildByCaption(wine::kFirstStatus);
  ::GetWindowThreadProcessId(main_, &processId_);
  analyze_ = ChildByCaption(L"Analyze");
  deleteAll_ = ChildByCaption(L"Delete all");
  deleteChecked_ = ChildByCaption(L"Delete checked");
  close_ = ChildByCaption(L"Close");
  summary_ = ChildByCaption(L"0 files, 0 MB");
  for (HWND child : Children(main_)) {
    const std::wstring cls = ClassOf(child);
    if (cls == L"NBListview") {
      (LeftInClient(main_, child) < 50 ? list1_ : list2_) = child;
    } else if (_wcsicmp(cls.c_str(), L"Edit") == 0) {
      list3_ = child;
    }
  }
  if (!status_ || !analyze_ || !deleteAll_ || !deleteChecked_ || !close_ || !summary_ || !list1_ || !list2_ ||
      !list3_) {
    error = "a control of the main window is missing";
    return false;
  }
  return true;
}

void Program::End() {
  if (Running()) {
    // A question left open would keep the window from closing.
    while (HWND box = WaitForMessageBox(0)) {
      if (!Answer(box, IDNO) && !Answer(box, IDOK)) break;
      ::Sleep(100);
    }
  }
  running_.End();
  main_ = nullptr;
}

HWND Program::ChildByCaption(const std::wstring& caption) const {
  for (HWND child : Children(main_))
    if (TextOf(child) == caption) return child;
  return nullptr;
}

void Program::Click(HWND button) { ::PostMessageW(button, BM_CLICK, 0, 0); }

bool Program::ClickAndWait(HWND button, DWORD milliseconds) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_NORMAL, milliseconds, &result) != 0;
}

void Program::ClickAt(HWND list, int x, int y) {
  const LPARAM at = MAKELPARAM(x, y);
  DWORD_PTR result = 0;
  ::SendMessageTimeoutW(list, WM_LBUTTONDOWN, MK_LBUTTON, at, SMTO_NORMAL, 30000, &result);
  ::SendMessageTimeoutW(list, WM_LBUTTONUP, 0, at, SMTO_NORMAL, 30000, &result);
}

HWND Program::WaitForMessageBox(DWORD milliseconds) const {
  struct Search {
    HWND owner;
    DWORD process;
    HWND found = nullptr;
  } search{main_, processId_};
  WaitFor(
      [&] {
        ::EnumWindows(
            [](HWND window, LPARAM data) CALLBACK -> BOOL {
              auto* s = reinterpret_cast<Search*>(data);
              DWORD process = 0;
              ::GetWindowThreadProcessId(window, &process);
              if (process != s->process || !::IsWindowVisible(window) || ClassOf(window) != L"#32770") return TRUE;
              if (::GetWindow(window, GW_OWNER) != s->owner) return TRUE;
              s->found = window;
              return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      milliseconds);
  return search.found;
}

std::wstring Program::MessageText(HWND box) {
  // The message box's text is its static control 0xFFFF.
  HWND text = ::GetDlgItem(box, 0xFFFF);
  return text ? TextOf(text) : std::wstring();
}

std::wstring Program::Caption(HWND box) { return TextOf(box); }

bool Program::Answer(HWND box, int id) {
  HWND button = ::GetDlgItem(box, id);
  if (!button) return false;
  Click(button);
  return WaitFor([&] { return !::IsWindow(box); }, kAnswerTimeout);
}

bool Program::Idle() const {
  return TextOf(analyze_) == L"Analyze" && ::IsWindowEnabled(close_);
}

int ListGeometry::RowMiddle(const int* rowsPerGroup, int group, int row) const {
  int top = header;
  for (int g = 0; g < group; ++g) top += this->group + rowsPerGroup[g] * this->row;
  return top + this->group + row * this->row + this->row / 2;
}

int ListGeometry::SectionMiddle(int section) const {
  static constexpr int kRowsPerGroup[] = {3, 4, 4, 3, 2};
  int group = 0;
  int row = section - 1;
  while (group < 4 && row >= kRowsPerGroup[group]) row -= kRowsPerGroup[group++];
  return RowMiddle(kRowsPerGroup, group, row);
}

}  // namespace nb::e2e
