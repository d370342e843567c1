#include "catalogue/TextFile.h"

#include <string_view>

namespace nb {
namespace {

// Reading stops here: the files read this way are a few kilobytes of settings.
constexpr uint64_t kMaxFileBytes = 16u * 1024 * 1024;
constexpr size_t kChunkBytes = 64 * 1024;

bool ReadAllBytes(Platform& os, const Text& path, std::string& bytes) {
  // Share writing too: the owning program may hold the file open while it runs.
  std::unique_ptr<OpenFile> file;
  if (os.OpenForRead(path, winapi::kShareRead | winapi::kShareWrite, file) != winapi::kErrorSuccess) return false;
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
  switch (DecodeByteOrderMarked(bytes, text)) {
    case MarkedText::Decoded: return true;
    case MarkedText::Malformed: return false;
    case MarkedText::NoMark: break;
  }
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
