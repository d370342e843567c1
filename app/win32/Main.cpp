// Program entry on Windows: hand over to a running instance, or apply the
// style, build the main window (its creation discovers the locations) and run
// the message loop until it closes.
#include <windows.h>

#include "app/Form1.h"
#include "app/SingleInstance.h"
#include "platform/win32/Win32Platform.h"
#include "ui/Style.h"
#include "ui/win32/Win32Toolkit.h"

namespace {

// Where Windows offers it, the process follows no junction that a user
// without administrator rights made (redirection trust). Older Windows lacks
// the call or the policy, Wine accepts it and does nothing: the program runs
// on without it, its deletion checks its folders itself.
void TrustOnlyAdministratorsRedirections() {
  constexpr int kRedirectionTrustPolicy = 16;  // ProcessRedirectionTrustPolicy
  struct RedirectionTrust {                   // PROCESS_MITIGATION_REDIRECTION_TRUST_POLICY
    DWORD flags;
  };
  constexpr DWORD kEnforce = 0x1;  // EnforceRedirectionTrust
  using SetPolicy = BOOL(WINAPI*)(int, PVOID, SIZE_T);
  const HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
  const FARPROC entry = kernel32 ? ::GetProcAddress(kernel32, "SetProcessMitigationPolicy") : nullptr;
  if (!entry) return;
  const auto set = reinterpret_cast<SetPolicy>(reinterpret_cast<void (*)()>(entry));
  RedirectionTrust policy = {kEnforce};
  set(kRedirectionTrustPolicy, &policy, sizeof policy);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  TrustOnlyAdministratorsRedirections();
  try {
    nb::Win32Platform os;
    if (nb::HandOverToRunningInstance(os)) return 0;

    nb::ui::win32::Win32Toolkit ui(instance);
    ui.ApplyStyle(nb::ui::kStyleName);
    nb::TForm1 form(os, ui);
    ui.Realize(form);
    ui.Show(form);
    ui.RunMessageLoop();
  } catch (...) {
    // Nothing is reported; the process ends as after a normal close.
  }
  return 0;
}
