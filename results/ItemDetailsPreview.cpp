#include "results/ItemDetails.h"

namespace nb {

namespace {

constexpr size_t kLineBreakAfter = 78;  // a line is added once it holds more characters than this
constexpr size_t kMaxFullLines = 10;

}  // namespace

std::vector<Text> PreviewLines(std::string_view bytes) {
  std::vector<Text> lines;
  Text line;
  for (const char byte : bytes) {
    const auto code = static_cast<unsigned char>(byte);
    if (code > 31) line += char16_t(code);
    if (line.size() > kLineBreakAfter) {
      lines.push_back(std::move(line));
      line.clear();
      if (lines.size() == kMaxFullLines) break;
    }
  }
  lines.push_back(std::move(line));
  return lines;
}

}  // namespace nb
