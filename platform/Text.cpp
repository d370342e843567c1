#include "platform/Text.h"

namespace nb {

Text ToUpperAscii(TextView text) {
  Text result(text);
  for (auto& c : result) c = UpperAscii(c);
  return result;
}

bool EqualsIgnoreAsciiCase(TextView a, TextView b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  return true;
}

char16_t FoldCase(char16_t c) {
  if (c < 0x80) return UpperAscii(c);
  // Latin-1: à..þ fold to À..Þ, except the division sign; ÿ folds to Ÿ.
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return char16_t(c - 0x20);
  if (c == 0xFF) return 0x178;
  // Latin Extended-A: pairs of upper (even) and lower (odd) letters.
  if (c >= 0x100 && c <= 0x17F) {
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c % 2 == 0) ? char16_t(c - 1) : c;
    if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    return (c % 2 == 1) ? char16_t(c - 1) : c;
  }
  // Greek and Cyrillic lower-case blocks.
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return char16_t(c - 0x20);
  if (c >= 0x430 && c <= 0x44F) return char16_t(c - 0x20);
  if (c >= 0x450 && c <= 0x45F) return char16_t(c - 0x50);
  return c;
}

bool EqualsIgnoreCase(TextView a, TextView b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

bool MatchesWildcards(TextView mask, TextView name, char16_t (*fold)(char16_t)) {
  // Greedy match with one back-tracking point: the last "*" seen takes one more
  // character whenever the rest fails to match.
  size_t m = 0;
  size_t n = 0;
  size_t star = TextView::npos;
  size_t starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == u'*') {
      star = m++;
      starName = n;
    } else if (m < mask.size() && (mask[m] == u'?' || fold(mask[m]) == fold(name[n]))) {
      ++m;
      ++n;
    } else if (star != TextView::npos) {
      m = star + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == u'*') ++m;
  return m == mask.size();
}

Text FoldCaseText(TextView text) {
  Text result(text);
  for (auto& c : result) c = FoldCase(c);
  return result;
}

Text Trim(TextView text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && text[begin] <= u' ') ++begin;
  while (end > begin && text[end - 1] <= u' ') --end;
  return Text(text.substr(begin, end - begin));
}

bool StartsWith(TextView text, TextView prefix) { return text.substr(0, prefix.size()) == prefix; }

bool EndsWith(TextView text, TextView suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

bool Contains(TextView text, TextView part) { return text.find(part) != TextView::npos; }

Text WithTrailingBackslash(TextView folder) {
  Text result(folder);
  if (result.empty() || result.back() != u'\\') result += u'\\';
  return result;
}

Text NumberText(int64_t value) {
  if (value >= 0) return NumberTextUnsigned(uint64_t(value));
  Text text = NumberTextUnsigned(uint64_t(0) - uint64_t(value));
  text.insert(text.begin(), u'-');
  return text;
}

Text NumberTextUnsigned(uint64_t value) {
  Text digits;
  do {
    digits.insert(digits.begin(), char16_t(u'0' + value % 10));
    value /= 10;
  } while (value != 0);
  return digits;
}

std::string ToUtf8(TextView text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    if (cp < 0x80) {
      out += char(cp);
    } else if (cp < 0x800) {
      out += char(0xC0 | (cp >> 6));
      out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += char(0xE0 | (cp >> 12));
      out += char(0x80 | ((cp >> 6) & 0x3F));
      out += char(0x80 | (cp & 0x3F));
    } else {
      out += char(0xF0 | (cp >> 18));
      out += char(0x80 | ((cp >> 12) & 0x3F));
      out += char(0x80 | ((cp >> 6) & 0x3F));
      out += char(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

namespace {

// The code point of the UTF-8 sequence at bytes[at] and its length in bytes;
// length 0 when no well-formed sequence starts there: no overlong form, no
// surrogate, nothing above U+10FFFF, no cut sequence.
struct Utf8Sequence {
  uint32_t code = 0;
  size_t length = 0;
};

Utf8Sequence ReadUtf8Sequence(std::string_view bytes, size_t at) {
  const auto lead = static_cast<unsigned char>(bytes[at]);
  if (lead < 0x80) return {lead, 1};
  // Continuation bytes, payload bits of the lead byte, smallest code that needs this length.
  size_t extra = 0;
  uint32_t code = 0;
  uint32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    code = lead & 0x1F;
    minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    code = lead & 0x0F;
    minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    code = lead & 0x07;
    minimum = 0x10000;
  } else {
    return {};
  }
  if (bytes.size() - at - 1 < extra) return {};
  for (size_t k = 1; k <= extra; ++k) {
    const auto next = static_cast<unsigned char>(bytes[at + k]);
    if ((next & 0xC0) != 0x80) return {};
    code = (code << 6) | (next & 0x3F);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {};
  return {code, extra + 1};
}

void AppendCodePoint(Text& text, uint32_t code) {
  if (code >= 0x10000) {
    code -= 0x10000;
    text += char16_t(0xD800 + (code >> 10));
    text += char16_t(0xDC00 + (code & 0x3FF));
  } else {
    text += char16_t(code);
  }
}

}  // namespace

bool DecodeUtf8(std::string_view bytes, Text& text) {
  text.clear();
  text.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    const Utf8Sequence sequence = ReadUtf8Sequence(bytes, i);
    if (sequence.length == 0) return false;
    AppendCodePoint(text, sequence.code);
    i += sequence.length;
  }
  return true;
}

namespace {

// Every whole unit of the bytes; false when an odd byte is left over.
bool DecodeUtf16(std::string_view bytes, bool bigEndian, Text& text) {
  text.clear();
  text.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    text += bigEndian ? char16_t((first << 8) | second) : char16_t((second << 8) | first);
  }
  return bytes.size() % 2 == 0;
}

}  // namespace

MarkedText DecodeByteOrderMarked(std::string_view bytes, Text& text) {
  bool ok = false;
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    ok = DecodeUtf8(bytes.substr(3), text);
    if (!ok) text = FromUtf8(bytes.substr(3));
  } else if (bytes.starts_with("\xFF\xFE")) {
    ok = DecodeUtf16(bytes.substr(2), false, text);
  } else if (bytes.starts_with("\xFE\xFF")) {
    ok = DecodeUtf16(bytes.substr(2), true, text);
  } else {
    return MarkedText::NoMark;
  }
  return ok ? MarkedText::Decoded : MarkedText::Malformed;
}

Text FromUtf8(std::string_view utf8) {
  Text out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const Utf8Sequence sequence = ReadUtf8Sequence(utf8, i);
    // A byte that starts no well-formed sequence stands for one replacement character.
    AppendCodePoint(out, sequence.length == 0 ? 0xFFFD : sequence.code);
    i += sequence.length == 0 ? 1 : sequence.length;
  }
  return out;
}

Text FromLatin1(std::string_view bytes) {
  Text out;
  out.reserve(bytes.size());
  for (char b : bytes) out += char16_t(static_cast<unsigned char>(b));
  return out;
}

std::vector<Text> Split(TextView text, char16_t separator) {
  std::vector<Text> pieces;
  size_t start = 0;
  for (;;) {
    const size_t at = text.find(separator, start);
    if (at == TextView::npos) {
      pieces.emplace_back(text.substr(start));
      return pieces;
    }
    pieces.emplace_back(text.substr(start, at - start));
    start = at + 1;
  }
}

std::vector<uint8_t> ValueDataFromText(TextView text) {
  std::vector<uint8_t> data;
  data.reserve(2 * (text.size() + 1));
  for (char16_t c : text) {
    data.push_back(uint8_t(c & 0xFF));
    data.push_back(uint8_t(c >> 8));
  }
  data.push_back(0);
  data.push_back(0);
  return data;
}

Text ValueTextFromData(const std::vector<uint8_t>& data) {
  Text text;
  text.reserve(data.size() / 2);
  for (size_t i = 0; i + 1 < data.size(); i += 2) {
    const auto c = char16_t(data[i] | (data[i + 1] << 8));
    if (c == u'\0') break;
    text += c;
  }
  return text;
}

}  // namespace nb
