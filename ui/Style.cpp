#include "ui/Style.h"

#include <array>
#include <utility>

#include "ui/Control.h"

namespace nb::ui {

namespace {

std::string_view TrimView(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

std::optional<uint32_t> ParseColour(std::string_view s) {
  if (s.size() != 7 || s[0] != '#') return std::nullopt;
  uint32_t rgb = 0;
  for (char c : s.substr(1)) {
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return std::nullopt;
    rgb = rgb * 16 + uint32_t(digit);
  }
  return Rgb(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace

std::optional<StyleColours> ParseStyle(std::string_view text, TextView name) {
  StyleColours style;
  const std::array<std::pair<std::string_view, uint32_t*>, 23> keys = {{
      {"window", &style.window},         {"panel", &style.panel},
      {"topPanel", &style.topPanel},     {"panelEdge", &style.panelEdge},
      {"text", &style.text},             {"buttonFace", &style.buttonFace},
      {"buttonHot", &style.buttonHot},   {"buttonPressed", &style.buttonPressed},
      {"buttonBorder", &style.buttonBorder}, {"buttonText", &style.buttonText},
      {"disabledText", &style.disabledText}, {"headerFace", &style.headerFace},
      {"headerEdge", &style.headerEdge}, {"headerText", &style.headerText},
      {"listBackground", &style.listBackground}, {"listText", &style.listText},
      {"groupText", &style.groupText},   {"groupBand", &style.groupBand},
      {"selection", &style.selection},   {"selectionText", &style.selectionText},
      {"checkBorder", &style.checkBorder}, {"checkMark", &style.checkMark},
      {"splitter", &style.splitter},
  }};
  std::array<bool, keys.size()> seen{};
  bool named = false;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = TrimView(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (line.empty() || line.front() == ';') continue;
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    const std::string_view key = TrimView(line.substr(0, eq));
    const std::string_view value = TrimView(line.substr(eq + 1));
    if (key == "name") {
      if (FromUtf8(value) != name) return std::nullopt;
      named = true;
      continue;
    }
    size_t i = 0;
    while (i < keys.size() && keys[i].first != key) ++i;
    if (i == keys.size()) continue;  // a colour this version does not use
    const auto colour = ParseColour(value);
    if (!colour) return std::nullopt;
    *keys[i].second = *colour;
    seen[i] = true;
  }
  if (!named) return std::nullopt;
  for (bool s : seen)
    if (!s) return std::nullopt;
  return style;
}

}  // namespace nb::ui
