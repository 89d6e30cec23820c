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

// Gives every visible pixel of a 32-bit image the colour `map` makes of its own: `map`
// takes and returns a pixel word (0xAARRGGBB; only the colour of the result is used), must
// depend on the colour alone and may run on several threads at once. With `cleanUp`, each
// pixel is passed to it afterwards, transparent ones included.
template <typename Map, typename CleanUp>
void MapVisibleColours(CvxDIB& image, const Map& map, const CleanUp& cleanUp) {
    const int width = image.Width();
    ForEachRowBand(image.Height(), width, [&](int first, int end) {
        ColourMemo<std::uint32_t> memo(std::int64_t{width} * (end - first));
        for (int y = first; y < end; ++y) {
            std::uint8_t* pixel = image.RowAt(y);
            for (int x = 0; x < width; ++x, pixel += 4) {
                if (pixel[3] != 0) {
                    std::uint32_t word;
                    std::memcpy(&word, pixel, 4);
                    const std::uint32_t colour = word & 0xFFFFFFu;
                    const std::uint32_t mapped = memo.Get(colour, [&] { return map(word) & 0xFFFFFFu; });
                    word = (word & 0xFF000000u) | mapped;
                    std::memcpy(pixel, &word, 4);
                }
                cleanUp(pixel);
            }
        }
    });
}
