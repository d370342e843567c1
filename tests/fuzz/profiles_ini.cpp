// Fuzzes the Firefox profile lookup of the start-up discovery: the input is
// the bytes of profiles.ini on a simulated machine, and the whole discovery runs.
//
// Input: one flag byte (see FileBytes in FuzzCheck.h), then the file's bytes.
//
// fuzz-sources: catalogue/DiscoverLocations.cpp catalogue/TextFile.cpp
// fuzz-sources: platform/Text.cpp platform/Platform.cpp platform/sim/SimMachine.cpp platform/sim/SimPlatform.cpp
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "catalogue/DiscoverLocations.h"
#include "platform/sim/SimPlatform.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

using nb::Text;
using nb::fuzz::Check;

struct Machine {
  Machine() { machine.SetUpStandardUser(); }
  nb::sim::SimMachine machine;
  nb::sim::SimPlatform os{machine};
  const Text iniFile = u"C:\\Users\\Tester\\AppData\\Roaming\\Mozilla\\Firefox\\profiles.ini";
  const Text firefox = u"C:\\Users\\Tester\\AppData\\Local\\Mozilla\\Firefox\\";
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Machine m;
  if (size == 0) return 0;
  m.machine.AddFile(m.iniFile, nb::fuzz::FileBytes(data[0], data + 1, size - 1));

  nb::Locations loc;
  nb::DiscoverLocations(m.os, loc);

  // Always the two cache folders of one profile, both inside the Firefox folder.
  Check(loc.FirefoxCacheFolders.size() == 2);
  const Text& cache = loc.FirefoxCacheFolders[0];
  const Text& cache2 = loc.FirefoxCacheFolders[1];
  Check(nb::EndsWith(cache, u"\\Cache\\") && nb::EndsWith(cache2, u"\\Cache2\\"));
  const Text profile = cache.substr(0, cache.size() - 7);
  Check(cache2 == profile + u"\\Cache2\\");
  Check(nb::fuzz::StaysBelow(m.firefox, cache) && nb::fuzz::StaysBelow(m.firefox, cache2));

  // The name as the file holds it is taken whole, with "/" read as "\", or not at all.
  Text name = m.os.GetPrivateProfileString(u"Profile0", u"Path", u"", m.iniFile);
  std::replace(name.begin(), name.end(), u'/', u'\\');
  const Text taken = profile.substr(m.firefox.size());
  Check(taken.empty() || taken == name);
  // An absolute name, a drive, a ".." step or a character no file name holds is refused.
  const bool refused = nb::StartsWith(name, u"\\") || name.find(u':') != Text::npos ||
                       name.find_first_of(u"<>\"|?*") != Text::npos ||
                       std::any_of(name.begin(), name.end(), [](char16_t c) { return c < 0x20; }) ||
                       name == u".." || nb::StartsWith(name, u"..\\") || nb::EndsWith(name, u"\\..") ||
                       nb::Contains(name, u"\\..\\");
  if (refused) Check(taken.empty());

  // Nothing else of the discovery depends on this file.
  Check(loc.SkypeChatsyncFolder.empty());
  return 0;
}
