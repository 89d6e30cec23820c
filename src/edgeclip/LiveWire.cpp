#include "edgeclip/LiveWire.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <new>
#include <utility>
#include <vector>

#include "image/CvxDIB.h"
#include "platform/PlatformServices.h"

namespace {

constexpr int kBeams = 8;
constexpr int kMoveCount = 9;  // entry 0 is "no move"
constexpr int kCandidates = kBeams * (kMoveCount - 1);
constexpr int kStallLimit = 400;
constexpr double kEmpty = -1.0;
constexpr double kDiagonal = 0.7072;  // deliberately not 1/sqrt(2)
constexpr double kStepScore = 4.0;
constexpr double kEdgeScale = 8.0;
constexpr double kBestAlignedBonus = 9.0;

struct Move {
    int dx, dy;
    double ux, uy;  // the unit vector of the step
};
// Move k and move 9 - k are opposite.
constexpr Move kMoves[kMoveCount] = {
    {0, 0, 0.0, 0.0},
    {1, 1, kDiagonal, kDiagonal},
    {0, 1, 0.0, 1.0},
    {-1, 1, -kDiagonal, kDiagonal},
    {1, 0, 1.0, 0.0},
    {-1, 0, -1.0, 0.0},
    {1, -1, kDiagonal, -kDiagonal},
    {0, -1, 0.0, -1.0},
    {-1, -1, -kDiagonal, -kDiagonal},
};

// The weight of each alignment rank after the best one; the best gets response + 9.
constexpr double kRankWeights[kMoveCount] = {0.0, 6.93, 6.93, 5.66, 5.66, 5.66, 4.0, 4.0, 0.0};

double Distance(int x, int y, CPoint to) {
    const double dx = double(to.x) - x;
    const double dy = double(to.y) - y;
    return std::sqrt(dx * dx + dy * dy);
}

// The steps of all partial paths. Paths share their common prefixes through parent links;
// a step is recycled once no beam and no later step refers to it.
class JumpPool {
public:
    static constexpr int kNone = -1;

    // The new step's index, or kNone when memory runs out.
    int Allocate(int move, int parent) {
        int index;
        try {
            if (m_free.empty()) {
                m_jumps.push_back({});
                m_free.reserve(m_jumps.capacity());  // so that ReleaseChain never allocates
                index = static_cast<int>(m_jumps.size()) - 1;
            } else {
                index = m_free.back();
                m_free.pop_back();
            }
        } catch (const std::bad_alloc&) {
            return kNone;
        }
        m_jumps[index] = {parent, static_cast<std::uint8_t>(move), 0};
        if (parent != kNone) ++m_jumps[parent].children;
        return index;
    }

    // Frees the chain ending at jump back to the first step that another path still uses.
    void ReleaseChain(int jump) {
        while (jump != kNone && m_jumps[jump].children == 0) {
            const int parent = m_jumps[jump].parent;
            m_free.push_back(jump);
            if (parent != kNone) --m_jumps[parent].children;
            jump = parent;
        }
    }

    int MoveOf(int jump) const { return m_jumps[jump].move; }
    int ParentOf(int jump) const { return m_jumps[jump].parent; }

private:
    struct Jump {
        int parent;
        std::uint8_t move;      // 0 for the root
        std::uint8_t children;  // at most one per move
    };
    std::vector<Jump> m_jumps;
    std::vector<int> m_free;
};

struct Beam {
    int jump = JumpPool::kNone;  // kNone: a dead beam
    int x = 0, y = 0;
    int length = 0;
    double headingX = 0.0, headingY = 0.0;  // unit vector to the target; (0, 0) on it
    double score = kEmpty;
};

struct Candidate {
    int x = 0, y = 0;
    double score = kEmpty;
};

class PathSearch {
public:
    PathSearch(const CvxDIB& edgeImage, CPoint end, double response)
        : m_edges(edgeImage.m_pEdgeMap.get()),
          m_w(edgeImage.Width()),
          m_h(edgeImage.Height()),
          m_stride(edgeImage.RowBytes()),
          m_end(end),
          m_response(response) {}

    // Runs the search from start for at most maxLength rounds. False when memory runs out.
    bool Run(CPoint start, int maxLength) {
        m_distance = Distance(start.x, start.y, m_end);
        const int root = m_pool.Allocate(0, JumpPool::kNone);
        if (root == JumpPool::kNone) {
            platform::Trace("In BestPath: out of memory for pInitialJump");
            return false;
        }
        Beam& first = m_beams[0];
        first = {root, start.x, start.y, 0, (double(m_end.x) - start.x) / m_distance,
                 (double(m_end.y) - start.y) / m_distance, 0.0};
        int stall = 0;
        while (m_distance != 0.0 && stall < kStallLimit && m_beams[m_chosen].length < maxLength) {
            Expand();
            SelectSurvivors();
            // Every beam is boxed in: nothing can change any more, and the last round's
            // beams, the chosen one among them, stay as they are.
            if (m_candidates[m_order[0]].score < 0.0) break;
            bool improved = false;
            if (!Rebuild(improved)) {
                platform::Trace("In BestPath: out of memory for pJump");
                return false;
            }
            stall = improved ? 0 : stall + 1;
        }
        return true;
    }

    bool ReachedTarget() const { return m_distance == 0.0; }
    const Beam& Chosen() const { return m_beams[m_chosen]; }
    const JumpPool& Pool() const { return m_pool; }

private:
    int Edge(int x, int y) const { return m_edges[std::size_t(m_h - 1 - y) * m_stride + std::size_t(x)]; }

    // Scores the eight one-step extensions of every beam.
    void Expand() {
        for (int b = 0; b < kBeams; ++b) {
            const Beam& beam = m_beams[b];
            Candidate* candidates = &m_candidates[b * (kMoveCount - 1)];
            if (beam.jump == JumpPool::kNone) {
                for (int k = 1; k < kMoveCount; ++k) candidates[k - 1] = {};
                continue;
            }
            const std::array<double, kMoveCount> weights = DirectionWeights(beam);
            const int lastMove = m_pool.MoveOf(beam.jump);
            for (int k = 1; k < kMoveCount; ++k) {
                Candidate& candidate = candidates[k - 1];
                candidate = {beam.x + kMoves[k].dx, beam.y + kMoves[k].dy, kEmpty};
                const bool stepsBack = kMoveCount - k == lastMove;  // never at the root
                if (stepsBack || candidate.x < 0 || candidate.x >= m_w || candidate.y < 0 || candidate.y >= m_h) continue;
                candidate.score = beam.score + kEdgeScale * Edge(candidate.x, candidate.y) / 255.0 + weights[k] + kStepScore;
            }
        }
    }

    // Ranks the nine direction entries by how well they point along the beam's heading and
    // weights them by rank. The no-move entry takes a rank too, though it is never a step.
    std::array<double, kMoveCount> DirectionWeights(const Beam& beam) const {
        std::array<double, kMoveCount> alignment{};
        for (int k = 1; k < kMoveCount; ++k) alignment[k] = beam.headingY * kMoves[k].uy + beam.headingX * kMoves[k].ux;
        std::array<int, kMoveCount> byRank{0, 1, 2, 3, 4, 5, 6, 7, 8};
        for (int i = 0; i < kMoveCount - 1; ++i)
            for (int j = i + 1; j < kMoveCount; ++j)
                if (alignment[byRank[j]] > alignment[byRank[i]]) std::swap(byRank[i], byRank[j]);
        std::array<double, kMoveCount> weights{};
        weights[byRank[0]] = m_response + kBestAlignedBonus;
        for (int rank = 1; rank < kMoveCount; ++rank) weights[byRank[rank]] = kRankWeights[rank];
        return weights;
    }

    // Puts the eight best candidates, best first, at the front of m_order: a partial
    // exchange selection whose exact swaps decide among equal scores.
    void SelectSurvivors() {
        for (int n = 0; n < kCandidates; ++n) m_order[n] = n;
        for (int i = 0; i < kBeams; ++i)
            for (int j = i + 1; j < kCandidates; ++j)
                if (m_candidates[m_order[j]].score > m_candidates[m_order[i]].score) std::swap(m_order[i], m_order[j]);
    }

    // Makes the survivors the new beams and frees the paths that no survivor extended.
    bool Rebuild(bool& improved) {
        const std::array<Beam, kBeams> old = m_beams;
        int survivors = 0;
        for (; survivors < kBeams && m_candidates[m_order[survivors]].score >= 0.0; ++survivors) {
            const int n = m_order[survivors];
            const Beam& parent = old[n / (kMoveCount - 1)];
            const Candidate& candidate = m_candidates[n];
            const int jump = m_pool.Allocate(n % (kMoveCount - 1) + 1, parent.jump);
            if (jump == JumpPool::kNone) return false;
            const double d = Distance(candidate.x, candidate.y, m_end);
            if (d < m_distance) {
                m_distance = d;
                improved = true;
            }
            Beam& beam = m_beams[survivors];
            beam = {jump, candidate.x, candidate.y, parent.length + 1, 0.0, 0.0, candidate.score};
            if (d != 0.0) {
                beam.headingX = (double(m_end.x) - candidate.x) / d;
                beam.headingY = (double(m_end.y) - candidate.y) / d;
            }
        }
        for (int i = survivors; i < kBeams; ++i) m_beams[i] = {};
        // Survivors come in descending score order, so the lowest-scoring one is the last.
        m_chosen = survivors - 1;
        for (const Beam& beam : old)
            if (beam.jump != JumpPool::kNone) m_pool.ReleaseChain(beam.jump);
        return true;
    }

    const std::uint8_t* m_edges;
    const int m_w;
    const int m_h;
    const std::size_t m_stride;
    const CPoint m_end;
    const double m_response;
    double m_distance = 0.0;  // the nearest any beam has come to the target
    JumpPool m_pool;
    std::array<Beam, kBeams> m_beams{};
    int m_chosen = 0;
    std::array<Candidate, kCandidates> m_candidates{};
    std::array<int, kCandidates> m_order{};
};

}  // namespace

int BestPath(const CvxDIB& edgeImage, CPoint start, CPoint& end, std::span<CPoint> path, double response) {
    if (!edgeImage.m_pEdgeMap || edgeImage.IsEmpty() || path.size() < 2) return -1;
    if (start.x < 0 || start.y < 0 || start.x >= edgeImage.Width() || start.y >= edgeImage.Height()) return -1;
    path[0] = start;
    path[1] = end;
    if (start == end) return 0;

    PathSearch search(edgeImage, end, response);
    // path[r] must fit too.
    const int maxLength = static_cast<int>(std::min<std::size_t>(path.size() - 1, std::size_t{1} << 30));
    if (!search.Run(start, maxLength)) return -1;

    // Walk the chosen beam's steps back from its last position.
    const Beam& chosen = search.Chosen();
    int r = chosen.length;
    path[std::size_t(r)] = {chosen.x, chosen.y};
    int jump = chosen.jump;
    for (int i = r; i > 0 && search.Pool().MoveOf(jump) != 0; --i) {
        const Move& move = kMoves[search.Pool().MoveOf(jump)];
        path[std::size_t(i - 1)] = {path[std::size_t(i)].x - move.dx, path[std::size_t(i)].y - move.dy};
        jump = search.Pool().ParentOf(jump);
    }

    // Gave up short of the target: end at the path point nearest to it, the later of equals.
    if (!search.ReachedTarget()) {
        double nearest = Distance(path[std::size_t(r)].x, path[std::size_t(r)].y, end);
        for (int i = r; i >= 1; --i) {
            const double d = Distance(path[std::size_t(i - 1)].x, path[std::size_t(i - 1)].y, end);
            if (d < nearest) {
                nearest = d;
                r = i - 1;
            }
        }
    }
    end = path[std::size_t(r > 0 ? r - 1 : 0)];
    return r;
}
