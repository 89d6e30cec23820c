#pragma once
// The picture-size bound every fuzz target passes to the readers: small enough that one input
// needs at most a few megabytes and a few milliseconds, large enough for every reader path.

#include <cstdint>

inline constexpr std::int64_t kFuzzMaxPixels = std::int64_t{1} << 16;
