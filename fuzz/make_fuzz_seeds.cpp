// Writes small projects with the project writer into the folder given, as seeds for the
// project fuzz target: a background with objects in each blend mode, a group of two, and a
// transformed object.
//   make_fuzz_seeds FOLDER

#include <cstdio>
#include <memory>
#include <string>

#include "document/CvxDoc.h"
#include "document/CvxSprite.h"
#include "document/CvxSpriteGroup.h"
#include "geometry/Warp.h"
#include "platform/ScriptedPlatform.h"

namespace {

// A small picture whose pixels differ, so that pages do not compress to nothing.
std::unique_ptr<CvxDIB> Picture(int width, int height, int tag) {
    auto image = std::make_unique<CvxDIB>();
    if (!image->Create(width, height, 32)) return nullptr;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = image->PixelAt(x, y);
            p[0] = std::uint8_t(tag * 40);
            p[1] = std::uint8_t(x * 9 + 1);
            p[2] = std::uint8_t(y * 13 + 1);
            p[3] = (x + y) % 7 == 0 ? 0 : 255;
        }
    return image;
}

CvxSprite* Add(CvxDoc& document, int x, int y, int width, int height, int tag) {
    auto object = std::make_unique<CvxSprite>(&document);
    object->Attach(Picture(width, height, tag), nullptr, nullptr, false);
    object->m_x = x;
    object->m_y = y;
    return document.AddObjectAtHead(std::move(object));
}

bool Save(CvxDoc& document, const std::string& path) {
    document.Canvas().m_bRulers = false;
    if (!document.OnSaveDocument(path)) {
        std::fprintf(stderr, "make_fuzz_seeds: could not write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds FOLDER\n");
        return 2;
    }
    platform::ScriptedPlatform platform;
    const std::string folder = argv[1];
    bool written = true;
    {
        CvxDoc document;
        auto background = std::make_unique<CvxSprite>(&document);
        background->Attach(Picture(40, 30, 1), nullptr, nullptr, true);
        document.Canvas().AdoptBackground(std::move(background));
        Add(document, 5, 4, 12, 10, 2)->m_blend = {3, 40, 1021, 0, -3, 17, 650};
        Add(document, 20, 8, 10, 10, 3)->m_blend.mode = 1;
        CvxSprite* feathered = Add(document, 2, 18, 14, 9, 4);
        feathered->m_blend.mode = 2;
        feathered->m_nEdgeWidth = 3;
        written &= Save(document, folder + "/made-project-effects.tif");
    }
    {
        CvxDoc document;
        CvxSprite* a = Add(document, 3, 3, 10, 8, 5);
        CvxSprite* b = Add(document, 9, 7, 8, 12, 6);
        b->m_blend.mode = 2;
        a->m_nGroupMark = b->m_nGroupMark = 1;
        CvxSpriteGroup::BuildGroup(document);
        auto source = std::make_unique<CvxSprite>(&document);
        source->Attach(Picture(12, 9, 7), nullptr, nullptr, false);
        const CvxCorners corners{CPoint{0, 3}, CPoint{15, 0}, CPoint{17, 11}, CPoint{2, 14}};
        auto warped = WarpByCorners(*source->Image(), CornerQuad{source->m_corners}, CornerQuad{corners});
        auto transformed = std::make_unique<CvxSprite>(&document);
        transformed->Attach(std::move(warped), nullptr, &corners, true);
        transformed->m_x = 22;
        transformed->m_y = 12;
        transformed->SetTransformSource(std::move(source));
        document.AddObjectAtHead(std::move(transformed));
        written &= Save(document, folder + "/made-project-group-transform.tif");
    }
    return written ? 0 : 1;
}
