// Costs of the conversions that run for every painted cell.
#include <benchmark/benchmark.h>

#include "rtl/datetime.h"
#include "rtl/format.h"
#include "rtl/numconv.h"
#include "rtl/strutils.h"

using namespace brevant;

static void BM_IntToStr(benchmark::State& state) {
  Int64 v = 1234567;
  for (auto _ : state) benchmark::DoNotOptimize(IntToStr(v++));
}
BENCHMARK(BM_IntToStr);

static void BM_FloatToStr(benchmark::State& state) {
  double v = 1234.5678;
  for (auto _ : state) {
    benchmark::DoNotOptimize(FloatToStr(v));
    v += 0.01;
  }
}
BENCHMARK(BM_FloatToStr);

static void BM_FormatFloat(benchmark::State& state) {
  double v = 1234567.891;
  for (auto _ : state) benchmark::DoNotOptimize(FormatFloat("#,##0.00", v));
}
BENCHMARK(BM_FormatFloat);

static void BM_DateTimeToStr(benchmark::State& state) {
  TDateTime t = EncodeDate(2026, 12, 9) + EncodeTime(14, 7, 9, 0);
  for (auto _ : state) benchmark::DoNotOptimize(DateTimeToStr(t));
}
BENCHMARK(BM_DateTimeToStr);

static void BM_StrToFloat(benchmark::State& state) {
  const String s = "-12345.678e-2";
  for (auto _ : state) benchmark::DoNotOptimize(StrToFloat(s));
}
BENCHMARK(BM_StrToFloat);

static void BM_Format(benchmark::State& state) {
  const String name = "Vendor";
  for (auto _ : state) benchmark::DoNotOptimize(Format("%s: %d of %d", {name, 17, 250}));
}
BENCHMARK(BM_Format);

static void BM_AnsiCompareText(benchmark::State& state) {
  const String a = "Underwater Sports Inc", b = "underwater sports inc.";
  for (auto _ : state) benchmark::DoNotOptimize(AnsiCompareText(a, b));
}
BENCHMARK(BM_AnsiCompareText);
