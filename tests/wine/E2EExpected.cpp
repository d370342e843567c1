#include "wine/E2EExpected.h"

#include <windows.h>

#include <cctype>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace nb::e2e {

namespace {

// A reader for the plain JSON that the demo machine writes: objects, arrays,
// strings with their escapes, integers.
struct Json {
  enum class Kind { Null, Number, String, Array, Object } kind = Kind::Null;
  int64_t number = 0;
  std::wstring text;
  std::vector<Json> items;
  std::vector<std::pair<std::wstring, Json>> members;

  const Json* Member(const std::wstring& name) const {
    for (const auto& [key, value] : members)
      if (key == name) return &value;
    return nullptr;
  }
};

class Reader {
 public:
  explicit Reader(const std::string& text) : s_(text) {}

  Json Document() {
    Json value = Value();
    Space();
    if (at_ != s_.size()) Fail("text after the document");
    return value;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw std::runtime_error(what + " at offset " + std::to_string(at_));
  }
  void Space() {
    while (at_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[at_]))) ++at_;
  }
  char Next() {
    Space();
    if (at_ >= s_.size()) Fail("unexpected end");
    return s_[at_];
  }
  void Expect(char c) {
    if (Next() != c) Fail(std::string("expected '") + c + "'");
    ++at_;
  }

  Json Value() {
    Json v;
    const char c = Next();
    if (c == '{') {
      v.kind = Json::Kind::Object;
      ++at_;
      if (Next() == '}') return ++at_, v;
      for (;;) {
        std::wstring key = String();
        Expect(':');
        v.members.emplace_back(std::move(key), Value());
        if (Next() == '}') return ++at_, v;
        Expect(',');
      }
    }
    if (c == '[') {
      v.kind = Json::Kind::Array;
      ++at_;
      if (Next() == ']') return ++at_, v;
      for (;;) {
        v.items.push_back(Value());
        if (Next() == ']') return ++at_, v;
        Expect(',');
      }
    }
    if (c == '"') {
      v.kind = Json::Kind::String;
      v.text = String();
      return v;
    }
    if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) {
      v.kind = Json::Kind::Number;
      size_t used = 0;
      v.number = std::stoll(s_.substr(at_), &used);
      at_ += used;
      return v;
    }
    if (s_.compare(at_, 4, "null") == 0) {
      at_ += 4;
      return v;
    }
    Fail("unexpected character");
  }

  // UTF-8 in, UTF-16 out; \uXXXX escapes are UTF-16 units already.
  std::wstring String() {
    Expect('"');
    std::string utf8;
    std::wstring out;
    auto flush = [&] {
      if (utf8.empty()) return;
      const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
      std::wstring wide(size_t(n), L'\0');
      ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), n);
      out += wide;
      utf8.clear();
    };
    for (;;) {
      if (at_ >= s_.size()) Fail("unterminated string");
      const char c = s_[at_++];
      if (c == '"') break;
      if (c != '\\') {
        utf8 += c;
        continue;
      }
      if (at_ >= s_.size()) Fail("unterminated escape");
      const char e = s_[at_++];
      switch (e) {
        case 'n': utf8 += '\n'; break;
        case 't': utf8 += '\t'; break;
        case 'r': utf8 += '\r'; break;
        case 'b': utf8 += '\b'; break;
        case 'f': utf8 += '\f'; break;
        case 'u':
          flush();
          if (at_ + 4 > s_.size()) Fail("short \\u escape");
          out += wchar_t(std::stoi(s_.substr(at_, 4), nullptr, 16));
          at_ += 4;
          break;
        default: utf8 += e; break;
      }
    }
    flush();
    return out;
  }

  const std::string& s_;
  size_t at_ = 0;
};

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

std::vector<std::wstring> Strings(const Json& root, const wchar_t* name) {
  std::vector<std::wstring> out;
  if (const Json* list = root.Member(name))
    for (const Json& item : list->items) out.push_back(item.text);
  return out;
}

bool Ticked(const std::string& mask, const std::string& code) {
  const size_t k = size_t(std::stoi(code));
  return k >= 1 && k <= mask.size() && mask[k - 1] == '1';
}

}  // namespace

int Expected::Count(const std::string& mask) const {
  int count = 0;
  for (const auto& [code, paths] : findings)
    if (Ticked(mask, code)) count += int(paths.size());
  return count;
}

int64_t Expected::Kilobytes(const std::string& mask) const {
  int64_t total = 0;
  for (const auto& [code, paths] : findings) {
    if (!Ticked(mask, code) || std::stoi(code) > 14) continue;
    for (const std::wstring& path : paths) {
      const auto size = bytes.find(path);
      if (size != bytes.end()) total += int64_t(std::nearbyint(double(size->second) / 1024.0));
    }
  }
  return total;
}

std::optional<Expected> LoadExpected(std::string& error) {
  wchar_t path[MAX_PATH] = {};
  if (::GetEnvironmentVariableW(L"NB_E2E_EXPECTED", path, MAX_PATH) == 0) return std::nullopt;
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "cannot read " + Narrow(path);
    return std::nullopt;
  }
  std::stringstream content;
  content << file.rdbuf();
  const std::string text = content.str();
  try {
    const Json root = Reader(text).Document();
    Expected e;
    if (const Json* findings = root.Member(L"findings"))
      for (const auto& [code, list] : findings->members)
        for (const Json& item : list.items) e.findings[Narrow(code)].push_back(item.text);
    if (const Json* bytes = root.Member(L"bytes"))
      for (const auto& [file, size] : bytes->members) e.bytes[file] = size.number;
    e.canaries = Strings(root, L"canaries");
    e.registryCanaries = Strings(root, L"registry_canaries");
    e.pruned = Strings(root, L"pruned");
    e.kept = Strings(root, L"kept");
    if (const Json* link = root.Member(L"link")) e.link = link->text;
    if (const Json* swap = root.Member(L"swap")) {
      const auto text = [&](const wchar_t* name) {
        const Json* member = swap->Member(name);
        return member ? member->text : std::wstring();
      };
      e.swap = {text(L"folder"), text(L"finding"), text(L"target"), text(L"canary"), text(L"request"), text(L"done")};
    }
    if (const Json* moved = root.Member(L"moved")) {
      const Json* link = moved->Member(L"link");
      const Json* target = moved->Member(L"target");
      e.moved = {link ? link->text : std::wstring(), target ? target->text : std::wstring()};
    }
    if (const Json* refused = root.Member(L"refused"))
      for (const Json& item : refused->items) {
        const Json* link = item.Member(L"link");
        const Json* target = item.Member(L"target");
        e.refused.push_back({link ? link->text : std::wstring(), target ? target->text : std::wstring()});
      }
    if (e.findings.empty()) {
      error = Narrow(path) + " names no findings";
      return std::nullopt;
    }
    if (const Json* texts = root.Member(L"registry_texts"))
      for (const auto& [row, shown] : texts->members) e.registryTexts[row] = shown.text;
    const Json* arch = root.Member(L"arch");
    const std::wstring build = sizeof(void*) == 4 ? L"win32" : L"win64";
    if (!arch || arch->text != build) {
      error = Narrow(path) + " was laid out for " + (arch ? Narrow(arch->text) : std::string("no build named")) +
              ", not for this test's build, " + Narrow(build);
      return std::nullopt;
    }
    return e;
  } catch (const std::exception& failure) {
    error = Narrow(path) + ": " + failure.what();
    return std::nullopt;
  }
}

}  // namespace nb::e2e
