#include "codecs/StationeryDocument.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <vector>

#include "codecs/CvxFile.h"
#include "codecs/PngCodec.h"
#include "image/CvxDIB.h"
#include "platform/DataFolders.h"
#include "platform/PlatformServices.h"

namespace {

constexpr StationeryTemplate kTemplates[] = {
    {"Service Folder 1-Up", "Service_Folder_1-Up"},
    {"Service Folder 2-Up", "Service_Folder_2-Up"},
    {"Register Book (Cover)", "Register_Book"},
    {"Register Book (In Memory)", "Register_Book-In_Memory"},
    {"Register Book (Services)", "Register_Book-Services"},
    {"Register Book (Pl of Rest)", "Register_Book-Place_of_Rest"},
    {"Register Book (Catholic)", "Register_Book-Catholic_Services"},
    {"Bookmark 2-Up", "Bookmark_2-Up"},
    {"Bookmark 4-Up", "Bookmark_4-Up"},
    {"Thank-You Card 2-Up (Half)", "Thank-You_Card_2-Up_(Half)"},
    {"Prayer Card 4-Up", "Prayer_Card_4-Up"},
    {"Prayer Card 8-Up", "Prayer_Card_8-Up"},
    {"DVD/CD Avery", "CD_and_DVD_Label_(Avery)"},
    {"DVD/CD Cover", "CD_and_DVD_Cover"},
};

// Templates are small text files; anything larger is not one of ours.
constexpr std::int64_t kMaxTemplateBytes = 8u << 20;
constexpr std::string_view kFrameOpen = "<draw:frame ";
constexpr std::string_view kFrameClose = "</draw:frame>";
constexpr std::string_view kDataOpen = "<office:binary-data>";
constexpr std::string_view kDataClose = "</office:binary-data>";
constexpr std::string_view kPictureFramePrefix = "Picture";
// Frames within this share of the picture's aspect keep their exact size.
constexpr double kAspectTolerance = 0.005;

std::string Base64(const std::vector<std::uint8_t>& bytes) {
    static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t left = bytes.size() - i;
        const std::uint32_t group = std::uint32_t(bytes[i]) << 16 | (left > 1 ? std::uint32_t(bytes[i + 1]) << 8 : 0) |
                                    (left > 2 ? bytes[i + 2] : 0);
        text += kDigits[group >> 18 & 63];
        text += kDigits[group >> 12 & 63];
        text += left > 1 ? kDigits[group >> 6 & 63] : '=';
        text += left > 2 ? kDigits[group & 63] : '=';
    }
    return text;
}

std::optional<std::string> ReadTemplate(const std::string& path) {
    CvxFile file;
    std::vector<std::uint8_t> bytes;
    if (!file.Open(path, CvxFile::Mode::Read) || !file.ReadAll(bytes, kMaxTemplateBytes)) return std::nullopt;
    return std::string(bytes.begin(), bytes.end());
}

// Where an attribute's value lies inside a start tag: offset and length; nothing when absent.
std::optional<std::pair<std::size_t, std::size_t>> AttributeValue(std::string_view tag, std::string_view name) {
    const std::string key = " " + std::string(name) + "=\"";
    const std::size_t at = tag.find(key);
    if (at == std::string_view::npos) return std::nullopt;
    const std::size_t begin = at + key.size();
    const std::size_t end = tag.find('"', begin);
    if (end == std::string_view::npos) return std::nullopt;
    return std::pair{begin, end - begin};
}

// A length such as "3.25in": its number and its unit.
struct Length {
    double value = 0;
    std::string unit;
};

std::optional<Length> ParseLength(std::string_view text) {
    const std::size_t unitAt = text.find_first_not_of("0123456789.-");
    if (unitAt == 0 || unitAt == std::string_view::npos) return std::nullopt;
    double value = 0;
    if (std::sscanf(std::string(text.substr(0, unitAt)).c_str(), "%lf", &value) != 1) return std::nullopt;
    return Length{value, std::string(text.substr(unitAt))};
}

// The frame's start tag with its box narrowed to the picture's aspect about the same centre.
// A tag whose box cannot be read keeps its box: the word processor then scales the picture.
std::string FitFrameToPicture(std::string tag, double pictureAspect) {
    static constexpr std::string_view kNames[] = {"svg:x", "svg:y", "svg:width", "svg:height"};
    std::optional<std::pair<std::size_t, std::size_t>> spans[4];
    Length box[4];
    for (int i = 0; i < 4; ++i) {
        spans[i] = AttributeValue(tag, kNames[i]);
        const auto length = spans[i] ? ParseLength(std::string_view(tag).substr(spans[i]->first, spans[i]->second))
                                     : std::nullopt;
        if (!length || (i > 0 && length->unit != box[0].unit)) return tag;
        box[i] = *length;
    }
    if (box[2].value <= 0 || box[3].value <= 0) return tag;
    const double frameAspect = box[2].value / box[3].value;
    if (std::abs(frameAspect / pictureAspect - 1) <= kAspectTolerance) return tag;
    if (pictureAspect > frameAspect) {
        const double height = box[2].value / pictureAspect;
        box[1].value += (box[3].value - height) / 2;
        box[3].value = height;
    } else {
        const double width = box[3].value * pictureAspect;
        box[0].value += (box[2].value - width) / 2;
        box[2].value = width;
    }
    // Replaced from the last attribute to the first, so the earlier offsets stay valid.
    std::vector<int> order{0, 1, 2, 3};
    std::sort(order.begin(), order.end(), [&](int a, int b) { return spans[a]->first > spans[b]->first; });
    for (const int i : order) {
        char value[48];
        std::snprintf(value, sizeof value, "%.4f%s", box[i].value, box[i].unit.c_str());
        tag.replace(spans[i]->first, spans[i]->second, value);
    }
    return tag;
}

}  // namespace

std::span<const StationeryTemplate> StationeryTemplates() { return kTemplates; }

const StationeryTemplate* FindStationeryTemplate(std::string_view menuText) {
    const auto found = std::find_if(std::begin(kTemplates), std::end(kTemplates),
                                    [menuText](const StationeryTemplate& entry) { return menuText == entry.menuText; });
    return found == std::end(kTemplates) ? nullptr : found;
}

std::string StationeryTemplatePath(const StationeryTemplate& stationery) {
    return platform::DataFolder("templates") + stationery.documentName + ".fodt";
}

int WriteStationery(const std::string& templatePath, const CvxDIB& picture, const std::string& outputPath) {
    const std::optional<std::string> source = ReadTemplate(templatePath);
    if (!source) {
        platform::Trace("WriteStationery: cannot read " + templatePath);
        return 0;
    }
    const std::string data = Base64(EncodePNG(picture));
    if (data.empty()) return 0;
    const double aspect = double(picture.Width()) / picture.Height();

    const std::string& text = *source;
    std::string document;
    document.reserve(text.size() + data.size() * 4);
    std::size_t done = 0;
    int frames = 0;
    for (std::size_t start = text.find(kFrameOpen); start != std::string::npos; start = text.find(kFrameOpen, start + 1)) {
        const std::size_t tagEnd = text.find('>', start);
        const std::size_t close = text.find(kFrameClose, start);
        if (tagEnd == std::string::npos || close == std::string::npos) break;
        const std::string_view tag = std::string_view(text).substr(start, tagEnd - start);
        const auto name = AttributeValue(tag, "draw:name");
        if (!name || tag.substr(name->first, name->second).substr(0, kPictureFramePrefix.size()) != kPictureFramePrefix)
            continue;
        const std::size_t dataOpen = text.find(kDataOpen, tagEnd);
        const std::size_t dataClose = text.find(kDataClose, tagEnd);
        if (dataOpen > close || dataClose > close || dataClose < dataOpen) continue;
        document.append(text, done, start - done);
        document += FitFrameToPicture(std::string(tag), aspect);
        document.append(text, tagEnd, dataOpen + kDataOpen.size() - tagEnd);
        document += data;
        done = dataClose;
        ++frames;
    }
    if (frames == 0) {
        platform::Trace("WriteStationery: no picture frame in " + templatePath);
        return 0;
    }
    document.append(text, done, std::string::npos);

    CvxFile file;
    if (!file.Open(outputPath, CvxFile::Mode::Replace) || !file.Write(document.data(), document.size())) return 0;
    return file.Commit() ? 1 : 0;
}

std::string UnusedDocumentPath(const std::string& folder, const std::string& name) {
    const std::filesystem::path base(folder);
    std::error_code error;
    std::filesystem::path candidate = base / (name + ".fodt");
    for (int number = 2; std::filesystem::exists(candidate, error); ++number)
        candidate = base / (name + " (" + std::to_string(number) + ").fodt");
    return candidate.string();
}
