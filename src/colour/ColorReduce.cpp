#include "colour/ColorReduce.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cstdlib>
#include <new>

#include "colour/ColourMemo.h"
#include "image/CvxDIB.h"
#include "image/RowBands.h"
#include "platform/PlatformServices.h"

namespace {

constexpr int kMaxSamples = 40000;
constexpr int kBuckets = 766;  // R + G + B runs from 0 to 765
constexpr int kNoDistance = 2000000;
constexpr int kSlots = 256;
constexpr int kCells = 64 * 64 * 64;
// Refinement converges in a few dozen rounds; the bound only guards against a cycle
// between equally good assignments.
constexpr int kMaxRefineRounds = 500;

int Distance(const QuantColour& a, const QuantColour& b) {
    return std::abs(a.red - b.red) + std::abs(a.green - b.green) + std::abs(a.blue - b.blue);
}

int Brightness(const QuantColour& c) { return c.red + c.green + c.blue; }

int& Channel(QuantColour& c, int channel) { return channel == 0 ? c.red : channel == 1 ? c.green : c.blue; }
int Channel(const QuantColour& c, int channel) { return channel == 0 ? c.red : channel == 1 ? c.green : c.blue; }

int CellOf(const QuantColour& c) { return ((c.red >> 2) << 12) | ((c.green >> 2) << 6) | (c.blue >> 2); }

// Colours grouped by brightness (R + G + B), each group in insertion order. An entry whose
// brightness differs from a colour's by k is at least k away from it, so the nearest-entry
// search walks outwards from the colour's own group and stops once no farther group can win.
class BrightnessIndex {
public:
    struct Entry {
        QuantColour colour;
        int id;
    };

    void Build(const std::vector<Entry>& entries) {
        m_start.fill(0);
        for (const Entry& e : entries) ++m_start[Brightness(e.colour) + 1];
        for (int b = 0; b < kBuckets; ++b) m_start[b + 1] += m_start[b];
        m_sorted.resize(entries.size());
        std::array<int, kBuckets> fill;
        std::copy_n(m_start.begin(), kBuckets, fill.begin());
        for (const Entry& e : entries) m_sorted[fill[Brightness(e.colour)]++] = e;
    }

    // The id of the nearest entry (the first found wins a tie), or -1 when there is none.
    int Nearest(const QuantColour& colour) const {
        const int own = Brightness(colour);
        int best = kNoDistance;
        int bestId = -1;
        const auto scan = [&](int bucket) {
            for (int i = m_start[bucket]; i < m_start[bucket + 1]; ++i) {
                const int d = Distance(colour, m_sorted[i].colour);
                if (d < best) {
                    best = d;
                    bestId = m_sorted[i].id;
                }
            }
        };
        scan(own);
        for (int k = 1; k < best; ++k) {
            const bool above = own + k < kBuckets;
            const bool below = own - k >= 0;
            if (!above && !below) break;
            if (above) scan(own + k);
            if (below) scan(own - k);
        }
        return bestId;
    }

private:
    std::array<int, kBuckets + 1> m_start{};
    std::vector<Entry> m_sorted;
};

// The smallest value whose cumulative weight reaches just over half of the total.
int WeightedMedian(const std::array<int, 256>& histogram, int total) {
    const int half = total / 2 + 1;
    int sum = 0;
    for (int v = 0; v < 256; ++v) {
        sum += histogram[v];
        if (sum >= half) return v;
    }
    return 255;
}

struct Centre {
    bool live = false;
    QuantColour value;
    QuantColour previous;
    QuantColour mad;  // median absolute deviation per channel
    int madTotal = 0;
    int count = 0;  // weight of the colours assigned
    std::array<std::array<int, 256>, 3> histogram{};
};

// k-medians over the distinct colours with a fixed table of centre slots.
class CentreSet {
public:
    explicit CentreSet(const std::vector<DistinctColour>& colours) : m_colours(colours), m_slots(kSlots) {}

    // Evenly spaced greys: half the requested count, brightest at 255 rounded down.
    void SeedGreys(int requested) {
        const int greys = requested / 2;
        for (int k = 0; k < greys; ++k) {
            const int level = (255 / greys) * (k + 1);
            Centre& c = m_slots[k];
            c.live = true;
            c.value = c.previous = QuantColour{level, level, level};
        }
    }

    // Assigns every colour to its nearest centre and moves each centre to the weighted median
    // of its colours until no centre moves. Centres left without colours are removed.
    // Returns the number of centres.
    int Refine() {
        std::vector<BrightnessIndex::Entry> entries;
        entries.reserve(kSlots);
        for (int round = 0; round < kMaxRefineRounds; ++round) {
            entries.clear();
            for (int slot = 0; slot < kSlots; ++slot) {
                Centre& c = m_slots[slot];
                if (!c.live) continue;
                entries.push_back({c.value, slot});
                c.count = 0;
                for (auto& h : c.histogram) h.fill(0);
            }
            m_index.Build(entries);
            for (const DistinctColour& d : m_colours) {
                const int slot = m_index.Nearest(d.colour);
                if (slot < 0) continue;
                Centre& c = m_slots[slot];
                c.count += d.count;
                for (int ch = 0; ch < 3; ++ch) c.histogram[ch][Channel(d.colour, ch)] += d.count;
            }
            int largestMove = 0;
            for (Centre& c : m_slots) {
                if (!c.live) continue;
                if (c.count == 0) {
                    c.live = false;
                    continue;
                }
                c.previous = c.value;
                for (int ch = 0; ch < 3; ++ch) Channel(c.value, ch) = WeightedMedian(c.histogram[ch], c.count);
                largestMove = std::max(largestMove, Distance(c.previous, c.value));
            }
            if (largestMove == 0) break;
        }
        return LiveCount();
    }

    // Splits up to min(target - n, n) centres, widest spread first, each into two centres
    // placed either side of it by about half its spread. Fails when no slot is free.
    int Split(int target) {
        std::vector<int> order;
        for (int slot = 0; slot < kSlots; ++slot) {
            Centre& c = m_slots[slot];
            if (!c.live) continue;
            MeasureSpread(c);
            order.push_back(slot);
        }
        const int n = static_cast<int>(order.size());
        const int quota = std::min(target - n, n);
        // Selection sort by descending spread; earlier centres win ties.
        for (int i = 0; i < n; ++i) {
            int widest = i;
            for (int j = i + 1; j < n; ++j)
                if (m_slots[order[j]].madTotal > m_slots[order[widest]].madTotal) widest = j;
            std::swap(order[i], order[widest]);
        }
        int split = 0;
        for (int slot : order) {
            if (split >= quota) break;
            Centre& old = m_slots[slot];
            if (old.madTotal == 0 && old.count <= 2) continue;
            const auto free = std::find_if(m_slots.begin(), m_slots.end(), [](const Centre& c) { return !c.live; });
            if (free == m_slots.end()) {
                platform::Trace("In splitCentroids: no free slot for a new centre");
                return 0;
            }
            Centre& added = *free;
            added = old;
            for (int ch = 0; ch < 3; ++ch) {
                const int v = Channel(old.value, ch);
                const int half = Channel(old.mad, ch) / 2;
                Channel(added.value, ch) = std::clamp(v - (half - 1), 0, 255);
                Channel(old.value, ch) = std::clamp(v + 1 + half, 0, 255);
            }
            added.previous = added.value;
            old.previous = old.value;
            ++split;
        }
        return 1;
    }

    int LiveCount() const {
        return static_cast<int>(std::count_if(m_slots.begin(), m_slots.end(), [](const Centre& c) { return c.live; }));
    }

    void Output(int limit, std::vector<QuantColour>& palette) const {
        for (const Centre& c : m_slots) {
            if (static_cast<int>(palette.size()) >= limit) break;
            if (c.live) palette.push_back(c.value);
        }
    }

private:
    static void MeasureSpread(Centre& c) {
        c.madTotal = 0;
        for (int ch = 0; ch < 3; ++ch) {
            std::array<int, 256> deviations{};
            const int centre = Channel(c.value, ch);
            for (int v = 0; v < 256; ++v) deviations[std::abs(v - centre)] += c.histogram[ch][v];
            Channel(c.mad, ch) = WeightedMedian(deviations, c.count);
            c.madTotal += Channel(c.mad, ch);
        }
    }

    const std::vector<DistinctColour>& m_colours;
    std::vector<Centre> m_slots;
    BrightnessIndex m_index;
};

QuantColour ColourAt(const CvxDIB& image, const std::uint8_t* row, int x) {
    switch (image.BitCount()) {
        case 8: {
            const RGBQUAD& entry = image.ColorTable()[row[x]];
            return {entry.rgbRed, entry.rgbGreen, entry.rgbBlue};
        }
        case 24: return {row[x * 3 + 2], row[x * 3 + 1], row[x * 3]};
        default: return {row[x * 4 + 2], row[x * 4 + 1], row[x * 4]};
    }
}

// Up to 40,000 pixels evenly spread over the image in storage order (bottom row first).
std::vector<QuantColour> TakeSamples(const CvxDIB& image) {
    const std::int64_t width = image.Width();
    const std::int64_t pixels = width * image.Height();
    const auto colourAt = [&](std::int64_t index) {
        return ColourAt(image, image.Bits() + std::size_t(index / width) * image.RowBytes(), int(index % width));
    };
    std::vector<QuantColour> samples;
    if (pixels <= kMaxSamples) {
        samples.reserve(std::size_t(pixels));
        for (std::int64_t i = 0; i < pixels; ++i) samples.push_back(colourAt(i));
        return samples;
    }
    samples.reserve(kMaxSamples);
    const std::int64_t step = pixels / kMaxSamples;
    const std::int64_t remainder = pixels % kMaxSamples;
    std::int64_t position = 0;
    std::int64_t carry = 0;
    for (int i = 0; i < kMaxSamples; ++i) {
        position += step;
        carry += remainder;
        if (carry >= kMaxSamples) {
            ++position;
            carry %= kMaxSamples;
        }
        samples.push_back(colourAt(position - 1));
    }
    return samples;
}

// Writes the reserved entries and the colours found into the destination's colour table and
// returns the palette as written.
std::vector<QuantColour> WritePalette(CvxDIB& destination, const std::vector<QuantColour>& colours) {
    std::vector<QuantColour> palette = {{0, 0, 0}, {1, 1, 1}, {254, 254, 254}};
    // Entry 0 already stands for black; a black cluster is kept apart as white.
    for (const QuantColour& c : colours) palette.push_back(c == QuantColour{} ? QuantColour{255, 255, 255} : c);
    RGBQUAD* table = destination.ColorTable();
    std::fill_n(table, 256, RGBQUAD{});
    for (std::size_t i = 0; i < palette.size(); ++i)
        table[i] = RGBQUAD{std::uint8_t(palette[i].blue), std::uint8_t(palette[i].green), std::uint8_t(palette[i].red), 0};
    if (BITMAPINFOHEADER* header = destination.Header()) header->biClrUsed = static_cast<std::uint32_t>(palette.size());
    return palette;
}

void MapPalettedPixels(const CvxDIB& source, CvxDIB& destination, const std::vector<QuantColour>& palette) {
    std::array<std::uint8_t, 256> mapping{};
    const RGBQUAD* table = source.ColorTable();
    for (int i = 0; i < 256; ++i) {
        const QuantColour colour{table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue};
        int best = kNoDistance;
        for (std::size_t p = 0; p < palette.size(); ++p) {
            const int d = Distance(colour, palette[p]);
            if (d < best) {
                best = d;
                mapping[i] = static_cast<std::uint8_t>(p);
            }
        }
    }
    for (int y = 0; y < source.Height(); ++y) {
        const std::uint8_t* in = source.RowAt(y);
        std::uint8_t* out = destination.RowAt(y);
        for (int x = 0; x < source.Width(); ++x) out[x] = mapping[in[x]];
    }
}

void MapTrueColourPixels(const CvxDIB& source, CvxDIB& destination, const std::vector<QuantColour>& palette) {
    std::vector<BrightnessIndex::Entry> entries;
    for (std::size_t p = 0; p < palette.size(); ++p) entries.push_back({palette[p], int(p)});
    BrightnessIndex index;
    index.Build(entries);
    if (source.BitCount() == 32) {
        // Every pixel's answer depends on its colour alone, so bands of rows, each with a
        // memo of its own, give the same indices as one pass.
        std::atomic<bool> outOfMemory{false};
        ForEachRowBand(source.Height(), source.Width(), [&](int first, int end) {
            try {
                // Photographs repeat their colours often enough that most pixels need no search.
                ColourMemo<std::uint8_t> memo(std::int64_t{source.Width()} * (end - first));
                for (int y = first; y < end; ++y) {
                    const std::uint8_t* in = source.RowAt(y);
                    std::uint8_t* out = destination.RowAt(y);
                    for (int x = 0; x < source.Width(); ++x, in += 4) {
                        const std::uint32_t colour = std::uint32_t(in[2]) << 16 | std::uint32_t(in[1]) << 8 | in[0];
                        int found = memo.Get(colour, [&] {
                            return static_cast<std::uint8_t>(index.Nearest({in[2], in[1], in[0]}));
                        });
                        if (found == 0 && in[3] != 0) found = 1;  // opaque pixels are never transparent
                        out[x] = static_cast<std::uint8_t>(found);
                    }
                }
            } catch (const std::bad_alloc&) {
                outOfMemory = true;  // a helper thread cannot let it through
            }
        });
        if (outOfMemory) throw std::bad_alloc();
        return;
    }
    // 24-bit pictures reuse the answer for the first colour of each 4 x 4 x 4 cell; 0 means
    // not yet known, so black is looked up every time.
    std::vector<std::uint8_t> cache(kCells, 0);
    for (int y = 0; y < source.Height(); ++y) {
        const std::uint8_t* in = source.RowAt(y);
        std::uint8_t* out = destination.RowAt(y);
        for (int x = 0; x < source.Width(); ++x, in += 3) {
            const QuantColour colour{in[2], in[1], in[0]};
            std::uint8_t& cached = cache[CellOf(colour)];
            if (cached == 0) cached = static_cast<std::uint8_t>(index.Nearest(colour));
            out[x] = cached;
        }
    }
}

}  // namespace

std::vector<DistinctColour> PrepSample(const std::vector<QuantColour>& samples) {
    // Which distinct colour each 4 x 4 x 4 cell holds, -1 for none. The table is kept between
    // calls and only the cells used are cleared after each, so that a small picture does not
    // pay for filling the whole table.
    thread_local std::vector<int> cellNode(kCells, -1);
    std::vector<int> usedCells;
    struct ClearUsedCells {
        const std::vector<int>& cells;
        ~ClearUsedCells() {
            for (const int cell : cells) cellNode[cell] = -1;
        }
    } clear{usedCells};
    std::vector<DistinctColour> distinct;
    for (const QuantColour& s : samples) {
        const int cell = CellOf(s);
        int& node = cellNode[cell];
        if (node < 0) {
            usedCells.push_back(cell);
            distinct.push_back({s, 1});
            node = static_cast<int>(distinct.size()) - 1;
        } else {
            ++distinct[node].count;
        }
    }
    return distinct;
}

int VQ(const std::vector<DistinctColour>& colours, int& count, std::vector<QuantColour>& palette) {
    palette.clear();
    if (count < 1) return 0;
    if (static_cast<int>(colours.size()) <= count) {
        for (const DistinctColour& d : colours) palette.push_back(d.colour);
        count = static_cast<int>(palette.size());
        return 1;
    }
    int target = count;
    CentreSet centres(colours);
    centres.SeedGreys(target);
    int n = centres.Refine();
    int best = n;
    int stalls = 0;
    while (n < target) {
        best = std::max(best, n);
        if (!centres.Split(target)) return 0;
        n = centres.Refine();
        if (n > best) {
            stalls = 0;
        } else if (++stalls > 1) {
            target = n;  // growth has stopped; settle for what there is
        }
    }
    centres.Output(target, palette);
    count = static_cast<int>(palette.size());
    return 1;
}

int ColorReduce(const CvxDIB& source, CvxDIB& destination, int colours) {
    if (source.IsEmpty() || destination.IsEmpty() || colours < 1) return 0;
    const int depth = source.BitCount();
    if (depth != 8 && depth != 24 && depth != 32) return 0;
    if (destination.BitCount() != 8 || destination.Width() != source.Width() ||
        destination.Height() != source.Height())
        return 0;
    try {
        const std::vector<DistinctColour> distinct = PrepSample(TakeSamples(source));
        int count = std::min(colours, kMaxQuantColours);
        std::vector<QuantColour> found;
        if (!VQ(distinct, count, found)) {
            platform::Trace("In ColorReduce: failed to quantize colors");
            return 0;
        }
        const std::vector<QuantColour> palette = WritePalette(destination, found);
        if (depth == 8)
            MapPalettedPixels(source, destination, palette);
        else
            MapTrueColourPixels(source, destination, palette);
    } catch (const std::bad_alloc&) {
        platform::Trace("In ColorReduce: out of memory for pSampleSet");
        return 0;
    }
    return 1;
}
