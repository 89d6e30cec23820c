#pragma once
// Shared pieces of the document tests: a view double, a frame double and quick objects.

#include <array>
#include <initializer_list>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "document/CvxDoc.h"
#include "document/CvxDocumentView.h"
#include "document/CvxFrameLink.h"
#include "document/CvxSprite.h"
#include "support/TestSupport.h"

namespace doctest {

// A view with the zoom mapping of the real one and a count of full repaints.
class FakeView : public CvxDocumentView {
public:
    explicit FakeView(CvxDoc& document) : m_document(document) {}
    CvxDoc* GetDocument() override { return &m_document; }
    CPoint DeviceToCanvas(CPoint device) const override {
        return {(device.x + scroll.x) * 2000 / zoom, (device.y + scroll.y) * 2000 / zoom};
    }
    void InvalidateCanvas() override { ++invalidations; }

    int zoom = 2000;
    CPoint scroll;
    int invalidations = 0;

private:
    CvxDoc& m_document;
};

class FakeFrame : public CvxFrameLink {
public:
    void OpenHelpPage(const std::string& page) override { pages.push_back(page); }
    void RefreshMemoryIndicator() override { ++refreshes; }
    std::vector<std::string> pages;
    int refreshes = 0;
};

using Bgra = std::array<std::uint8_t, 4>;

inline std::unique_ptr<CvxDIB> SolidImage(int width, int height, Bgra colour) {
    auto image = std::make_unique<CvxDIB>();
    if (!image->Create(width, height, 32)) return nullptr;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) std::memcpy(image->PixelAt(x, y), colour.data(), 4);
    return image;
}

inline Bgra PixelOf(const CvxDIB& image, int x, int y) {
    Bgra pixel{};
    if (const std::uint8_t* p = image.PixelAt(x, y)) std::memcpy(pixel.data(), p, 4);
    return pixel;
}

// Pixel (x, y) should be `colour`: a table of these states what a picture shows.
struct Probe {
    int x, y;
    Bgra colour;
};
inline void ExpectProbes(const CvxDIB& image, std::initializer_list<Probe> probes) {
    for (const Probe& probe : probes) EXPECT_EQ(PixelOf(image, probe.x, probe.y), probe.colour) << probe.x << "," << probe.y;
}

// Where an object lies and how large it is, "x,y wxh", for one comparison of all four.
inline std::string Placement(const CvxSprite& object) {
    return std::to_string(object.m_x) + "," + std::to_string(object.m_y) + " " + std::to_string(object.Width()) + "x" +
           std::to_string(object.Height());
}

// A listed object at (x, y), placed on top of the z-order, with its display bitmap.
inline CvxSprite* AddSolid(CvxDoc& document, int x, int y, int width, int height, Bgra colour = {10, 20, 30, 255}) {
    auto object = std::make_unique<CvxSprite>(&document);
    object->Attach(SolidImage(width, height, colour), nullptr, nullptr, true);
    object->m_x = x;
    object->m_y = y;
    return document.AddObjectAtHead(std::move(object));
}

// One step of the shared editing path: a working copy of the selected object whose pixel
// (0, 0) takes the given blue value, committed over it and selected.
inline CvxSprite* CommitEdit(CvxDoc& document, std::uint8_t blue) {
    CvxSprite* selected = document.GetSelected();
    std::unique_ptr<CvxSprite> copy = selected->Snapshot(false);
    copy->Image()->PixelAt(0, 0)[0] = blue;
    copy->PrepareDisplayBitmap();
    CvxSprite* live = CvxSprite::CommitOver(std::move(copy), selected);
    document.SetSelected(live);
    return live;
}

inline std::uint8_t BlueAtOrigin(const CvxSprite& object) { return object.Image()->PixelAt(0, 0)[0]; }

// Names of the objects listed from the top, by the blue value of their pixel (0, 0).
inline std::vector<int> ZOrder(const CvxDoc& document) {
    std::vector<int> order;
    for (const auto& object : document.Objects()) order.push_back(BlueAtOrigin(*object));
    return order;
}

}  // namespace doctest
