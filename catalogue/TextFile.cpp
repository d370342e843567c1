#include "catalogue/TextFile.h"

#include <string_view>

namespace nb {
namespace {

// Reading stops here: the files read this way are a few kilobytes of settings.
constexpr uint64_t kMaxFileBytes = 16u * 1024 * 1024;
constexpr size_t kChunkBytes = 64 * 1024;

bool HasPrefix(const std::string& bytes, std::string_view prefix) {
  return bytes.size() >= prefix.size() && std::string_view(bytes).substr(0, prefix.size()) == prefix;
}

bool DecodeUtf16(std::string_view bytes, bool bigEndian, Text& text) {
  if (bytes.size() % 2 != 0) return false;
  text.clear();
  text.reserve(bytes.size() / 2);
  for (size_t i = 0; i < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    text += bigEndian ? char16_t((first << 8) | second) : char16_t((second << 8) | first);
  }
  return true;
}

bool ReadAllBytes(Platform& os, const Text& path, std::string& bytes) {
  uint32_t error = 0;
  // Share writing too: the owning program may hold the file open while it runs.
  auto file = os.OpenForRead(path, winapi::kShareRead | winapi::kShareWrite, error);
  if (!file) return false;
  const uint64_t size = file->Size();
  if (size > kMaxFileBytes) return false;
  bytes.clear();
  bytes.reserve(static_cast<size_t>(size));
  for (;;) {
    const size_t before = bytes.size();
    if (!file->Read(bytes, kChunkBytes)) return false;
    if (bytes.size() == before) return true;
    if (bytes.size() > kMaxFileBytes) return false;
  }
}

}  // namespace

std::vector<Text> SplitLines(TextView text) {
  std::vector<Text> lines;
  size_t start = 0;
  size_t i = 0;
  while (i < text.size()) {
    const char16_t c = text[i];
    if (c != u'\r' && c != u'\n') {
      ++i;
      continue;
    }
    lines.emplace_back(text.substr(start, i - start));
    i += (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ? 2 : 1;
    start = i;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

bool DecodeTextFile(Platform& os, const std::string& bytes, Text& text) {
  const std::string_view view(bytes);
  if (HasPrefix(bytes, "\xEF\xBB\xBF")) return DecodeUtf8(view.substr(3), text);
  if (HasPrefix(bytes, "\xFF\xFE")) return DecodeUtf16(view.substr(2), false, text);
  if (HasPrefix(bytes, "\xFE\xFF")) return DecodeUtf16(view.substr(2), true, text);
  text = os.DecodeAnsi(bytes);
  return true;
}

std::vector<Text> ReadTextLines(Platform& os, const Text& path) {
  std::string bytes;
  Text text;
  if (!ReadAllBytes(os, path, bytes) || !DecodeTextFile(os, bytes, text)) return {};
  return SplitLines(text);
}

}  // namespace nb
