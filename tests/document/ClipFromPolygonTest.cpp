// Cutting an object out of a picture along a polygon.

#include <climits>
#include <vector>

#include "DocumentFixtures.h"

using namespace doctest;

TEST(ClipFromPolygon, CutsTheInsideAndPlacesIt) {
    CvxDoc document;
    CvxSprite* photo = AddSolid(document, 100, 50, 40, 30, {0, 0, 0, 255});
    for (int x = 20; x < 40; ++x)
        for (int y = 0; y < 30; ++y) std::memset(photo->Image()->PixelAt(x, y), 255, 4);
    // A triangle over the black and the white half.
    const std::vector<CPoint> triangle{{10, 5}, {30, 5}, {10, 25}};
    CvxSprite clipped(&document);
    ASSERT_TRUE(clipped.ClipFromPolygon(triangle, *photo));
    EXPECT_EQ(Placement(clipped), "110,55 21x21");
    // Black and white clamped; (19, 19) lies outside the triangle.
    ExpectProbes(*clipped.Image(), {{1, 1, {1, 1, 1, 255}}, {11, 1, {254, 254, 254, 255}}, {19, 19, {0, 0, 0, 0}}});
    EXPECT_TRUE(clipped.HitTest({111, 56}));
    EXPECT_FALSE(clipped.HitTest({129, 74}));
    EXPECT_FALSE(clipped.HitTest({500, 500}));
    EXPECT_NE(clipped.DisplayBitmap(), nullptr);
    EXPECT_NE(clipped.OutlineMask(), nullptr);
}

TEST(ClipFromPolygon, PointsBeyondTheLimitDoNotCount) {
    CvxDoc document;
    CvxSprite* photo = AddSolid(document, 0, 0, 30, 30);
    CvxSprite beyond(&document);
    ASSERT_TRUE(beyond.ClipFromPolygon(std::vector<CPoint>{{10, 10}, {20, 10}, {20, 20}, {64001, 15}}, *photo));
    EXPECT_EQ(beyond.Width(), 11);
    CvxSprite at(&document);
    ASSERT_TRUE(at.ClipFromPolygon(std::vector<CPoint>{{10, 10}, {20, 10}, {20, 20}, {64000, 15}}, *photo));
    EXPECT_EQ(at.Width(), 63991);
    // Pixels beyond the source picture stay transparent.
    EXPECT_EQ(PixelOf(*at.Image(), 1000, 5)[3], 0);

    CvxSprite extreme(&document);  // absurd points neither count nor overflow
    ASSERT_TRUE(extreme.ClipFromPolygon(std::vector<CPoint>{{10, 10}, {20, 10}, {INT_MIN, INT_MAX}}, *photo));
    EXPECT_EQ(Placement(extreme), "10,10 11x1");

    CvxSprite nothing(&document);
    EXPECT_FALSE(nothing.ClipFromPolygon(std::vector<CPoint>{{-1, 5}, {70000, 3}}, *photo));
    EXPECT_EQ(nothing.Image(), nullptr);
}

TEST(ClipFromPolygon, AnObjectCanBeCutFromItself) {
    CvxDoc document;
    CvxSprite* photo = AddSolid(document, 7, 9, 20, 20, {30, 40, 50, 255});
    photo->Image()->PixelAt(3, 3)[3] = 0;
    std::memset(photo->Image()->PixelAt(4, 4), 0, 4);  // wholly zero: stays transparent
    ASSERT_TRUE(photo->ClipFromPolygon(std::vector<CPoint>{{2, 2}, {12, 2}, {12, 12}, {2, 12}}, *photo));
    EXPECT_EQ(Placement(*photo), "9,11 11x11");
    // (1, 1) had alpha 0 with its colour kept: it comes back opaque; (2, 2) was wholly zero.
    ExpectProbes(*photo->Image(), {{1, 1, {30, 40, 50, 255}}, {2, 2, {0, 0, 0, 0}}, {5, 5, {30, 40, 50, 255}}});
    EXPECT_EQ(photo->m_corners[2], (CPoint{10, 10}));
}

TEST(ClipFromPolygon, PalettedAndTrueColourSources) {
    CvxDoc document;
    // An 8-bit picture is every pixel index 255 of the grey ramp, a 24-bit one white.
    for (const auto& [depth, expected] : {std::pair{8, Bgra{10, 20, 30, 255}}, std::pair{24, Bgra{254, 254, 254, 255}}}) {
        auto picture = std::make_unique<CvxDIB>();
        ASSERT_TRUE(picture->Create(8, 8, depth));
        if (depth == 8) picture->Info()->bmiColors[255] = RGBQUAD{10, 20, 30, 0};
        CvxSprite source(&document), clipped(&document);
        source.Attach(std::move(picture), nullptr, nullptr, false);
        ASSERT_TRUE(clipped.ClipFromPolygon(std::vector<CPoint>{{0, 0}, {7, 0}, {7, 7}, {0, 7}}, source));
        EXPECT_EQ(PixelOf(*clipped.Image(), 3, 3), expected) << depth;
    }
}
