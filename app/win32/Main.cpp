// Program entry on Windows.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  MessageBoxW(nullptr, L"Night Broom", L"Night Broom", MB_OK);
  return 0;
}
