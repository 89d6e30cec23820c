// libFuzzer entry point: arbitrary bytes through the GIF reader, and every picture it
// accepts through colour reduction, as a GIF save would do.

#include <cstddef>
#include <cstdint>

#include "FuzzBounds.h"
#include "codecs/GifCodec.h"
#include "colour/ColorReduce.h"
#include "image/CvxDIB.h"
#include "platform/ScriptedPlatform.h"

namespace {

// A GIF costs its pixels several times over (up to sixteen frames' worth of canvas), and no
// path of the reader needs a canvas larger than 128 x 128 to be reached.
constexpr std::int64_t kGifMaxPixels = kFuzzMaxPixels / 4;

// Reduction runs on small pictures only: its cost grows with the colours a picture holds,
// and larger pictures reach no other code.
constexpr std::int64_t kReduceMaxPixels = std::int64_t{1} << 12;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::ScriptedPlatform platform;
    CvxDIB image;
    if (!ReadGIF(data, size, image, kGifMaxPixels)) return 0;
    if (std::int64_t{image.Width()} * image.Height() > kReduceMaxPixels) return 0;
    CvxDIB reduced;
    if (!reduced.Create(image.Width(), image.Height(), 8) || !ColorReduce(image, reduced, 256)) __builtin_trap();
    const RGBQUAD* table = reduced.ColorTable();
    const BITMAPINFOHEADER* header = reduced.Header();
    if (header == nullptr) __builtin_trap();
    const int used = static_cast<int>(header->biClrUsed);
    if (used > 256 || table[0].rgbRed != 0 || table[1].rgbRed != 1 || table[2].rgbRed != 254) __builtin_trap();
    for (int y = 0; y < reduced.Height(); ++y)
        for (int x = 0; x < reduced.Width(); ++x)
            if (*reduced.PixelAt(x, y) >= used) __builtin_trap();
    return 0;
}
