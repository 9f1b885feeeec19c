// Entry point of lumo_bench; the benchmarks register themselves from their own files.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
