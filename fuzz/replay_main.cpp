// The fuzz target as a plain program: each argument is an input file or a
// folder of them (in the order of their names), and every input goes through
// the target's entry point once, as libFuzzer would hand it over. A crash, a
// trap or a sanitizer report ends the program with a failure; the input at
// fault is the last one named on the output. The suite replays fuzz/corpus
// this way (CTest test fuzz_corpus_replay), so that the seeds keep passing
// in every build, without libFuzzer.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool Replay(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", file.c_str());
    return false;
  }
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::printf("%s (%zu bytes)\n", file.c_str(), bytes.size());
  std::fflush(stdout);
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s input-file-or-folder...\n", argv[0]);
    return 2;
  }
  int replayed = 0;
  for (int a = 1; a < argc; ++a) {
    const std::filesystem::path path(argv[a]);
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_directory(path)) {
      for (const auto& e : std::filesystem::directory_iterator(path)) {
        if (e.is_regular_file()) files.push_back(e.path());
      }
      std::sort(files.begin(), files.end());
    } else {
      files.push_back(path);
    }
    for (const auto& f : files) {
      if (!Replay(f)) return 1;
      ++replayed;
    }
  }
  std::printf("%d inputs replayed\n", replayed);
  return replayed > 0 ? 0 : 1;
}
