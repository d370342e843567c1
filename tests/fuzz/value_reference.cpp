// Fuzzes the text side of the registry cleaner: a value's raw data read as
// text, the walk's text filter, ExpandProgramFolders and ExtractReferencedFile,
// on a simulated machine with an ordinary and an oversized environment.
//
// Input: one flag byte, then the text.
//   bit 0: Wow64Process          bit 1: text as raw UTF-16LE bytes, else UTF-8
//
// fuzz-sources: registry/ValueReference.cpp registry/ValueText.cpp
// fuzz-sources: platform/Text.cpp platform/Platform.cpp platform/sim/SimMachine.cpp platform/sim/SimPlatform.cpp
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/sim/SimPlatform.h"
#include "registry/ValueReference.h"
#include "registry/ValueText.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

struct Machine {
  Machine() {
    machine.SetUpStandardUser();
    machine.environment[u"Big"] = nb::Text(250, u'b');
    machine.environment[u"Huge"] = nb::Text(400, u'h');
    machine.environment[u"Empty"] = u"";
    machine.environment[u"Pct"] = u"%Pct%";
  }
  nb::sim::SimMachine machine;
  nb::sim::SimPlatform os{machine};
};

bool IsSubstring(const nb::Text& whole, const nb::Text& part) { return whole.find(part) != nb::Text::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Machine m;
  if (size == 0) return 0;
  const uint8_t flags = data[0];
  const std::vector<uint8_t> bytes(data + 1, data + size);

  nb::Locations loc;
  loc.Wow64Process = (flags & 1) != 0;
  nb::Text text;
  if (flags & 2) {
    // As the walk reads a value: up to the first NUL.
    text = nb::ValueTextFromData(bytes);
    Check(text.find(u'\0') == nb::Text::npos && text.size() <= bytes.size() / 2);
  } else {
    text = nb::FromUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  }

  const nb::Text expanded = nb::ExpandProgramFolders(m.os, loc, text);
  if (!loc.Wow64Process && expanded != text) {
    // An expansion that fits the buffer, never a cut one.
    Check(expanded.size() < nb::kExpansionBufferChars);
    Check(expanded.find(u'\0') == nb::Text::npos);
  }
  Check(nb::ExpandProgramFolders(m.os, loc, text) == expanded);

  const nb::Text path = nb::ExtractReferencedFile(m.os, loc, text);
  Check(path.find(u'"') == nb::Text::npos);
  nb::Text unquoted = nb::Trim(text);
  if (unquoted.find(u'%') == nb::Text::npos) {
    // Without variables every step only cuts: the path is a piece of the unquoted text.
    std::erase(unquoted, u'"');
    Check(IsSubstring(unquoted, path));
  }
  if (nb::Trim(text).empty()) Check(path.empty());

  if (nb::IsCandidateValueText(text)) {
    Check(text.size() >= 5 && text.back() != u'\\');
    (void)nb::HasThreeLetterExtension(path);
  }
  return 0;
}
