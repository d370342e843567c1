// Cost of the registry walk against a bare enumeration of the same keys and
// values: the same Platform calls (open with the walk's access, key info,
// both name lists, one value query per value) and the same number of pumps.
// The ratio shows what the walk's own work adds: the excluded-word test, the
// text filters, the path cutting and the disk tests of the candidates.
//
//   nb_bench_registry [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/AppState.h"
#include "platform/sim/SimPlatform.h"
#include "registry/RegistryWalk.h"
#include "registry/ValueText.h"

namespace nb {
namespace {

constexpr uint32_t kRoot = win::kHkeyCurrentUser;
constexpr int kVendors = 100;
constexpr int kProductsPerVendor = 9;
constexpr int kKeysPerProduct = 110;  // 100 + 900 + 99,000 = 100,000 keys below \SOFTWARE
constexpr int kValues = 300000;

class CountingHost : public UiHost {
 public:
  void PumpMessages() override { ++pumps; }
  int ShowMessage(const Text&, const Text&, uint32_t) override { return win::kIdOk; }
  long long pumps = 0;
};

Text Num(int n) { return NumberText(n); }

struct Mix {
  long long strings = 0, candidates = 0, existing = 0, stale = 0;
};

// A registry shaped like a real SOFTWARE key: mostly numbers and short texts,
// some paths of installed programs, a few dead ones.
Mix Populate(sim::SimMachine& m) {
  Mix mix;
  uint32_t seed = 12345;
  const auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) & 0x7FFF;
  };
  for (int v = 0; v < kVendors; ++v)
    for (int f = 0; f < 50; ++f) m.AddFile(u"C:\\Program Files\\Vendor" + Num(v) + u"\\bin\\app" + Num(f) + u".exe");

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
  for (const auto& key : keys) m.AddKey(kRoot, key);

  for (int i = 0; i < kValues; ++i) {
    const Text& key = keys[next() * keys.size() / 0x8000];
    const Text name = u"Value" + Num(i);
    const int vendor = int(next() % kVendors);
    const int kind = int(next() % 100);
    if (kind < 40) {
      m.SetValue(kRoot, key, name, win::kRegDword, {uint8_t(i), 0, 0, 0});
      continue;
    }
    if (kind < 50) {
      m.SetValue(kRoot, key, name, win::kRegBinary, std::vector<uint8_t>(16, uint8_t(i)));
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
    m.SetString(kRoot, key, name, text, (kind % 3) ? win::kRegSz : win::kRegExpandSz);
  }
  return mix;
}

// The walk's enumeration without its judgement: the same calls, the same pumps.
void Enumerate(Platform& os, UiHost& ui, const Text& path, long long& values) {
  std::unique_ptr<RegistryKey> key;
  if (os.OpenKey(kRoot, path.substr(1), kWalkKeyAccess, key) != win::kErrorSuccess || !key) return;
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
    if (!subkeyName.empty()) Enumerate(os, ui, path + u"\\" + subkeyName, values);
  }
}

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

}  // namespace
}  // namespace nb

int main(int argc, char** argv) {
  using namespace nb;
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

  sim::SimMachine machine;
  machine.SetUpStandardUser();
  sim::SimPlatform os(machine);
  const auto built = std::chrono::steady_clock::now();
  const Mix mix = Populate(machine);
  std::printf("registry: %d keys, %d values (%lld strings, %lld pass the text filter: %lld installed, %lld dead)"
              " built in %.2f s\n",
              kVendors * (1 + kProductsPerVendor * (1 + kKeysPerProduct)), kValues, mix.strings, mix.candidates,
              mix.existing, mix.stale, Seconds(std::chrono::steady_clock::now() - built));

  AppState state;
  state.Loc.WindowsFolder = u"C:\\Windows\\";
  state.Loc.SystemFolder = u"C:\\Windows\\System32\\";
  state.Loc.SearchFolders = {u"C:\\Windows\\System32\\", u"C:\\Windows\\", u"C:\\Windows\\System32\\Wbem\\"};

  std::vector<double> walkTimes, bareTimes;
  long long walkPumps = 0, barePumps = 0, values = 0;
  size_t found = 0;
  for (int round = 0; round < rounds; ++round) {
    CountingHost walkHost, bareHost;
    state.Results.Clear();
    state.SectionFileCounts = {};
    state.Busy = true;
    RunContext run{os, walkHost, state};
    auto start = std::chrono::steady_clock::now();
    WalkRegistryKey(run, kRoot, u"\\SOFTWARE");
    walkTimes.push_back(Seconds(std::chrono::steady_clock::now() - start));

    values = 0;
    start = std::chrono::steady_clock::now();
    Enumerate(os, bareHost, u"\\SOFTWARE", values);
    bareTimes.push_back(Seconds(std::chrono::steady_clock::now() - start));

    walkPumps = walkHost.pumps;
    barePumps = bareHost.pumps;
    found = state.Results.Count();
  }
  std::sort(walkTimes.begin(), walkTimes.end());
  std::sort(bareTimes.begin(), bareTimes.end());
  const double walk = walkTimes[walkTimes.size() / 2];
  const double bare = bareTimes[bareTimes.size() / 2];
  std::printf("pumps: walk %lld, enumeration %lld%s; values read %lld; findings %zu\n", walkPumps, barePumps,
              walkPumps == barePumps ? "" : " (MISMATCH)", values, found);
  std::printf("walk        median %.3f s (min %.3f, max %.3f) over %d rounds\n", walk, walkTimes.front(),
              walkTimes.back(), rounds);
  std::printf("enumeration median %.3f s (min %.3f, max %.3f)\n", bare, bareTimes.front(), bareTimes.back());
  std::printf("ratio walk / enumeration: %.2f (target <= 2.0)\n", walk / bare);
  return walkPumps == barePumps ? 0 : 1;
}
