#include "codecs/WebpCodec.h"

#include <webp/decode.h>
#include <webp/demux.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "codecs/CvxFile.h"
#include "image/CvxDIB.h"

namespace {

constexpr std::size_t kHeaderBytes = 12;

struct DemuxDelete {
    void operator()(WebPDemuxer* demux) const { WebPDemuxDelete(demux); }
};
struct AnimDecoderDelete {
    void operator()(WebPAnimDecoder* decoder) const { WebPAnimDecoderDelete(decoder); }
};

bool IsWebP(const std::uint8_t* header) {
    return std::memcmp(header, "RIFF", 4) == 0 && std::memcmp(header + 8, "WEBP", 4) == 0;
}

// A still picture, decoded straight into the image's bottom-up rows.
bool DecodeStill(const WebPData& data, CvxDIB& decoded) {
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config)) return false;
    config.options.flip = 1;
    config.output.colorspace = MODE_BGRA;
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = decoded.Bits();
    config.output.u.RGBA.stride = static_cast<int>(decoded.RowBytes());
    config.output.u.RGBA.size = std::size_t(decoded.RowBytes()) * std::size_t(decoded.Height());
    const bool ok = WebPDecode(data.bytes, data.size, &config) == VP8_STATUS_OK;
    WebPFreeDecBuffer(&config.output);
    return ok;
}

// The first frame of an animation, composed on its canvas.
bool DecodeFirstFrame(const WebPData& data, CvxDIB& decoded) {
    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options)) return false;
    options.color_mode = MODE_BGRA;
    options.use_threads = 0;
    const std::unique_ptr<WebPAnimDecoder, AnimDecoderDelete> decoder(WebPAnimDecoderNew(&data, &options));
    std::uint8_t* frame = nullptr;
    int timestamp = 0;
    if (!decoder || !WebPAnimDecoderGetNext(decoder.get(), &frame, &timestamp)) return false;
    const std::size_t rowBytes = std::size_t(decoded.Width()) * 4;
    for (int y = 0; y < decoded.Height(); ++y) std::memcpy(decoded.RowAt(y), frame + std::size_t(y) * rowBytes, rowBytes);
    return true;
}

bool Decode(const std::vector<std::uint8_t>& bytes, CvxDIB& decoded, PhotoMetadata* metadata,
            std::int64_t maxPixels, std::string& reason) {
    const WebPData data{bytes.data(), bytes.size()};
    const std::unique_ptr<WebPDemuxer, DemuxDelete> demux(WebPDemux(&data));
    if (!demux) {
        reason = "the file is damaged or incomplete";
        return false;
    }
    const std::int64_t width = WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_WIDTH);
    const std::int64_t height = WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_HEIGHT);
    if (!CvxDIB::SizeIsSane(width, height, 32) || width * height > maxPixels) {
        reason = "the picture is too large";
        return false;
    }
    if (!decoded.Create(static_cast<int>(width), static_cast<int>(height), 32)) {
        reason = "out of memory for the picture";
        return false;
    }
    const std::uint32_t flags = WebPDemuxGetI(demux.get(), WEBP_FF_FORMAT_FLAGS);
    if (!((flags & ANIMATION_FLAG) ? DecodeFirstFrame(data, decoded) : DecodeStill(data, decoded))) {
        reason = "the picture data is damaged";
        return false;
    }
    WebPChunkIterator chunk;
    if (metadata != nullptr && (flags & ICCP_FLAG) && WebPDemuxGetChunk(demux.get(), "ICCP", 1, &chunk)) {
        metadata->iccProfile.assign(chunk.chunk.bytes, chunk.chunk.bytes + chunk.chunk.size);
        WebPDemuxReleaseChunkIterator(&chunk);
    }
    return true;
}

}  // namespace

int ReadWebP(CvxFile& file, CvxDIB& image, PhotoMetadata* metadata, std::int64_t maxPixels) {
    std::uint8_t header[kHeaderBytes];
    const std::int64_t start = file.Position();
    if (!file.ReadExact(header, kHeaderBytes) || !IsWebP(header)) return 0;
    std::vector<std::uint8_t> bytes;
    if (!file.Seek(start) || !file.ReadAll(bytes, CvxDIB::kMaxBytes)) {
        ShowUnreadable("WebP", "the file cannot be read whole");
        return 0;
    }
    CvxDIB decoded;
    std::string reason;
    if (!Decode(bytes, decoded, metadata, maxPixels, reason)) {
        ShowUnreadable("WebP", reason);
        return 0;
    }
    FinishImportedPixels(decoded);
    image = std::move(decoded);
    return 1;
}
