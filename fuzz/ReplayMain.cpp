// Runs a fuzz target's entry point over every file in the folders given (folders that do not
// exist are passed over), so that the inputs campaigns found, kept as regressions, and the
// image corpus run in the ordinary test suite under any compiler. A fault aborts the program,
// and so does a single allocation beyond what the fuzz bounds allow one input, so that an
// input once found to make a library allocate gigabytes keeps failing if that returns.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <vector>

namespace {
constexpr std::size_t kMaxAllocationMb = 64;
}

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer owns the allocator; it is told the bound instead.
extern "C" const char* __asan_default_options() {
    return "max_allocation_size_mb=64:allocator_may_return_null=0";
}
static_assert(kMaxAllocationMb == 64, "the sanitizer's bound above repeats this figure");
#else
// Every operator new form without alignment ends here, including the libraries' own.
void* operator new(std::size_t size) {
    if (size > kMaxAllocationMb << 20) {
        std::fprintf(stderr, "an input asked for one allocation of %zu bytes\n", size);
        std::abort();
    }
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}
#endif

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        std::error_code error;
        if (!std::filesystem::is_directory(argv[i], error)) continue;
        std::vector<std::filesystem::path> inputs;
        for (const auto& entry : std::filesystem::directory_iterator(argv[i], error))
            if (entry.is_regular_file()) inputs.push_back(entry.path());
        std::sort(inputs.begin(), inputs.end());
        for (const auto& input : inputs) {
            std::ifstream file(input, std::ios::binary);
            const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++replayed;
        }
    }
    std::printf("%d inputs replayed\n", replayed);
    return 0;
}
