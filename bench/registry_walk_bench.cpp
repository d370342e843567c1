// Cost of the registry walk against a bare enumeration of the same keys and
// values: the same Platform calls (open with the walk's access, key info,
// both name lists, one value query per value) and the same number of pumps.
// The ratio shows what the walk's own work adds: the excluded-word test, the
// text filters, the path cutting and the disk tests of the candidates.
//
//   nb_bench_registry [rounds]          a generated registry on the simulated machine
//   nb_bench_registry --real [rounds]   (Windows) HKEY_LOCAL_MACHINE\SOFTWARE of this
//                                        machine, both sides pumping through the
//                                        program's own toolkit
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "state/RunContext.h"
#include "catalogue/DiscoverLocations.h"
#include "platform/sim/SimPlatform.h"
#include "registry/RegistryWalk.h"
#include "registry/ValueText.h"

#ifdef _WIN32
#include "platform/win32/WinApi.h"

#include <shlobj.h>

#include "platform/win32/Handles.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Platform.h"
#include "ui/win32/Win32Toolkit.h"
#endif

namespace nb {
namespace {

constexpr uint32_t kSimRoot = win::kHkeyCurrentUser;
constexpr int kVendors = 100;
constexpr int kProductsPerVendor = 9;
constexpr int kKeysPerProduct = 110;  // 100 + 900 + 99,000 = 100,000 keys below \SOFTWARE
constexpr int kValues = 300000;

// Counts the pumps and passes them on to the pump being measured, if any.
class CountingHost : public UiHost {
 public:
  explicit CountingHost(UiHost* pump) : pump_(pump) {}
  void PumpMessages() override {
    ++pumps;
    if (pump_) pump_->PumpMessages();
  }
  int ShowMessage(const Text&, const Text&, uint32_t) override { return win::kIdOk; }
  long long pumps = 0;

 private:
  UiHost* pump_;
};

Text Num(int n) { return NumberText(n); }

struct Mix {
  long long strings = 0, candidates = 0, existing = 0, stale = 0;
};

// Where the generated registry goes: the simulated machine or the real one.
struct RegistrySink {
  std::function<void(const Text& key)> addKey;
  std::function<void(const Text& key, const Text& name, uint32_t type, const std::vector<uint8_t>& data)> setValue;
  std::function<void(const Text& path)> addFile;
};

// A registry shaped like a real SOFTWARE key: mostly numbers and short texts,
// some paths of installed programs, a few dead ones.
Mix Populate(const RegistrySink& sink) {
  Mix mix;
  uint32_t seed = 12345;
  const auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) & 0x7FFF;
  };
  for (int v = 0; v < kVendors; ++v)
    for (int f = 0; f < 50; ++f) sink.addFile(u"C:\\Program Files\\Vendor" + Num(v) + u"\\bin\\app" + Num(f) + u".exe");

  std::vector<Text> keys;
  for (int v = 0; v < kVendors; ++v) {
    const Text vendor = u"SOFTWARE\\Vendor" + Num(v);
    keys.push_back(vendor);
    for (int p = 0; p < kProductsPerVendor; ++p) {
      const Text product = vendor + u"\\Product" + Num(p);
      keys.push_back(product);
      for (int k = 0; k < kKeysPerProduct; ++k) keys.push_back(product + u"\\Key" + Num(k));
    }
  }
  for (const auto& key : keys) sink.addKey(key);

  for (int i = 0; i < kValues; ++i) {
    const Text& key = keys[next() * keys.size() / 0x8000];
    const Text name = u"Value" + Num(i);
    const int vendor = int(next() % kVendors);
    const int kind = int(next() % 100);
    if (kind < 40) {
      sink.setValue(key, name, win::kRegDword, {uint8_t(i), 0, 0, 0});
      continue;
    }
    if (kind < 50) {
      sink.setValue(key, name, win::kRegBinary, std::vector<uint8_t>(16, uint8_t(i)));
      continue;
    }
    ++mix.strings;
    Text text;
    if (kind < 75) {
      text = (kind % 2) ? u"English (United States)" : u"1.0." + Num(i);
    } else if (kind < 85) {
      text = (kind % 2) ? u"https://vendor" + Num(vendor) + u".example/update" : u"C:\\PROGRA~1\\VENDOR~1\\app.exe";
    } else if (kind < 95) {
      ++mix.existing;
      text = u"\"C:\\Program Files\\Vendor" + Num(vendor) + u"\\bin\\app" + Num(i % 50) + u".exe\" -run";
    } else {
      ++mix.stale;
      text = u"C:\\Program Files\\Vendor" + Num(vendor) + u"\\old\\tool" + Num(i % 50) + u".dll,1";
    }
    if (IsCandidateValueText(text)) ++mix.candidates;
    sink.setValue(key, name, (kind % 3) ? win::kRegSz : win::kRegExpandSz, ValueDataFromText(text));
  }
  return mix;
}

RegistrySink SimSink(sim::SimMachine& m) {
  return {[&m](const Text& key) { m.AddKey(kSimRoot, key); },
          [&m](const Text& key, const Text& name, uint32_t type, const std::vector<uint8_t>& data) {
            m.SetValue(kSimRoot, key, name, type, data);
          },
          [&m](const Text& path) { m.AddFile(path); }};
}

void PrintMix(const Mix& mix, double seconds) {
  std::printf("registry: %d keys, %d values (%lld strings, %lld pass the text filter: %lld installed, %lld dead)"
              " built in %.2f s\n",
              kVendors * (1 + kProductsPerVendor * (1 + kKeysPerProduct)), kValues, mix.strings, mix.candidates,
              mix.existing, mix.stale, seconds);
}

// The walk's enumeration without its judgement: the same calls, the same pumps.
void Enumerate(Platform& os, UiHost& ui, uint32_t root, const Text& path, long long& values) {
  std::unique_ptr<RegistryKey> key;
  if (os.OpenKey(root, path.substr(1), kWalkKeyAccess, key) != win::kErrorSuccess || !key) return;
  RegKeyInfo info;
  if (key->QueryInfo(info) != win::kErrorSuccess) return;
  std::vector<Text> subkeys, names;
  Text name;
  for (uint32_t i = 0; i < info.subKeyCount && key->EnumKey(i, name) == win::kErrorSuccess; ++i) subkeys.push_back(name);
  for (uint32_t i = 0; i < info.valueCount && key->EnumValue(i, name) == win::kErrorSuccess; ++i) names.push_back(name);
  for (const auto& valueName : names) {
    ui.PumpMessages();
    RegValue value;
    if (key->QueryValue(valueName, value) == win::kErrorSuccess) ++values;
  }
  for (const auto& subkeyName : subkeys) {
    ui.PumpMessages();
    if (!subkeyName.empty()) Enumerate(os, ui, root, path + u"\\" + subkeyName, values);
  }
}

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The walk and the bare enumeration of root\SOFTWARE, alternately, `rounds`
// times. On a real machine the enumeration also enters the keys the walk
// leaves out by name (the system's own), so it pumps a little more.
int Compare(Platform& os, UiHost* pump, AppState& state, uint32_t root, int rounds, bool samePumps) {
  std::vector<double> walkTimes, bareTimes;
  long long walkPumps = 0, barePumps = 0, values = 0;
  size_t found = 0;
  for (int round = 0; round < rounds; ++round) {
    CountingHost walkHost(pump), bareHost(pump);
    state.Results.Clear();
    state.SectionFileCounts = {};
    state.Busy = true;
    RunContext run{os, walkHost, state};
    auto start = std::chrono::steady_clock::now();
    WalkRegistryKey(run, root, u"\\SOFTWARE");
    walkTimes.push_back(Seconds(std::chrono::steady_clock::now() - start));

    values = 0;
    start = std::chrono::steady_clock::now();
    Enumerate(os, bareHost, root, u"\\SOFTWARE", values);
    bareTimes.push_back(Seconds(std::chrono::steady_clock::now() - start));

    walkPumps = walkHost.pumps;
    barePumps = bareHost.pumps;
    found = state.Results.Count();
  }
  std::sort(walkTimes.begin(), walkTimes.end());
  std::sort(bareTimes.begin(), bareTimes.end());
  const double walk = walkTimes[walkTimes.size() / 2];
  const double bare = bareTimes[bareTimes.size() / 2];
  const bool pumpsAgree = !samePumps || walkPumps == barePumps;
  std::printf("pumps: walk %lld, enumeration %lld%s; values read %lld; findings %zu\n", walkPumps, barePumps,
              pumpsAgree ? "" : " (MISMATCH)", values, found);
  std::printf("walk        median %.3f s (min %.3f, max %.3f) over %d rounds\n", walk, walkTimes.front(),
              walkTimes.back(), rounds);
  std::printf("enumeration median %.3f s (min %.3f, max %.3f)\n", bare, bareTimes.front(), bareTimes.back());
  std::printf("ratio walk / enumeration: %.2f (target <= 2.0)\n", walk / bare);
  return pumpsAgree ? 0 : 1;
}

}  // namespace
}  // namespace nb

int main(int argc, char** argv) {
  using namespace nb;
#ifdef _WIN32
  if (argc > 1 && std::string(argv[1]) == "--real") {
    // The same registry below this machine's HKEY_CURRENT_USER\SOFTWARE (a
    // benchmark prefix's), beside what the user's SOFTWARE key already holds.
    Win32Platform os;
    ui::win32::Win32Toolkit toolkit(::GetModuleHandleW(nullptr));
    const RegistrySink real{
        [&os](const Text& key) {
          std::unique_ptr<RegistryKey> made;
          os.CreateKey(kSimRoot, key, win::kKeyAllAccess, made);
        },
        [&os](const Text& key, const Text& name, uint32_t type, const std::vector<uint8_t>& data) {
          std::unique_ptr<RegistryKey> opened;
          if (os.OpenKey(kSimRoot, key, win::kKeyAllAccess, opened) == win::kErrorSuccess) opened->SetValue(name, type, data);
        },
        [](const Text& path) {
          const std::wstring wide = win32::ToWide(path);
          ::SHCreateDirectoryExW(nullptr, wide.substr(0, wide.rfind(L'\\')).c_str(), nullptr);
          win32::UniqueFile(::CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        }};
    const auto built = std::chrono::steady_clock::now();
    const Mix mix = Populate(real);
    PrintMix(mix, Seconds(std::chrono::steady_clock::now() - built));
    AppState state;
    DiscoverLocations(os, state.Loc);
    const int result = Compare(os, &toolkit, state, kSimRoot, argc > 2 ? std::max(1, std::atoi(argv[2])) : 5, false);
    // The prefix's registry as it was; the programs' empty files may stay.
    for (int v = 0; v < kVendors; ++v)
      ::RegDeleteTreeW(HKEY_CURRENT_USER, (L"SOFTWARE\\Vendor" + std::to_wstring(v)).c_str());
    return result;
  }
#endif
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  sim::SimMachine machine;
  machine.SetUpStandardUser();
  sim::SimPlatform os(machine);
  const auto built = std::chrono::steady_clock::now();
  const Mix mix = Populate(SimSink(machine));
  PrintMix(mix, Seconds(std::chrono::steady_clock::now() - built));
  AppState state;
  state.Loc.WindowsFolder = u"C:\\Windows\\";
  state.Loc.SystemFolder = u"C:\\Windows\\System32\\";
  state.Loc.SearchFolders = {u"C:\\Windows\\System32\\", u"C:\\Windows\\", u"C:\\Windows\\System32\\Wbem\\"};
  return Compare(os, nullptr, state, kSimRoot, rounds, true);
}
