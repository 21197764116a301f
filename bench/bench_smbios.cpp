// GetInfo on a real SeaBIOS image and on an all-zero image (the worst case of
// the anchor scan), and the anchor scan against a scan that compares the
// anchor at every position.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/host.h"
#include "hwinfo/bios_acquisition.h"
#include "hwinfo/smbios.h"
#include "hwinfo/smbios_anchor.h"
#include "platform/fake/fake_machine.h"

namespace {

using namespace tolvaren;

BiosImage SeaBiosImage() {
  std::ifstream in(TOLVAREN_SOURCE_DIR "/tests/fixtures/firmware/ident.bin", std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
  BiosImage image{};
  std::copy_n(bytes.begin(), std::min(bytes.size(), image.size()), image.begin());
  return image;
}

void GetInfoOn(benchmark::State& state, const BiosImage& image) {
  platform::fake::FakeMachine machine;
  Host host = Host::StartUp(machine.platform());
  auto saved = std::make_shared<SavedBiosImage>();
  *saved->image = image;
  host.savedBiosImage = std::move(saved);
  TSMBIOS smbios(host);
  for (auto _ : state) {
    smbios.GetInfo(1);
    benchmark::DoNotOptimize(smbios.SystemSerial().data());
  }
}

void BM_GetInfoSeaBios(benchmark::State& state) {
  const BiosImage image = SeaBiosImage();
  if (FindEntryPointAddress(image) == 0) state.SkipWithError("no SeaBIOS image in tests/fixtures/firmware");
  GetInfoOn(state, image);
}
BENCHMARK(BM_GetInfoSeaBios);

void BM_GetInfoAllZero(benchmark::State& state) { GetInfoOn(state, BiosImage{}); }
BENCHMARK(BM_GetInfoAllZero);

// Compares the anchor at each position in turn.
std::uint32_t NaiveScan(const BiosImage& image, const char* anchor, std::size_t length) {
  for (std::size_t i = 0; i + length <= image.size() - 1; ++i) {
    if (std::memcmp(image.data() + i, anchor, length) == 0) return static_cast<std::uint32_t>(kBiosAreaBase + i);
  }
  return 0;
}

void BM_AnchorScanNaive(benchmark::State& state, BiosImage image) {
  for (auto _ : state) benchmark::DoNotOptimize(NaiveScan(image, "_SM_", 4));
}
void BM_AnchorScanFast(benchmark::State& state, BiosImage image) {
  for (auto _ : state) benchmark::DoNotOptimize(FindAnchor(image, kSmAnchor));
}
BENCHMARK_CAPTURE(BM_AnchorScanNaive, seabios, SeaBiosImage());
BENCHMARK_CAPTURE(BM_AnchorScanFast, seabios, SeaBiosImage());
BENCHMARK_CAPTURE(BM_AnchorScanNaive, zero, BiosImage{});
BENCHMARK_CAPTURE(BM_AnchorScanFast, zero, BiosImage{});

}  // namespace
