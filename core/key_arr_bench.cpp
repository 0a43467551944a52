// KeyArr on a configuration of the size a large project produces: 100,000
// entries of file items, language texts and counter keys; then 1,000,000
// random lookups.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "core/key_arr.h"

namespace {

constexpr int kEntries = 100000;
constexpr int kLookups = 1000000;

struct Generated {
  std::u16string text;
  std::vector<cc::Str> keys;  // every stored key, in a shuffled order
};

std::u16string Ascii(const std::string& s) { return std::u16string(s.begin(), s.end()); }

// 40% file items, 40% language texts, 20% counter lines in a few sections.
const Generated& Configuration() {
  static const Generated generated = [] {
    Generated g;
    std::mt19937 random(2024);
    int counters = 0;
    g.text = u"[s.c]\nWidth=500\nHeight=360\n[]\n";
    for (int i = 0; i < kEntries; ++i) {
      std::string line;
      std::string key;
      if (i % 5 < 2) {
        key = "s.f." + std::to_string(i) + ".Item";
        line = key + "=bin\\\\app" + std::to_string(i) + ".exe;\t<AppDir>;\t" + std::to_string(random() % 100000) +
               ";\t0x" + std::to_string(random() % 4096) + ";\t1";
        g.text += Ascii(line) + u"\n";
      } else if (i % 5 < 4) {
        key = "en-US.s.i.Short." + std::to_string(i) + ".Name";
        line = key + "=Shortcut text number " + std::to_string(i) + "\\nsecond line";
        g.text += Ascii(line) + u"\n";
      } else {
        // Counter lines go into their own section so the prefix changes.
        g.text += u"[s.i.Reg]\nItem?=HKLM;\tSoftware\\\\Velmora;\tValue" + Ascii(std::to_string(i)) + u"\n[]\n";
        key = "s.i.Reg.Item" + std::to_string(counters++);
      }
      g.keys.push_back(cc::Str(Ascii(key)));
    }
    std::shuffle(g.keys.begin(), g.keys.end(), random);
    return g;
  }();
  return generated;
}

void BM_KeyArrParse(benchmark::State& state) {
  const cc::Str text(Configuration().text);
  for (auto _ : state) {
    cc::KeyArr store(false, true);
    const int stored = store.Parse(text);
    benchmark::DoNotOptimize(stored);
    if (store.Count() != kEntries + 3) state.SkipWithError("unexpected entry count");
  }
  state.counters["entries_per_second"] =
      benchmark::Counter(static_cast<double>(kEntries) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_KeyArrParse)->Unit(benchmark::kMillisecond);

// As the runtime does it: the UTF-8 bytes of the payload's configuration
// decoded and parsed.
void BM_KeyArrParseUtf8(benchmark::State& state) {
  const std::string utf8 = cc::Str(Configuration().text).ToUtf8();
  for (auto _ : state) {
    cc::KeyArr store(false, true);
    benchmark::DoNotOptimize(store.Parse(cc::Str::FromUtf8(utf8)));
  }
  state.counters["entries_per_second"] =
      benchmark::Counter(static_cast<double>(kEntries) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_KeyArrParseUtf8)->Unit(benchmark::kMillisecond);

void BM_KeyArrGet(benchmark::State& state) {
  const Generated& g = Configuration();
  cc::KeyArr store(false, true);
  store.Parse(cc::Str(g.text));
  std::mt19937 random(7);
  std::vector<int> picks(kLookups);
  for (int& p : picks) p = static_cast<int>(random() % g.keys.size());
  for (auto _ : state) {
    size_t found = 0;
    for (int p : picks) found += store.Get(g.keys[p]).GetLength();
    benchmark::DoNotOptimize(found);
  }
  state.counters["gets_per_second"] =
      benchmark::Counter(static_cast<double>(kLookups) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_KeyArrGet)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
