#include "registry/ValueReference.h"

#include <array>

namespace nb {

namespace {

struct ProgramFolderVariable {
  TextView variable;  // upper-case, with the backslash that follows it
  TextView folder;
};

// Tested in this order; the first one present wins. The fixed folders name
// drive C: whatever the system drive is.
constexpr std::array<ProgramFolderVariable, 6> kProgramFolderVariables{{
    {u"%PROGRAMFILES%\\", u"C:\\Program Files\\"},
    {u"%PROGRAMFILES(X86)%\\", u"C:\\Program Files (x86)\\"},
    {u"%PROGRAMW6432%\\", u"C:\\Program Files\\"},
    {u"%COMMONPROGRAMFILES%\\", u"C:\\Program Files\\Common Files\\"},
    {u"%COMMONPROGRAMFILES(X86)%\\", u"C:\\Program Files (x86)\\Common Files\\"},
    {u"%COMMONPROGRAMW6432%\\", u"C:\\Program Files\\Common Files\\"},
}};

// The extensions that end a path, applied in this order.
constexpr std::array<TextView, 8> kPathEndings{u".EXE", u".DLL", u".BAT", u".CMD",
                                               u".CPL", u".APL", u".BPL", u".OCX"};

// Replaces every occurrence of `upperVariable` in `text`, found through its
// ASCII upper-cased copy (same length, same positions), by `folder`.
Text ReplaceEveryOccurrence(const Text& text, const Text& upper, TextView upperVariable, TextView folder) {
  Text result;
  size_t from = 0;
  for (size_t at = upper.find(upperVariable); at != Text::npos; at = upper.find(upperVariable, from)) {
    result.append(text, from, at - from);
    result.append(folder);
    from = at + upperVariable.size();
  }
  result.append(text, from, Text::npos);
  return result;
}

// Position of the first occurrence of an extension (".EXE") in `text`,
// ignoring case fully. The period has no other case, so only periods start a match.
size_t FindExtension(TextView text, TextView extension) {
  if (extension.size() > text.size()) return Text::npos;
  const size_t last = text.size() - extension.size();
  for (size_t at = text.find(u'.'); at != Text::npos && at <= last; at = text.find(u'.', at + 1))
    if (EqualsIgnoreCase(text.substr(at, extension.size()), extension)) return at;
  return Text::npos;
}

}  // namespace

Text ExpandProgramFolders(Platform& os, const Locations& loc, const Text& text) {
  if (loc.Wow64Process) {
    const Text upper = ToUpperAscii(text);
    for (const auto& entry : kProgramFolderVariables)
      if (Contains(upper, entry.variable)) return ReplaceEveryOccurrence(text, upper, entry.variable, entry.folder);
  }
  // ExpandEnvironmentStringsW reads up to the first NUL and writes into a
  // buffer of 260 characters. When the expansion does not fit, the text stays
  // as written: a path cut at the buffer's end would name another file.
  const Text input = text.substr(0, text.find(u'\0'));
  const auto expanded = os.ExpandEnvironmentStrings(input, kExpansionBufferChars);
  if (!expanded) return text;
  Text result = expanded->substr(0, expanded->find(u'\0'));
  if (result.size() >= kExpansionBufferChars) return text;
  return result;
}

Text ExtractReferencedFile(Platform& os, const Locations& loc, const Text& text) {
  Text s = Trim(text);
  if (s.empty()) return s;

  if (s.find(u'%') != Text::npos) s = ExpandProgramFolders(os, loc, s);

  std::erase(s, u'"');

  // Drop whatever precedes the drive letter of the first path ("rundll32.exe C:\...").
  const size_t firstRoot = s.find(u":\\");
  if (firstRoot != Text::npos && firstRoot >= 2) s.erase(0, firstRoot - 1);

  // A second path: keep everything before its drive letter.
  if (s.size() > 2) {
    const size_t secondRoot = s.find(u":\\", 2);
    if (secondRoot != Text::npos && secondRoot - 2 >= 2) s.resize(secondRoot - 1);
  }

  // End the path after the earliest listed extension, even inside a folder name.
  for (const auto ending : kPathEndings) {
    const size_t at = FindExtension(s, ending);
    if (at != Text::npos) s.resize(at + ending.size());
  }

  if (s.size() >= 6 && EqualsIgnoreCase(TextView(s).substr(0, 6), u"START ")) s.erase(0, 6);

  if (const size_t bar = s.find(u"|,"); bar != Text::npos) s.resize(bar);

  // A comma starts an argument or a resource index ("app.ico,0").
  if (const size_t comma = s.find(u','); comma != Text::npos) {
    const size_t colon = s.find(u':');
    if (colon != Text::npos && comma < colon) s.erase(0, comma + 1);
    // Counted from 1, with 0 for no period: a text without one keeps its drive root ("C:\").
    const size_t lastDot = s.rfind(u'.');
    const size_t dotPosition = lastDot == Text::npos ? 0 : lastDot + 1;
    if (dotPosition < comma + 1 && dotPosition + 3 < s.size()) s.resize(dotPosition + 3);
  }
  return s;
}

}  // namespace nb
