#include "codecs/TiffSamples.h"

#include <algorithm>

#include "codecs/CvxFile.h"
#include "codecs/CvxTiff.h"
#include "codecs/CvxTiffLzw.h"
#include "image/CvxDIB.h"

namespace {

// A tile never needs more memory than the whole picture, or than a 4096 x 4096 RGBA tile.
constexpr std::size_t kTileBytesAlwaysAllowed = std::size_t{4096} * 4096 * 4;

std::size_t CeilDiv(std::size_t a, std::size_t b) { return (a + b - 1) / b; }

// From the second pixel of each row on, every sample adds the same sample of the pixel to
// its left, modulo 256.
void UndoDifferencing(std::uint8_t* data, std::size_t rows, std::size_t rowPixels, std::size_t samplesPerPixel) {
    const std::size_t rowBytes = rowPixels * samplesPerPixel;
    for (std::size_t row = 0; row < rows; ++row) {
        std::uint8_t* p = data + row * rowBytes;
        for (std::size_t i = samplesPerPixel; i < rowBytes; ++i)
            p[i] = static_cast<std::uint8_t>(p[i] + p[i - samplesPerPixel]);
    }
}

class SampleAssembler {
public:
    SampleAssembler(CvxFile& file, const TiffSampleLayout& layout, const std::vector<std::uint32_t>& offsets,
                    const std::vector<std::uint32_t>& byteCounts, std::uint8_t* samples)
        : m_file(file),
          m_fileLength(std::max<std::int64_t>(file.Length(), 0)),
          m_layout(layout),
          m_offsets(offsets),
          m_byteCounts(byteCounts),
          m_samples(samples),
          m_sampleBytes(std::size_t{layout.width} * layout.height * layout.samples),
          m_blockCount(std::min(offsets.size(), byteCounts.size())),
          m_planes(layout.separatePlanes ? layout.samples : 1),
          m_samplesPerBlockPixel(layout.separatePlanes ? 1 : layout.samples) {}

    bool Run() {
        const bool decoded = m_layout.tiled ? AssembleTiles() : AssembleStrips();
        return decoded && m_supplied > 0;
    }

private:
    // How many of block i's bytes the file holds, at most count.
    std::size_t Available(std::size_t i, std::size_t count) const {
        const std::uint32_t offset = m_offsets[i];
        if (offset >= m_fileLength) return 0;
        return static_cast<std::size_t>(std::min<std::uint64_t>(count, m_fileLength - offset));
    }

    // Block i's stored bytes, at most count of them, read into dest.
    std::size_t ReadStored(std::size_t i, std::uint8_t* dest, std::size_t count) {
        const std::size_t available = Available(i, count);
        if (available == 0 || !m_file.Seek(m_offsets[i])) return 0;
        return m_file.Read(dest, available);
    }

    // Decodes block i into dest, never more than capacity bytes; returns the bytes supplied.
    std::size_t DecodeBlock(std::size_t i, std::uint8_t* dest, std::size_t capacity) {
        if (!m_layout.lzw) return ReadStored(i, dest, std::min<std::size_t>(m_byteCounts[i], capacity));
        m_compressed.resize(Available(i, m_byteCounts[i]));
        m_compressed.resize(ReadStored(i, m_compressed.data(), m_compressed.size()));
        return m_lzw.DecodeStrip(m_compressed.data(), m_compressed.size(), dest, capacity);
    }

    bool AssembleStrips() {
        const std::size_t width = m_layout.width;
        const std::size_t height = m_layout.height;
        const std::size_t planeBytes = width * height * m_samplesPerBlockPixel;
        const std::size_t total = planeBytes * m_planes;
        // Separate planes are gathered plane after plane, as stored, and interleaved at the end.
        CvxZeroedBytes planar{nullptr, std::free};
        if (m_planes > 1) planar = AllocateZeroedBytes(total);
        std::uint8_t* storage = m_planes > 1 ? planar.get() : m_samples;

        const std::size_t rowsPerStrip =
            m_layout.rowsPerStrip == 0 || m_layout.rowsPerStrip > height ? height : m_layout.rowsPerStrip;
        const std::size_t stripBytes = rowsPerStrip * width * m_samplesPerBlockPixel;
        const std::size_t stripsPerPlane = CeilDiv(height, rowsPerStrip);
        std::size_t position = 0;
        for (std::size_t i = 0; i < m_blockCount; ++i) {
            if (!m_layout.lzw) {
                // Uncompressed strips follow each other, each taking the room its byte count claims.
                if (position >= total) break;
                const std::size_t span = std::min<std::size_t>(m_byteCounts[i], total - position);
                m_supplied += DecodeBlock(i, storage + position, span);
                position += span;
            } else {
                // A compressed strip fills exactly its own rows.
                const std::size_t plane = i / stripsPerPlane;
                if (plane >= m_planes) break;
                const std::size_t start = plane * planeBytes + (i % stripsPerPlane) * stripBytes;
                const std::size_t end = std::min(start + stripBytes, (plane + 1) * planeBytes);
                m_supplied += DecodeBlock(i, storage + start, end - start);
            }
        }
        if (m_planes > 1) {
            std::uint8_t* out = m_samples;
            for (std::size_t plane = 0; plane < m_planes; ++plane) {
                const std::uint8_t* in = storage + plane * planeBytes;
                for (std::size_t j = 0; j < planeBytes; ++j) out[j * m_planes + plane] = in[j];
            }
        }
        if (m_layout.horizontalDifferencing) UndoDifferencing(m_samples, height, width, m_layout.samples);
        return true;
    }

    bool AssembleTiles() {
        const std::size_t tileWidth = m_layout.tileWidth;
        const std::size_t tileLength = m_layout.tileLength;
        if (tileWidth == 0 || tileLength == 0 || tileWidth > CvxDIB::kMaxSide || tileLength > CvxDIB::kMaxSide)
            return false;
        const std::size_t tileBytes = tileWidth * tileLength * m_samplesPerBlockPixel;
        if (tileBytes > std::max(m_sampleBytes, kTileBytesAlwaysAllowed)) return false;

        const std::size_t width = m_layout.width;
        const std::size_t height = m_layout.height;
        const std::size_t samples = m_layout.samples;
        const std::size_t across = CeilDiv(width, tileWidth);
        const std::size_t tilesPerPlane = across * CeilDiv(height, tileLength);
        const std::size_t tiles = std::min(m_blockCount, tilesPerPlane * m_planes);
        std::vector<std::uint8_t> tile(tileBytes);
        for (std::size_t t = 0; t < tiles; ++t) {
            std::fill(tile.begin(), tile.end(), 0);
            m_supplied += DecodeBlock(t, tile.data(), tileBytes);
            // Differencing starts afresh at every tile row's left edge.
            if (m_layout.horizontalDifferencing)
                UndoDifferencing(tile.data(), tileLength, tileWidth, m_samplesPerBlockPixel);

            const std::size_t plane = t / tilesPerPlane;
            const std::size_t x0 = (t % tilesPerPlane) % across * tileWidth;
            const std::size_t y0 = (t % tilesPerPlane) / across * tileLength;
            const std::size_t columns = std::min(tileWidth, width - x0);
            const std::size_t rows = std::min(tileLength, height - y0);
            for (std::size_t row = 0; row < rows; ++row) {
                const std::uint8_t* in = tile.data() + row * tileWidth * m_samplesPerBlockPixel;
                std::uint8_t* out = m_samples + ((y0 + row) * width + x0) * samples;
                if (m_planes == 1) {
                    std::copy_n(in, columns * samples, out);
                } else {
                    for (std::size_t x = 0; x < columns; ++x) out[x * samples + plane] = in[x];
                }
            }
        }
        return true;
    }

    CvxFile& m_file;
    const std::uint64_t m_fileLength;
    const TiffSampleLayout& m_layout;
    const std::vector<std::uint32_t>& m_offsets;
    const std::vector<std::uint32_t>& m_byteCounts;
    std::uint8_t* m_samples;
    const std::size_t m_sampleBytes;
    const std::size_t m_blockCount;
    const std::size_t m_planes;
    const std::size_t m_samplesPerBlockPixel;
    std::size_t m_supplied = 0;
    std::vector<std::uint8_t> m_compressed;
    CvxTiffLzw m_lzw;
};

}  // namespace

bool AssembleTiffSamples(CvxFile& file, const TiffSampleLayout& layout, const std::vector<std::uint32_t>& offsets,
                         const std::vector<std::uint32_t>& byteCounts, std::uint8_t* samples) {
    return SampleAssembler(file, layout, offsets, byteCounts, samples).Run();
}
