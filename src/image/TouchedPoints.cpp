#include "image/TouchedPoints.h"

#include <bit>

TouchedPoints::TouchedPoints(std::size_t capacity)
    : m_capacity(capacity), m_slots(std::bit_ceil(2 * capacity + 2), -1) {
    m_points.reserve(capacity);
    m_colours.reserve(capacity);
}

bool TouchedPoints::Record(CPoint point, std::uint32_t colour) {
    const std::uint64_t key = (std::uint64_t(std::uint32_t(point.x)) << 32) | std::uint32_t(point.y);
    const std::size_t mask = m_slots.size() - 1;
    std::size_t slot = std::size_t((key * 0x9E3779B97F4A7C15ull) >> 20) & mask;
    for (;; slot = (slot + 1) & mask) {
        const std::int32_t index = m_slots[slot];
        if (index < 0) break;
        if (m_points[std::size_t(index)] == point) {
            m_colours[std::size_t(index)] = colour;
            return true;
        }
    }
    if (m_points.size() >= m_capacity) return false;
    m_slots[slot] = std::int32_t(m_points.size());
    m_points.push_back(point);
    m_colours.push_back(colour);
    return true;
}
