#pragma once
// A list of canvas points that grows as a brush touches them.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "image/DibTypes.h"

// Canvas points in the order first touched (a brush stroke's, a wand's samples), each once,
// with the colour last recorded for it. A hash index beside the list finds a point again
// without scanning, so long strokes stay as quick as short ones. A full list records no new
// points.
class TouchedPoints {
public:
    explicit TouchedPoints(std::size_t capacity);
    // False when the point is new and the list is full (the point is not recorded).
    bool Record(CPoint point, std::uint32_t colour = 0);
    std::size_t Count() const { return m_points.size(); }
    std::size_t Capacity() const { return m_capacity; }
    std::span<const CPoint> Points() const { return m_points; }
    std::span<const std::uint32_t> Colours() const { return m_colours; }

private:
    // The slot holding the point, or the free slot where it belongs.
    std::size_t SlotOf(CPoint point) const;

    std::size_t m_capacity;
    std::vector<CPoint> m_points;
    std::vector<std::uint32_t> m_colours;
    std::vector<std::int32_t> m_slots;  // open addressing: index into m_points, -1 for free
};
