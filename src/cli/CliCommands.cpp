#include "cli/CliCommands.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "codecs/ImageFileDispatch.h"
#include "codecs/PhotoCorrection.h"
#include "codecs/StationeryDocument.h"
#include "document/CvxDoc.h"
#include "document/CvxSpriteGroup.h"
#include "document/ObjectOperations.h"
#include "image/CvxDIB.h"

namespace {

// One line per object: its kind, place, size, group and settings; members follow their
// group, numbered below it, with positions relative to the group.
void PrintObject(const std::string& label, const CvxSprite& object, const std::string& group) {
    const CvxBlendSettings& blend = object.m_blend;
    std::printf("%s: %s x=%d y=%d width=%d height=%d group=%s blend=%d,%d,%d,%d,%d,%d,%d edge=%d%s\n", label.c_str(),
                object.GetKind() == CvxSpriteGroup::kKind ? "group" : "object", object.m_x, object.m_y, object.Width(),
                object.Height(), group.c_str(), blend.mode, blend.amplitude, blend.gradient, blend.autoBlend,
                blend.autoFeather, blend.featherWidth, blend.period, object.m_nEdgeWidth,
                object.TransformSource() ? " transformed" : "");
    if (object.GetKind() != CvxSpriteGroup::kKind) return;
    int index = 0;
    for (const auto& member : static_cast<const CvxSpriteGroup&>(object).Members())
        PrintObject(label + "." + std::to_string(++index), *member, label.substr(label.find(' ') + 1));
}

int PrintProject(const std::string& path, const CvxDoc& document) {
    std::printf("file: %s\nkind: project\nobjects: %zu\n", path.c_str(), document.Objects().size());
    if (const CvxSprite* background = document.Canvas().Background()) PrintObject("background", *background, "-");
    int index = 0;
    for (const auto& object : document.Objects()) PrintObject("object " + std::to_string(++index), *object, "-");
    return 0;
}

std::string FullPath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(path, error);
    return error ? path : full.lexically_normal().string();
}

// IN exactly as convert loads it, in its 32-bit working form; null (with a message) otherwise.
std::unique_ptr<CvxDIB> LoadWorkingPicture(const std::string& input, CvxDoc& document) {
    CvxDIB loaded;
    if (!loaded.LoadFromFile(FullPath(input), nullptr, nullptr, &document)) return nullptr;
    if (loaded.IsEmpty()) {
        std::fprintf(stderr, "%s is a project, not a picture\n", input.c_str());
        return nullptr;
    }
    return loaded.ConvertTo32(true);
}

// The edge strengths the edge clip tool steers by, as a grey picture.
bool MakeEdgeMapPicture(CvxSprite& object) {
    object.BuildReducedCopy();
    const CvxDIB* reduced = object.ReducedCopy();
    if (!reduced || !reduced->m_pEdgeMap) return false;
    auto picture = std::make_unique<CvxDIB>();
    if (!picture->Create(reduced->Width(), reduced->Height(), 32)) return false;
    for (int y = 0; y < picture->Height(); ++y) {
        // The edge map is laid out like the 8-bit rows.
        const std::uint8_t* edges = reduced->m_pEdgeMap.get() + (reduced->RowAt(y) - reduced->Bits());
        std::uint8_t* pixel = picture->RowAt(y);
        for (int x = 0; x < picture->Width(); ++x, pixel += 4) pixel[0] = pixel[1] = pixel[2] = edges[x];
    }
    object.ReleaseOutlineMaskAndReducedCopy();
    object.SetImage(std::move(picture));
    return true;
}

struct NamedOperation {
    const char* name;
    ObjectOperation operation;
};

constexpr NamedOperation kNamedOperations[] = {
    {"gray", ObjectOperation::Gray},         {"sepia", ObjectOperation::Sepia},
    {"invert", ObjectOperation::Invert},     {"equalize", ObjectOperation::Equalize},
    {"smooth", ObjectOperation::Smooth},     {"sharpen", ObjectOperation::Sharpen},
    {"despeckle", ObjectOperation::Despeckle}, {"reduce", ObjectOperation::Reduce},
    {"sketch", ObjectOperation::Sketch},     {"chalk", ObjectOperation::Chalk},
    {"charcoal", ObjectOperation::Charcoal}, {"paint", ObjectOperation::Paint},
};

constexpr const char* kOperationNames[] = {"gray",   "sepia",  "invert", "equalize",  "contrast+", "contrast-",
                                           "smooth", "sharpen", "despeckle", "reduce", "sketch",    "chalk",
                                           "charcoal", "paint", "edgemap",  nullptr};

}  // namespace

const char* const* OperationNames() { return kOperationNames; }

bool IsOperationName(const std::string& name) {
    for (const char* const* known = kOperationNames; *known; ++known)
        if (name == *known) return true;
    return false;
}

int RunOperation(const std::string& name, const std::string& input, const std::string& output, std::uint32_t seed) {
    CvxDoc document;
    auto picture = LoadWorkingPicture(input, document);
    if (!picture) return 1;
    auto object = std::make_unique<CvxSprite>(&document);
    object->SetImage(std::move(picture));
    CvxSprite* live = document.AddObjectAtHead(std::move(object));
    OperationSettings settings;
    settings.seed = seed;
    CvxSprite* result = nullptr;
    if (name == "contrast+" || name == "contrast-") {
        result = StepContrast(*live, name == "contrast+");
    } else if (name == "edgemap") {
        result = MakeEdgeMapPicture(*live) ? live : nullptr;
    } else {
        for (const NamedOperation& named : kNamedOperations)
            if (name == named.name) result = RunObjectOperation(*live, named.operation, settings).object;
    }
    if (!result) {
        std::fprintf(stderr, "%s failed on %s\n", name.c_str(), input.c_str());
        return 1;
    }
    const std::string path = FullPath(output);
    if (!result->Image()->SaveToFile(path)) return 1;
    if (const auto written = SavedFileName(path); written && *written != path)
        std::fprintf(stderr, "Saved as %s\n", written->c_str());
    return 0;
}

int RunTemplate(const std::string& name, const std::string& input, const std::string& output) {
    const StationeryTemplate* stationery = FindStationeryTemplate(name);
    if (!stationery) {
        std::fprintf(stderr, "No template is called \"%s\". The templates are:\n", name.c_str());
        for (const StationeryTemplate& entry : StationeryTemplates()) std::fprintf(stderr, "  %s\n", entry.menuText);
        return 2;
    }
    // The picture as convert writes it: a project's canvas flattened, a picture in its working form.
    CvxDoc document;
    CvxDIB loaded;
    if (!loaded.LoadFromFile(FullPath(input), nullptr, nullptr, &document)) return 1;
    std::unique_ptr<CvxDIB> picture;
    if (loaded.IsEmpty()) {
        document.PlacePendingImage(nullptr);
        picture = document.FlattenUsedCanvas();
    } else {
        picture = loaded.ConvertTo32(true);
    }
    if (!picture || !WriteStationery(StationeryTemplatePath(*stationery), *picture, FullPath(output))) {
        std::fprintf(stderr, "Could not write %s\n", output.c_str());
        return 1;
    }
    return 0;
}

int RunConvert(const std::string& input, const std::string& requestedOutput) {
    // The dispatcher's naming rules expect the full paths the editor's dialogs give.
    const std::string output = FullPath(requestedOutput);
    CvxDoc document;
    CvxDIB loaded;
    if (!loaded.LoadFromFile(FullPath(input), nullptr, nullptr, &document)) return 1;
    bool saved = false;
    if (loaded.IsEmpty()) {
        // A project: its canvas flattened, as the editor saves it.
        document.PlacePendingImage(nullptr);
        saved = document.OnSaveDocument(output);
    } else if (const auto working = loaded.ConvertTo32(true)) {
        // The working form every picture takes when it becomes an object.
        saved = working->SaveToFile(output) != 0;
    }
    if (!saved) return 1;
    if (const auto written = SavedFileName(output); written && *written != output)
        std::fprintf(stderr, "Saved as %s\n", written->c_str());
    return 0;
}

int RunInfo(const std::string& path) {
    CvxDoc document;
    CvxDIB image;
    ImageKind kind = ImageKind::None;
    PhotoMetadata photo;
    if (!image.LoadFromFile(path, nullptr, &kind, &document, &photo)) return 1;
    if (image.IsEmpty()) return PrintProject(path, document);
    // The size is the upright one the editor shows; the file's own orientation and profile follow.
    std::printf("file: %s\nkind: %s\nwidth: %d\nheight: %d\ndepth: %d\norientation: %d\ncolour profile: %s\n",
                path.c_str(), ImageKindName(kind), image.Width(), image.Height(), image.BitCount(), photo.orientation,
                photo.colourConverted ? "converted to sRGB" : photo.iccProfile.empty() ? "none (sRGB)" : "not usable, ignored");
    return 0;
}
