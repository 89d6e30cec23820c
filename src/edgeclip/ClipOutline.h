#pragma once
// The outline the edge clip tool builds: a fixed buffer of points in the source object's
// pixel coordinates, and the anchors that divide it into committed segments. After the
// committed points comes the live segment from the last anchor towards the pointer. Both
// buffers have fixed sizes; at either limit further anchors are refused and the live
// segment is cut short, and the outline can still be closed.

#include <cstdint>
#include <span>
#include <vector>

#include "image/DibTypes.h"

class CvxDIB;

class ClipOutline {
public:
    static constexpr int kMaxPoints = 100000;
    static constexpr int kMaxAnchors = 1000;

    ClipOutline();

    // Clears the buffers and starts a new outline at its first anchor.
    void Start(CPoint first);
    // No outline any more; the points stay until the next one starts.
    void Clear() { m_nAnchors = 0; }
    // Committed anchors; 0 before the first Start and after the last RemoveLastAnchor.
    int AnchorCount() const { return m_nAnchors; }
    CPoint First() const { return m_points[0]; }
    CPoint LastAnchor() const { return m_points[std::size_t(LastIndex())]; }

    // The live segment along the edges of edgeImage (which carries the edge map) from the
    // last anchor towards target; response as the path search takes it. It ends on target
    // unless the search came back short of it by more than a pixel, in which case target
    // is added as its last point, or the buffer ran out. No path leaves it empty.
    void TraceLive(const CvxDIB& edgeImage, CPoint target, double response);
    void ClearLive() { m_anchors[std::size_t(m_nAnchors)] = LastIndex(); }
    bool HasLive() const { return LiveEnd() > LastIndex(); }
    // The live segment becomes committed; false (nothing changes) without one, or when no
    // further anchor fits.
    bool CommitLive();
    // A straight segment from the last anchor to point; false when no further anchor fits.
    bool AddStraight(CPoint point);
    // Drops the last anchor; the points beyond it stay until the next live segment.
    void RemoveLastAnchor();

    // Points 0 .. last anchor, and the live segment from the last anchor to its end.
    std::span<const CPoint> Committed() const;
    std::span<const CPoint> Live() const;
    // The points from anchor `anchor - 1` to anchor `anchor` (1 .. AnchorCount() - 1).
    std::span<const CPoint> Segment(int anchor) const;

private:
    int LastIndex() const { return m_nAnchors > 0 ? m_anchors[std::size_t(m_nAnchors - 1)] : 0; }
    int LiveEnd() const { return m_anchors[std::size_t(m_nAnchors)]; }
    bool AnchorFits() const { return m_nAnchors + 1 < kMaxAnchors; }

    std::vector<CPoint> m_points;        // kMaxPoints
    std::vector<std::int32_t> m_anchors;  // kMaxAnchors; entry [count] is the live segment's end
    int m_nAnchors = 0;
};
