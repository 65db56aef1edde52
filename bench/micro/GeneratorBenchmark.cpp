// Micro-benchmarks of the generator's inner pieces, for profiling changes to
// them in isolation: the state store (numbering new vectors, finding known
// ones) and the output writer's number formatting.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "generator/HybridHash.h"
#include "generator/OutputFile.h"
#include "tests/BaseClasses/StubModel.h"

namespace {

const unsigned long kStateSize = 32;  // the Kanban model's vectors

// Equality of vectors as the generated models define it: their bytes.
class ByteModel : public StubModel {
 public:
  int StateSize() override { return kStateSize; }
  bool CompareState(void* a, void* b) override { return std::memcmp(a, b, kStateSize) == 0; }
};

// Vectors of small markings, as a model's places hold.
std::vector<char> randomVectors(size_t count) {
  std::mt19937_64 random(7);
  std::vector<char> vectors(count * kStateSize, 0);
  for (size_t i = 0; i < vectors.size(); i += 2) {
    vectors[i] = static_cast<char>(random() % 8);
  }
  return vectors;
}

void BM_StoreNumbersNewStates(benchmark::State& state) {
  const size_t count = static_cast<size_t>(state.range(0));
  const std::vector<char> vectors = randomVectors(count);
  ByteModel model;
  for (auto _ : state) {
    HybridHash store(&model, kStateSize, 131072, 131072, 0.5);
    unsigned long next = 1;
    for (size_t i = 0; i < count; i++) {
      if (store.FindOrInsert(&vectors[i * kStateSize], next) == next) {
        next++;
      }
    }
    benchmark::DoNotOptimize(next);
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_StoreNumbersNewStates)->Arg(1 << 16)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

void BM_StoreFindsKnownStates(benchmark::State& state) {
  const size_t count = static_cast<size_t>(state.range(0));
  const std::vector<char> vectors = randomVectors(count);
  ByteModel model;
  HybridHash store(&model, kStateSize, 131072, 131072, 0.5);
  unsigned long next = 1;
  for (size_t i = 0; i < count; i++) {
    if (store.FindOrInsert(&vectors[i * kStateSize], next) == next) {
      next++;
    }
  }
  std::mt19937_64 random(11);
  for (auto _ : state) {
    const size_t i = random() % count;
    benchmark::DoNotOptimize(store.Lookup(&vectors[i * kStateSize]));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_StoreFindsKnownStates)->Arg(1 << 16)->Arg(1 << 22);

void BM_WriterFormatsRates(benchmark::State& state) {
  OutputFile file;
  file.open("/dev/null");
  std::mt19937_64 random(3);
  std::vector<double> rates;
  for (int i = 0; i < static_cast<int>(state.range(0)); i++) {
    rates.push_back(static_cast<double>(random() % 1000) / 997.0);
  }
  size_t i = 0;
  for (auto _ : state) {
    file.putUnsigned(i);
    file.put('\n');
    file.putScientific(rates[i++ % rates.size()]);
    file.put('\n');
  }
  file.close();
  state.SetItemsProcessed(state.iterations());
}
// Few distinct rates (as in a model) and many (sums of rates).
BENCHMARK(BM_WriterFormatsRates)->Arg(16)->Arg(100000);

}  // namespace

BENCHMARK_MAIN();
