// The machine registry file: the toolbar-style read every dialog does when it loads, and the
// locked, atomic write the order dialogs do when they close, on a registry of a realistic size.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "bench/bench_runner.h"
#include "platform/registry.h"

namespace {

using quillon::platform::RegAccess;
using quillon::platform::Registry;
using quillon::platform::RegistryKey;
using quillon::platform::RegStatus;

constexpr const char* kAppearance = "SOFTWARE\\Brindle\\WF\\V8.520\\Appearance";
constexpr const char* kKcgl = "SOFTWARE\\Brindle\\WF\\V8.520\\KCGL";

class Scratch {
 public:
  Scratch() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "quillon-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~Scratch() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  std::filesystem::path file() const { return path_ / "registry"; }

 private:
  std::filesystem::path path_;
};

// A registry with `keys` keys of ten values each besides the settings the library uses.
Registry filled(const Scratch& scratch, int keys) {
  Registry registry(scratch.file());
  for (int k = 0; k < keys; ++k) {
    RegistryKey key;
    registry.createKey("SOFTWARE\\Vendor" + std::to_string(k) + "\\Settings", key);
    for (int v = 0; v < 10; ++v) key.setString("Value" + std::to_string(v), "some text here");
  }
  RegistryKey key;
  registry.createKey(kAppearance, key);
  key.setString("Toolbar Style", "Text");
  return registry;
}

void BM_RegistryToolbarStyleRead(benchmark::State& state) {
  Scratch scratch;
  const Registry registry = filled(scratch, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    RegistryKey key;
    std::string text;
    if (registry.openKey(kAppearance, RegAccess::Read, key) == RegStatus::Success)
      key.queryString("Toolbar Style", text, 128);
    benchmark::DoNotOptimize(text);
  }
}
QUILLON_BENCHMARK(BM_RegistryToolbarStyleRead)->Arg(10)->Arg(200);

void BM_RegistryWrite(benchmark::State& state) {
  Scratch scratch;
  Registry registry = filled(scratch, static_cast<int>(state.range(0)));
  {
    // Made beforehand, so that no iteration creates the key the others only open.
    RegistryKey key;
    registry.createKey(kKcgl, key);
  }
  int i = 0;
  for (auto _ : state) {
    RegistryKey key;
    if (registry.openKey(kKcgl, RegAccess::Write, key) != RegStatus::Success)
      registry.createKey(kKcgl, key);
    key.setString("orderform", std::to_string(++i % 3));
  }
}
QUILLON_BENCHMARK(BM_RegistryWrite)->Arg(10)->Arg(200);

}  // namespace

QUILLON_BENCHMARK_MAIN()
