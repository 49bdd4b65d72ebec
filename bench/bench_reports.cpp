// All four reports of a generated recording filling the whole recorder memory, written as
// one A4 PDF at 300 and 600 dpi: what a clinic waits for after Print. Target: at most 1 s.
// The file size is reported as the counter "bytes".
#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QPageSize>
#include <QTemporaryDir>

#include "bench/view_bench_support.h"
#include "reports/print_job.h"

namespace pulvitra {
namespace {

void BM_AllFourReportsToPdf(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath("reports.pdf");
  ReportSource source;
  source.ekg = &generated_recording();
  source.file_name = path;
  source.patient.surname = "Muster";
  source.patient.clinic = "Klinik Nord";
  source.patient.age = 57;
  for (auto _ : state) {
    PdfReportPrinter printer(path, QPageSize(QPageSize::A4), static_cast<int>(state.range(0)));
    if (!print_reports({false, true, true, true, true}, printer, source)) state.SkipWithError("not written");
  }
  state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
}

BENCHMARK(BM_AllFourReportsToPdf)->Arg(300)->Arg(600)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pulvitra

int main(int argc, char** argv) { return pulvitra::run_view_benchmarks(argc, argv); }
