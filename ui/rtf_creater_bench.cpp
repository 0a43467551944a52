// Conversion speed of the HTML-to-RTF converter on a typical project text
// (paragraphs, bold runs, coloured spans, links, entities, some non-ASCII
// words) repeated to 1 MB and 2 MB. The time should grow linearly.
#include <benchmark/benchmark.h>

#include <string>

#include "ui/rtf_creater.h"

namespace {

std::string MakeDocument(size_t bytes) {
  const std::string block =
      "<div align=center><b>Section heading</b></div>\n"
      "<p>This licence grants you the right to use the software on "
      "<font color=\"#ff0000\" size=3>one computer</font> only. "
      "<span style=\"color:#0000ff; background:#ffff00\">Read carefully"
      "</span> &amp; keep a copy. Gr\xC3\xB6\xC3\x9F" "e \xE2\x80\x94 "
      "\xE4\xBE\xA1\xE6\xA0\xBC.<br>\n"
      "See <a href=\"http://example.org/terms\">the terms</a> for more."
      "<!-- note for translators --><i>Last changed</i> &lt;2024&gt;.</p>\n";
  std::string doc;
  doc.reserve(bytes + block.size());
  while (doc.size() < bytes) doc += block;
  return doc;
}

// Converts `doc` once per iteration, counting its bytes.
void ConvertEachIteration(benchmark::State& state, const std::string& doc) {
  cc::win::RTFCreater creater;
  for (auto _ : state) {
    const std::string& rtf =
        creater.Convert(doc.data(), static_cast<int>(doc.size()), 20);
    benchmark::DoNotOptimize(rtf.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(doc.size()));
}

void BM_Convert(benchmark::State& state) {
  ConvertEachIteration(state, MakeDocument(static_cast<size_t>(state.range(0))));
}
BENCHMARK(BM_Convert)->Arg(1 << 20)->Arg(2 << 20)->Unit(benchmark::kMillisecond);

// Text full of "<" that never closes, and elements that never end: every
// "<" looks for a ">" and the state stack only grows. Must stay linear too.
void BM_ConvertUnclosed(benchmark::State& state) {
  const std::string block = "a < b <font size=3 <span style='color:#ff0000 ";
  std::string doc;
  while (doc.size() < static_cast<size_t>(state.range(0))) doc += block;
  ConvertEachIteration(state, doc);
}
BENCHMARK(BM_ConvertUnclosed)
    ->Arg(1 << 20)
    ->Arg(2 << 20)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
