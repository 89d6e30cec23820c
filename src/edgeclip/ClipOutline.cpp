#include "edgeclip/ClipOutline.h"

#include <algorithm>
#include <cstdlib>

#include "edgeclip/LiveWire.h"

ClipOutline::ClipOutline() : m_points(kMaxPoints), m_anchors(kMaxAnchors, 0) {}

void ClipOutline::Start(CPoint first) {
    std::fill(m_anchors.begin(), m_anchors.end(), 0);
    m_points[0] = first;
    m_nAnchors = 1;
}

void ClipOutline::TraceLive(const CvxDIB& edgeImage, CPoint target, double response) {
    const int last = LastIndex();
    // The search writes into the buffer from the last anchor on, never past its end.
    const std::span<CPoint> room(m_points.data() + last, m_points.size() - std::size_t(last));
    CPoint end = target;
    const int found = BestPath(edgeImage, m_points[std::size_t(last)], end, room, response);
    if (found < 2) {
        ClearLive();
        return;
    }
    int liveEnd = last + found - 1;
    if (std::abs(end.x - target.x) > 1 || std::abs(end.y - target.y) > 1) {
        // Short of the pointer: the segment goes on straight to it, in the slot after the
        // path, which the search has written and so lies inside the buffer.
        liveEnd = last + found;
        m_points[std::size_t(liveEnd)] = target;
    }
    m_anchors[std::size_t(m_nAnchors)] = liveEnd;
}

bool ClipOutline::CommitLive() {
    if (m_nAnchors == 0 || !HasLive() || !AnchorFits()) return false;
    const int liveEnd = LiveEnd();
    ++m_nAnchors;
    m_anchors[std::size_t(m_nAnchors)] = liveEnd;
    return true;
}

bool ClipOutline::AddStraight(CPoint point) {
    const int next = LastIndex() + 1;
    if (m_nAnchors == 0 || !AnchorFits() || next >= kMaxPoints) return false;
    m_points[std::size_t(next)] = point;
    m_anchors[std::size_t(m_nAnchors)] = next;
    ++m_nAnchors;
    m_anchors[std::size_t(m_nAnchors)] = next;
    return true;
}

void ClipOutline::RemoveLastAnchor() {
    if (m_nAnchors == 0) return;
    --m_nAnchors;
    if (m_nAnchors > 0) ClearLive();
}

std::span<const CPoint> ClipOutline::Committed() const {
    if (m_nAnchors == 0) return {};
    return {m_points.data(), std::size_t(LastIndex()) + 1};
}

std::span<const CPoint> ClipOutline::Live() const {
    if (m_nAnchors == 0 || !HasLive()) return {};
    return {m_points.data() + LastIndex(), std::size_t(LiveEnd() - LastIndex()) + 1};
}

std::span<const CPoint> ClipOutline::Segment(int anchor) const {
    if (anchor < 1 || anchor >= m_nAnchors) return {};
    const int from = m_anchors[std::size_t(anchor - 1)];
    return {m_points.data() + from, std::size_t(m_anchors[std::size_t(anchor)] - from) + 1};
}
