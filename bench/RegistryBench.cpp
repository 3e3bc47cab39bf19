// The registry store as a settings dialog uses it: one read of the remembered folder, then one
// write of the folder chosen. The argument is the size of a valid store in KiB, made of
// recent-folder values of many products; a store over the limit is only read here, as each write
// would set a copy of it aside.
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Registry.h"
#include "tests/support/TemporaryConfig.h"

namespace {

const std::string kKey = "Software\\Quillmore\\Recent Directories\\";

class Store {
 public:
  explicit Store(size_t bytes) : mBytes(bytes) {
    std::filesystem::create_directories(mConfig.UserStore().parent_path());
    Fill();
  }

  // Writes the store afresh unless it is there at about its size (a write may set it aside).
  void Fill() {
    const std::filesystem::path path = mConfig.UserStore();
    std::error_code error;
    if (std::filesystem::file_size(path, error) >= mBytes / 2 && !error) return;
    std::string text;
    for (int product = 0;; ++product) {
      const std::string line = "Software\\\\Quillmore\\\\Recent Directories\\\\\tProduct " +
                               std::to_string(product) + "\t/home/someone/Music/Sessions/Settings/" +
                               std::to_string(product) + "\n";
      if (text.size() + line.size() > mBytes) break;
      text += line;
    }
    std::ofstream(path, std::ios::binary) << text;
  }

 private:
  size_t mBytes = 0;
  TemporaryConfig mConfig;
};

void BM_RegistryDialog(benchmark::State& state) {
  Store store(static_cast<size_t>(state.range(0)) << 10);
  for (auto _ : state) {
    state.PauseTiming();
    store.Fill();
    state.ResumeTiming();
    benchmark::DoNotOptimize(Registry::ReadString(kKey, "Product 3"));
    benchmark::DoNotOptimize(
        Registry::WriteString(kKey, "Product 3", "/home/someone/Music/Sessions/Settings/3"));
  }
}
BENCHMARK(BM_RegistryDialog)->Arg(4)->Arg(255)->Unit(benchmark::kMillisecond);

void BM_RegistryRead(benchmark::State& state) {
  Store store(static_cast<size_t>(state.range(0)) << 10);
  for (auto _ : state) benchmark::DoNotOptimize(Registry::ReadString(kKey, "Product 3"));
}
BENCHMARK(BM_RegistryRead)->Arg(4)->Arg(255)->Arg(15 << 10)->Unit(benchmark::kMillisecond);

}  // namespace
