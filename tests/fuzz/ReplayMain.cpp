// Feeds inputs to a fuzz target without libFuzzer: every file of the folders
// named on the command line (or the files themselves), in name order, one
// call each. Each input lies in a heap block of exactly its size, as
// libFuzzer hands it over, so that a read past its end is caught. A target
// that finds a broken promise aborts; no input at all is a failure too.
//   nb_fuzz_<target> FOLDER_OR_FILE...
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> Inputs(int argc, char** argv) {
  std::vector<fs::path> files;
  for (int i = 1; i < argc; ++i) {
    const fs::path named(argv[i]);
    if (!fs::is_directory(named)) {
      files.push_back(named);
      continue;
    }
    for (const auto& entry : fs::directory_iterator(named))
      if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<fs::path> files = Inputs(argc, argv);
  if (files.empty()) {
    std::fprintf(stderr, "no inputs: name a corpus folder or files\n");
    return 1;
  }
  for (const fs::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "cannot read %s\n", file.c_str());
      return 1;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const auto data = std::make_unique_for_overwrite<uint8_t[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), data.get());
    LLVMFuzzerTestOneInput(data.get(), bytes.size());
  }
  std::printf("%zu inputs replayed\n", files.size());
  return 0;
}
