// Cost of the registry walk against a bare enumeration of exactly the keys the
// walk visits (it never enters a key whose path holds one of its excluded
// words, IsExcludedKeyPath): each key opened with the walk's access, its info,
// both name lists, one query per value, and no pumps. The ratio shows what the
// walk adds: its pumps, the text filters, the path cutting and the disk tests
// of the candidates. The sides take turns in going first. Exits non-zero when
// the walk missed a dead value or reported a live one.
//
//   nb_bench_registry [rounds]          a generated registry on the simulated machine,
//                                        the enumeration through its registry calls
//   nb_bench_registry --small           one round over a small registry, for the tests
//   nb_bench_registry --real [rounds]   (Windows) the same registry below
//                                        HKEY_CURRENT_USER\SOFTWARE of this machine (a
//                                        benchmark prefix's): the walk pumps through the
//                                        program's toolkit, the enumeration calls
//                                        RegEnumKeyExW and RegEnumValueW itself
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "BenchClock.h"
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
#include "app/ToolkitHost.h"
#include "ui/win32/Win32Toolkit.h"
#endif

namespace nb {
namespace {

constexpr uint32_t kSimRoot = winapi::kHkeyCurrentUser;

// The generated registry's size.
struct Shape {
  int vendors;
  int productsPerVendor;
  int keysPerProduct;
  int values;
  int Keys() const { return vendors * (1 + productsPerVendor * (1 + keysPerProduct)); }
};
constexpr Shape kFull{100, 9, 110, 300000};  // 100 + 900 + 99,000 = 100,000 keys below \SOFTWARE
constexpr Shape kSmall{3, 2, 5, 600};

// Counts the pumps and passes them on to the pump being measured, if any.
class CountingHost : public RunHost {
 public:
  explicit CountingHost(RunHost* pump) : pump_(pump) {}
  void PumpMessages() override {
    ++pumps;
    if (pump_) pump_->PumpMessages();
  }
  int ShowMessage(const Text&, const Text&, uint32_t) override { return winapi::kIdOk; }
  long long pumps = 0;

 private:
  RunHost* pump_;
};

Text Num(int n) { return NumberText(n); }

struct Mix {
  long long strings = 0, candidates = 0, existing = 0, stale = 0;
  std::set<Text> dead;  // the subjects ("HKCU\\SOFTWARE\\...=Name") of the dead values
};

// Where the generated registry goes: the simulated machine or the real one.
struct RegistrySink {
  std::function<void(const Text& key)> addKey;
  std::function<void(const Text& key, const Text& name, uint32_t type, const std::vector<uint8_t>& data)> setValue;
  std::function<void(const Text& path)> addFile;
};

// A registry shaped like a real SOFTWARE key: mostly numbers and short texts,
// some paths of installed programs, a few dead ones.
Mix Populate(const RegistrySink& sink, const Shape& shape) {
  Mix mix;
  uint32_t seed = 12345;
  const auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) & 0x7FFF;
  };
  for (int v = 0; v < shape.vendors; ++v)
    for (int f = 0; f < 50; ++f) sink.addFile(u"C:\\Program Files\\Vendor" + Num(v) + u"\\bin\\app" + Num(f) + u".exe");

  std::vector<Text> keys;
  for (int v = 0; v < shape.vendors; ++v) {
    const Text vendor = u"SOFTWARE\\Vendor" + Num(v);
    keys.push_back(vendor);
    for (int p = 0; p < shape.productsPerVendor; ++p) {
      const Text product = vendor + u"\\Product" + Num(p);
      keys.push_back(product);
      for (int k = 0; k < shape.keysPerProduct; ++k) keys.push_back(product + u"\\Key" + Num(k));
    }
  }
  for (const auto& key : keys) sink.addKey(key);

  for (int i = 0; i < shape.values; ++i) {
    const Text& key = keys[next() * keys.size() / 0x8000];
    const Text name = u"Value" + Num(i);
    const int vendor = int(next() % shape.vendors);
    const int kind = int(next() % 100);
    if (kind < 40) {
      sink.setValue(key, name, winapi::kRegDword, {uint8_t(i), 0, 0, 0});
      continue;
    }
    if (kind < 50) {
      sink.setValue(key, name, winapi::kRegBinary, std::vector<uint8_t>(16, uint8_t(i)));
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
      mix.dead.insert(u"HKCU\\" + key + u"=" + name);
      text = u"C:\\Program Files\\Vendor" + Num(vendor) + u"\\old\\tool" + Num(i % 50) + u".dll,1";
    }
    if (IsCandidateValueText(text)) ++mix.candidates;
    sink.setValue(key, name, (kind % 3) ? winapi::kRegSz : winapi::kRegExpandSz, ValueDataFromText(text));
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

void PrintMix(const Shape& shape, const Mix& mix, double seconds) {
  std::printf("registry: %d keys, %d values (%lld strings, %lld pass the text filter: %lld installed, %lld dead)"
              " built in %.2f s\n",
              shape.Keys(), shape.values, mix.strings, mix.candidates, mix.existing, mix.stale, seconds);
}

// The keys the walk visits, through the simulated machine's registry calls:
// open, info, both name lists, one query per value; no pumps.
void Enumerate(Platform& os, uint32_t root, const Text& path, long long& values) {
  if (IsExcludedKeyPath(path)) return;
  std::unique_ptr<RegistryKey> key;
  if (os.OpenKey(root, path.substr(1), kWalkKeyAccess, key) != winapi::kErrorSuccess || !key) return;
  RegKeyInfo info;
  if (key->QueryInfo(info) != winapi::kErrorSuccess) return;
  std::vector<Text> subkeys, names;
  Text name;
  for (uint32_t i = 0; i < info.subKeyCount && key->EnumKey(i, name) == winapi::kErrorSuccess; ++i) subkeys.push_back(name);
  for (uint32_t i = 0; i < info.valueCount && key->EnumValue(i, name) == winapi::kErrorSuccess; ++i) names.push_back(name);
  for (const auto& valueName : names) {
    RegValue value;
    if (key->QueryValue(valueName, value) == winapi::kErrorSuccess) ++values;
  }
  for (const auto& subkeyName : subkeys)
    if (!subkeyName.empty()) Enumerate(os, root, path + u"\\" + subkeyName, values);
}

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The enumeration of root\SOFTWARE: on Windows the raw API, elsewhere the simulated machine's.
using Enumeration = std::function<void(long long& values)>;

// Every dead value is a finding, and no live value of the generated keys is one.
bool EveryDeadValueFound(const ResultStore& results, const Mix& mix) {
  size_t dead = 0, live = 0;
  for (size_t i = 0; i < results.Count(); ++i) {
    const Text subject(results.Subject(i));
    if (mix.dead.count(subject)) ++dead;
    else if (StartsWith(subject, u"HKCU\\SOFTWARE\\Vendor")) ++live;
  }
  std::printf("dead values found %zu of %zu, live values reported %zu\n", dead, mix.dead.size(), live);
  return dead == mix.dead.size() && live == 0;
}

// The walk and the bare enumeration of root\SOFTWARE, `rounds` times, taking
// turns in going first.
int Compare(Platform& os, RunHost* pump, AppState& state, uint32_t root, int rounds, const Enumeration& enumerate,
            const Mix& mix) {
  std::vector<double> walkTimes, bareTimes;
  long long walkPumps = 0, values = 0;
  bool found = true;
  for (int round = 0; round < rounds; ++round) {
    for (int side = 0; side < 2; ++side) {
      if ((side == 0) == (round % 2 == 0)) {
        CountingHost walkHost(pump);
        state.Results.Clear();
        state.SectionFindingCounts = {};
        state.FoundValues.clear();
        state.Running = true;
        RunContext run{os, walkHost, state};
        const double start = bench::Now();
        WalkRegistryKey(run, root, u"\\SOFTWARE");
        walkTimes.push_back(bench::Now() - start);
        walkPumps = walkHost.pumps;
        found = EveryDeadValueFound(state.Results, mix) && found;
      } else {
        values = 0;
        const double start = bench::Now();
        enumerate(values);
        bareTimes.push_back(bench::Now() - start);
      }
    }
  }
  std::sort(walkTimes.begin(), walkTimes.end());
  std::sort(bareTimes.begin(), bareTimes.end());
  const double walk = walkTimes[walkTimes.size() / 2];
  const double bare = bareTimes[bareTimes.size() / 2];
  std::printf("walk: %lld pumps, %zu findings; enumeration: %lld values read, no pumps\n", walkPumps,
              state.Results.Count(), values);
  std::printf("walk        median %.3f s (min %.3f, max %.3f) over %d rounds\n", walk, walkTimes.front(),
              walkTimes.back(), rounds);
  std::printf("enumeration median %.3f s (min %.3f, max %.3f)\n", bare, bareTimes.front(), bareTimes.back());
  std::printf("ratio walk / enumeration: %.2f (target <= 1.5)\n", walk / bare);
  if (!found) std::printf("NOT DONE: the walk missed a dead value or reported a live one\n");
  return found ? 0 : 1;
}

#ifdef _WIN32
// The keys the walk visits, through the raw API: RegOpenKeyExW with the walk's
// access, RegQueryInfoKeyW, RegEnumKeyExW and RegEnumValueW for both name
// lists, RegQueryValueExW per value; no pumps. `path` has no leading "\\".
void RawEnumerate(HKEY root, std::wstring& path, long long& values) {
  if (IsExcludedKeyPath(u"\\" + win32::FromWide(path.c_str(), path.size()))) return;
  win32::UniqueKey key;
  if (::RegOpenKeyExW(root, path.c_str(), 0, kWalkKeyAccess, key.put()) != ERROR_SUCCESS) return;
  DWORD subkeyCount = 0, subkeyLength = 0, valueCount = 0, valueLength = 0, dataSize = 0;
  if (::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeyCount, &subkeyLength, nullptr, &valueCount,
                         &valueLength, &dataSize, nullptr, nullptr) != ERROR_SUCCESS)
    return;
  std::vector<wchar_t> name(std::max(subkeyLength, valueLength) + 2);
  std::vector<std::wstring> subkeys, names;
  for (DWORD i = 0; i < subkeyCount; ++i) {
    DWORD length = DWORD(name.size());
    if (::RegEnumKeyExW(key.get(), i, name.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    subkeys.emplace_back(name.data(), length);
  }
  for (DWORD i = 0; i < valueCount; ++i) {
    DWORD length = DWORD(name.size());
    if (::RegEnumValueW(key.get(), i, name.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name.data(), length);
  }
  std::vector<BYTE> data(dataSize + 2);
  for (const auto& valueName : names) {
    DWORD type = 0, size = DWORD(data.size());
    if (::RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, data.data(), &size) == ERROR_SUCCESS) ++values;
  }
  for (const auto& subkey : subkeys) {
    if (subkey.empty()) continue;
    const size_t length = path.size();
    path += L'\\';
    path += subkey;
    RawEnumerate(root, path, values);
    path.resize(length);
  }
}
#endif

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
    ToolkitHost program(toolkit);
    const RegistrySink real{
        [&os](const Text& key) {
          std::unique_ptr<RegistryKey> made;
          os.CreateKey(kSimRoot, key, winapi::kKeyAllAccess, made);
        },
        [&os](const Text& key, const Text& name, uint32_t type, const std::vector<uint8_t>& data) {
          std::unique_ptr<RegistryKey> opened;
          if (os.OpenKey(kSimRoot, key, winapi::kKeyAllAccess, opened) == winapi::kErrorSuccess) opened->SetValue(name, type, data);
        },
        [](const Text& path) {
          const std::wstring wide = win32::ToWide(path);
          ::SHCreateDirectoryExW(nullptr, wide.substr(0, wide.rfind(L'\\')).c_str(), nullptr);
          win32::UniqueFile(::CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        }};
    const auto built = std::chrono::steady_clock::now();
    const Mix mix = Populate(real, kFull);
    PrintMix(kFull, mix, Seconds(std::chrono::steady_clock::now() - built));
    AppState state;
    DiscoverLocations(os, state.Loc);
    const Enumeration raw = [](long long& values) {
      std::wstring path = L"SOFTWARE";
      RawEnumerate(HKEY_CURRENT_USER, path, values);
    };
    const int result =
        Compare(os, &program, state, kSimRoot, argc > 2 ? std::max(1, std::atoi(argv[2])) : 5, raw, mix);
    // The prefix's registry as it was; the programs' empty files may stay.
    for (int v = 0; v < kFull.vendors; ++v)
      ::RegDeleteTreeW(HKEY_CURRENT_USER, (L"SOFTWARE\\Vendor" + std::to_wstring(v)).c_str());
    return result;
  }
#endif
  const bool small = argc > 1 && std::string(argv[1]) == "--small";
  const int rounds = small ? 1 : argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const Shape& shape = small ? kSmall : kFull;
  sim::SimMachine machine;
  machine.SetUpStandardUser();
  sim::SimPlatform os(machine);
  const auto built = std::chrono::steady_clock::now();
  const Mix mix = Populate(SimSink(machine), shape);
  PrintMix(shape, mix, Seconds(std::chrono::steady_clock::now() - built));
  AppState state;
  state.Loc.WindowsFolder = u"C:\\Windows\\";
  state.Loc.SystemFolder = u"C:\\Windows\\System32\\";
  state.Loc.SearchFolders = {u"C:\\Windows\\System32\\", u"C:\\Windows\\", u"C:\\Windows\\System32\\Wbem\\"};
  const Enumeration simulated = [&os](long long& values) { Enumerate(os, kSimRoot, u"\\SOFTWARE", values); };
  return Compare(os, nullptr, state, kSimRoot, rounds, simulated, mix);
}
