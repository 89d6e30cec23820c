#pragma once
// The reference most benchmarks stand beside: copying the same number of bytes with memcpy
// between two buffers that stay allocated.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

inline void RunMemcpyReference(benchmark::State& state, std::size_t bytes) {
    std::vector<std::uint8_t> from(bytes, 1), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes));
}
