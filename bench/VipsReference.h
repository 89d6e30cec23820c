#pragma once
// The timed part of every libvips reference: run one operation on a picture already in memory
// and write its result to memory, as our own operations leave theirs.

#include <benchmark/benchmark.h>
#include <vips/vips.h>

#include <cstddef>

template <typename Operation>
void TimeVipsToMemory(benchmark::State& state, VipsImage* source, const Operation& operation) {
    for (auto _ : state) {
        VipsImage* out = nullptr;
        if (operation(source, &out)) {
            state.SkipWithError(vips_error_buffer());
            break;
        }
        std::size_t size = 0;
        void* bytes = vips_image_write_to_memory(out, &size);
        benchmark::DoNotOptimize(bytes);
        g_free(bytes);
        g_object_unref(out);
    }
}
