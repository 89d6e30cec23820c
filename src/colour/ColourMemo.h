#pragma once
// Per-colour answers remembered for the colours seen lately. Photographs repeat their
// colours so often that most pixels of an operation whose result depends on the colour
// alone need no computing at all; a direct-mapped table keeps the cost of a miss fixed.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#include "image/CvxDIB.h"
#include "image/RowBands.h"

template <typename Value>
class ColourMemo {
public:
    // Sized for the number of pixels it will see, up to a million slots.
    explicit ColourMemo(std::int64_t pixels)
        : m_slots(std::bit_ceil(std::uint64_t(std::clamp<std::int64_t>(pixels, 1, kMaxSlots)))),
          m_mask(std::uint32_t(m_slots.size() - 1)) {}

    // The answer for colour 0xRRGGBB; `compute` gives it when the colour is not remembered.
    template <typename Compute>
    Value Get(std::uint32_t colour, const Compute& compute) {
        // The key is the colour plus one, so that the empty slot's 0 matches no colour.
        const std::uint32_t key = colour + 1;
        Slot& slot = m_slots[(key * 2654435761u >> 8) & m_mask];
        if (slot.key != key) {
            slot.key = key;
            slot.value = compute();
        }
        return slot.value;
    }

private:
    static constexpr std::int64_t kMaxSlots = 1 << 20;
    struct Slot {
        std::uint32_t key = 0;
        Value value{};
    };
    std::vector<Slot> m_slots;
    std::uint32_t m_mask;
};

// Gives every visible pixel of a 32-bit image the colour `adjust` makes of it: `adjust`
// changes the blue, green and red bytes of a copy of the pixel, must depend on those alone
// and may run on several threads at once. Each pixel is then passed to `cleanUp`,
// transparent ones included.
template <typename Adjust, typename CleanUp>
void MapVisibleColours(CvxDIB& image, const Adjust& adjust, const CleanUp& cleanUp) {
    const int width = image.Width();
    ForEachRowBand(image.Height(), width, [&](int first, int end) {
        ColourMemo<std::uint32_t> memo(std::int64_t{width} * (end - first));
        for (int y = first; y < end; ++y) {
            std::uint8_t* pixel = image.RowAt(y);
            for (int x = 0; x < width; ++x, pixel += 4) {
                if (pixel[3] != 0) {
                    // Little-endian words: blue in the low byte, alpha in the high one.
                    std::uint32_t word;
                    std::memcpy(&word, pixel, 4);
                    const std::uint32_t colour = memo.Get(word & 0xFFFFFFu, [&] {
                        std::uint8_t copy[4];
                        std::memcpy(copy, pixel, 4);
                        adjust(copy);
                        std::uint32_t adjusted;
                        std::memcpy(&adjusted, copy, 4);
                        return adjusted & 0xFFFFFFu;
                    });
                    word = (word & 0xFF000000u) | colour;
                    std::memcpy(pixel, &word, 4);
                }
                cleanUp(pixel);
            }
        }
    });
}
