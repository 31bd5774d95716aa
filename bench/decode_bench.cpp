// Decoding each embedded picture under Google Benchmark: the work a window does the first
// time it is shown.
#include <benchmark/benchmark.h>

#include <QByteArray>

#include <cstdint>
#include <span>

#include "assets/assets.h"
#include "ui/platform/jpeg_decoder.h"

namespace {

void BM_DecodePicture(benchmark::State& run, QByteArray (*picture)()) {
    const QByteArray bytes = picture();
    const std::span data(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                         static_cast<std::size_t>(bytes.size()));
    if (!platform::decodeJpeg(data).ok()) {
        run.SkipWithError("the embedded picture does not decode");
        return;
    }
    for (auto _ : run) benchmark::DoNotOptimize(platform::decodeJpeg(data));
    run.SetBytesProcessed(static_cast<std::int64_t>(run.iterations()) * bytes.size());
}

}  // namespace

BENCHMARK_CAPTURE(BM_DecodePicture, arrangement_background_700x438, &assets::arrangementBackground)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_DecodePicture, rules_banner_639x54, &assets::rulesBanner)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
