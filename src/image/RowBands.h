#pragma once
// Splits a per-row pixel loop over a few threads. Only for loops whose rows are
// independent (each row writes its own pixels and reads nothing another row writes), so
// the result is the same as on one thread.

#include <cstdint>
#include <functional>

// Calls body(firstRow, endRow) over bands covering 0..rowCount-1, the first band on the
// calling thread; small jobs run on the calling thread alone. Returns when every band is done.
// While a progress indicator is shown, the calling thread reports the share of its band done
// now and then (and so does its band in steps).
void ForEachRowBand(int rowCount, std::int64_t pixelsPerRow, const std::function<void(int, int)>& body);

// The same with at most `threads` bands (at least one).
void ForEachRowBand(int rowCount, std::int64_t pixelsPerRow, unsigned threads,
                    const std::function<void(int, int)>& body);
