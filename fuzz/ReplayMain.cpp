// Replays a fuzz target over its stored corpus and a fixed set of generated
// inputs, so that ordinary test runs exercise every fuzz target.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  std::size_t runs = 0;
  if (argc > 1 && std::filesystem::is_directory(argv[1])) {
    for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
      if (!entry.is_regular_file()) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
      ++runs;
    }
  }
  std::mt19937 random(12345);
  for (int i = 0; i < 20000; ++i) {
    std::vector<std::uint8_t> bytes(random() % 300);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    ++runs;
  }
  std::printf("replayed %zu inputs\n", runs);
  return 0;
}
