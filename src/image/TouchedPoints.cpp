#include "image/TouchedPoints.h"

#include <bit>

namespace {

// The index starts small and doubles at half load, so a press does not pay for a full one.
constexpr std::size_t kFirstSlots = 4096;

}  // namespace

TouchedPoints::TouchedPoints(std::size_t capacity) : m_capacity(capacity), m_slots(kFirstSlots, -1) {
    m_points.reserve(capacity);
    m_colours.reserve(capacity);
}

std::size_t TouchedPoints::SlotOf(CPoint point) const {
    const std::uint64_t key = (std::uint64_t(std::uint32_t(point.x)) << 32) | std::uint32_t(point.y);
    // The top bits of the product depend on every bit of both coordinates.
    const std::size_t mask = m_slots.size() - 1;
    std::size_t slot = std::size_t((key * 0x9E3779B97F4A7C15ull) >> (64 - std::bit_width(mask)));
    while (m_slots[slot] >= 0 && !(m_points[std::size_t(m_slots[slot])] == point)) slot = (slot + 1) & mask;
    return slot;
}

bool TouchedPoints::Record(CPoint point, std::uint32_t colour) {
    std::size_t slot = SlotOf(point);
    if (const std::int32_t index = m_slots[slot]; index >= 0) {
        m_colours[std::size_t(index)] = colour;
        return true;
    }
    if (m_points.size() >= m_capacity) return false;
    if (2 * (m_points.size() + 1) > m_slots.size()) {
        m_slots.assign(2 * m_slots.size(), -1);
        for (std::size_t i = 0; i < m_points.size(); ++i) m_slots[SlotOf(m_points[i])] = std::int32_t(i);
        slot = SlotOf(point);
    }
    m_slots[slot] = std::int32_t(m_points.size());
    m_points.push_back(point);
    m_colours.push_back(colour);
    return true;
}
