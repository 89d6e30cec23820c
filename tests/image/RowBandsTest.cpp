#include "image/RowBands.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace {

// Every row is handed out exactly once, in bands that cover the range in order.
TEST(RowBands, CoverEveryRowOnce) {
    for (const auto& [rows, pixelsPerRow] : {std::pair{0, 100LL}, std::pair{1, 1LL}, std::pair{7, 10LL},
                                             std::pair{3000, 2000LL}, std::pair{5, 1LL << 20}}) {
        std::vector<std::atomic<int>> visits(static_cast<std::size_t>(rows));
        std::atomic<int> calls{0};
        ForEachRowBand(rows, pixelsPerRow, [&](int first, int end) {
            ++calls;
            ASSERT_LE(0, first);
            ASSERT_LT(first, end);
            ASSERT_LE(end, rows);
            for (int row = first; row < end; ++row) ++visits[std::size_t(row)];
        });
        for (int row = 0; row < rows; ++row) ASSERT_EQ(visits[std::size_t(row)].load(), 1) << rows << " rows";
        // Small jobs stay on the calling thread in one piece.
        const int expectedAtMost = rows == 0 ? 0 : rows * pixelsPerRow < (1 << 16) ? 1 : rows;
        EXPECT_LE(calls.load(), expectedAtMost);
    }
}

}  // namespace
