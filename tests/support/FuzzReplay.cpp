// Runs a fuzz target over stored inputs, once each: the corpora the fuzzers grew become a
// regression test of the ordinary build. Arguments are files or folders of files.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void Replay(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  size_t count = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path where(argv[i]);
    if (std::filesystem::is_directory(where)) {
      for (const auto& entry : std::filesystem::directory_iterator(where))
        if (entry.is_regular_file()) Replay(entry.path()), ++count;
    } else if (std::filesystem::is_regular_file(where)) {
      Replay(where), ++count;
    } else {
      std::fprintf(stderr, "%s: not found\n", argv[i]);
      return 2;
    }
  }
  std::printf("replayed %zu inputs\n", count);
  // An empty corpus proves nothing.
  return count > 0 ? 0 : 1;
}
