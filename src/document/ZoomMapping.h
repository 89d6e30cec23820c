#pragma once
// The views' isotropic mapping: a window extent of 2000 canvas pixels shown over a viewport
// extent of `zoom` device pixels (20 × the percentage), offset by the scroll position.

#include <cstdint>

constexpr int kZoomWindowExtent = 2000;

// The device coordinate where a canvas coordinate shows.
inline int ZoomToDevice(int canvas, int zoom, int scroll) {
    return static_cast<int>(std::int64_t{canvas} * zoom / kZoomWindowExtent) - scroll;
}

// The canvas coordinate a device coordinate shows (rounded down, also left of the origin).
inline int ZoomToCanvas(int device, int zoom, int scroll) {
    const std::int64_t scaled = (std::int64_t{device} + scroll) * kZoomWindowExtent;
    return static_cast<int>(scaled >= 0 ? scaled / zoom : -((-scaled + zoom - 1) / zoom));
}
