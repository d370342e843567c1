// Fuzzes the messenger account lookup of the start-up discovery: the input is
// the bytes of Skype's shared.xml on a simulated machine (ANSI, UTF-8 or
// UTF-16 with either byte order, with or without a mark, odd lengths and
// broken sequences), read through the text-file decoder and the whole discovery.
//
// Input: one flag byte (see FileBytes in FuzzCheck.h), then the file's bytes.
//
// fuzz-sources: catalogue/DiscoverLocations.cpp catalogue/TextFile.cpp
// fuzz-sources: platform/Text.cpp platform/Platform.cpp platform/sim/SimMachine.cpp platform/sim/SimPlatform.cpp
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "catalogue/DiscoverLocations.h"
#include "catalogue/TextFile.h"
#include "platform/sim/SimPlatform.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

using nb::Text;
using nb::fuzz::Check;

struct Machine {
  Machine() { machine.SetUpStandardUser(); }
  nb::sim::SimMachine machine;
  nb::sim::SimPlatform os{machine};
  const Text skype = u"C:\\Users\\Tester\\AppData\\Roaming\\Skype\\";
  const Text file = skype + u"shared.xml";
};

bool StartsWithBytes(const std::string& bytes, const char* prefix) { return bytes.rfind(prefix, 0) == 0; }

// The decoder alone: what it promises for each kind of file.
void CheckDecoder(nb::Platform& os, const std::string& bytes) {
  Text text;
  const bool decoded = nb::DecodeTextFile(os, bytes, text);
  const bool utf8 = StartsWithBytes(bytes, "\xEF\xBB\xBF");
  const bool utf16 = !utf8 && (StartsWithBytes(bytes, "\xFF\xFE") || StartsWithBytes(bytes, "\xFE\xFF"));
  if (utf16) {
    Check(decoded == (bytes.size() % 2 == 0));
    if (decoded) Check(text.size() == (bytes.size() - 2) / 2);
  } else if (utf8) {
    // Strict UTF-8: what decodes writes back to the very same bytes.
    if (decoded) Check(nb::ToUtf8(text) == bytes.substr(3));
    if (std::any_of(bytes.begin() + 3, bytes.end(), [](char c) {
          const auto b = static_cast<unsigned char>(c);
          return b == 0xC0 || b == 0xC1 || b >= 0xF5;
        }))
      Check(!decoded);
  } else {
    Check(decoded);  // the ANSI code page decodes anything
  }
  if (!decoded) return;
  size_t chars = 0;
  for (const Text& line : nb::SplitLines(text)) {
    Check(line.find_first_of(u"\r\n") == Text::npos);
    chars += line.size();
  }
  Check(chars == text.size() - size_t(std::count_if(text.begin(), text.end(), [](char16_t c) {
                  return c == u'\r' || c == u'\n';
                })));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Machine m;
  if (size == 0) return 0;
  const std::string bytes = nb::fuzz::FileBytes(data[0], data + 1, size - 1);
  CheckDecoder(m.os, bytes);
  m.machine.AddFile(m.file, bytes);

  nb::Locations loc;
  nb::DiscoverLocations(m.os, loc);
  const Text& folder = loc.SkypeChatsyncFolder;
  if (folder.empty()) return 0;

  // A found account is a folder below Skype's, named by a safe relative name.
  Check(nb::EndsWith(folder, u"\\chatsync\\"));
  Check(nb::fuzz::StaysBelow(m.skype, folder));
  const Text account = folder.substr(m.skype.size(), folder.size() - m.skype.size() - 10);
  Check(!nb::StartsWith(account, u"\\") && !nb::StartsWith(account, u"/"));
  Check(account.find_first_of(u"<>:\"|?*") == Text::npos);
  Check(std::none_of(account.begin(), account.end(), [](char16_t c) { return c < 0x20; }));

  // The account is never on the first line, so a file of one line names none;
  // neither does one that cannot be decoded.
  Text text;
  Check(nb::DecodeTextFile(m.os, bytes, text));
  Check(text.find_first_of(u"\r\n") != Text::npos);
  return 0;
}
