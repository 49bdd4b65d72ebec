// The pacing timer as the upload uses it: ticks at 2, 4, 5, 6 and 8 ms on the GUI thread's
// event loop. Reports the mean interval between two handled ticks and the worst gap, against
// the asked interval. Target: the mean within 1 % of the interval; the worst gap shows how
// much other load on the machine delays single ticks (the upload only needs the mean).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <algorithm>

#include "device/prec_timer.h"

namespace {

using namespace pulvitra;

constexpr int kTicksPerRun = 250;

void pacing_ticks(benchmark::State& state) {
  const auto interval = static_cast<std::uint32_t>(state.range(0));
  double mean_ms = 0;
  double worst_ms = 0;
  for (auto _ : state) {
    TPrecTimer timer;
    QEventLoop loop;
    QElapsedTimer clock;
    std::int64_t last_ns = -1;
    std::int64_t worst_ns = 0;
    int ticks = 0;
    timer.OnTimer = [&](std::uint32_t) {
      const std::int64_t now = clock.nsecsElapsed();
      if (last_ns >= 0) worst_ns = std::max(worst_ns, now - last_ns);
      last_ns = now;
      if (++ticks == kTicksPerRun) loop.quit();
    };
    clock.start();
    timer.setResolution(1);
    timer.setInterval(interval);
    timer.setPeriodic(true);
    timer.setEnabled(true);
    loop.exec();
    mean_ms = static_cast<double>(clock.nsecsElapsed()) / 1e6 / kTicksPerRun;
    worst_ms = static_cast<double>(worst_ns) / 1e6;
  }
  state.counters["interval_ms"] = interval;
  state.counters["mean_ms"] = mean_ms;
  state.counters["worst_gap_ms"] = worst_ms;
}

BENCHMARK(pacing_ticks)->Arg(2)->Arg(4)->Arg(5)->Arg(6)->Arg(8)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
