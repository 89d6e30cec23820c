// The object record of project pages: word layout, flags and the packed automatic flags.

#include "DocumentFixtures.h"
#include "document/CvxSpriteGroup.h"
#include "document/ObjectRecord.h"

using namespace doctest;

// Blend flag, feather flag and the packed word: only the low byte of the blend flag is kept,
// the feather keeps its sign (-767 is bytes 01 FD FF FF in the file).
TEST(ObjectRecord, Word19PacksBothAutomaticFlags) {
    const std::array<std::int32_t, 3> cases[] = {
        {1, -3, -767}, {1, 0, 1}, {0, 1, 256}, {300, 0, 44}, {0, 0x7FFFFF, 0x7FFFFF00}};
    for (const auto& [blend, feather, word] : cases) {
        EXPECT_EQ(objectrecord::PackAutoFlags(blend, feather), word) << blend << " " << feather;
        std::int32_t autoBlend = 0, autoFeather = 0;
        objectrecord::UnpackAutoFlags(word, autoBlend, autoFeather);
        EXPECT_EQ(std::pair(autoBlend, autoFeather), std::pair(blend & 255, feather)) << word;
    }
}

TEST(ObjectRecord, WordsFollowTheLayout) {
    CvxDoc document;
    CvxSprite* object = AddSolid(document, -12, 34, 8, 6);
    object->m_corners = {CPoint{1, 2}, CPoint{3, 4}, CPoint{5, 6}, CPoint{7, 8}};
    object->m_blend = {3, 40, 1021, 0, 1, 17, 650};
    object->m_nEdgeWidth = 9;
    auto source = std::make_unique<CvxSprite>(&document);
    object->SetTransformSource(std::move(source));

    const objectrecord::Words words = objectrecord::Fill(*object, 1, 0, true);
    const objectrecord::Words expected = {1, 0, 0, objectrecord::kBackgroundFlag | objectrecord::kTransformedFlag,
                                          -12, 34, 1, 2, 3, 4, 5, 6, 7, 8, 3, 40, 1021, 650, 9, 256, 17};
    EXPECT_EQ(words, expected);

    // The background flag belongs to the first page only; groups say kind 1.
    EXPECT_EQ(objectrecord::Fill(*object, 2, 0, true)[objectrecord::kFlags], objectrecord::kTransformedFlag);
    CvxSpriteGroup group;
    group.SetUnblendedCopy(std::make_unique<CvxSprite>(&document));
    const objectrecord::Words groupWords = objectrecord::Fill(group, 5, 3, false);
    EXPECT_EQ(groupWords[objectrecord::kKind], 1);
    EXPECT_EQ(groupWords[objectrecord::kGroupSequence], 3);
    EXPECT_EQ(groupWords[objectrecord::kFlags], objectrecord::kUnblendedFlag);
    EXPECT_EQ(groupWords[objectrecord::kAutoFlags], 1);  // defaults: blend on, feather off
    EXPECT_EQ(groupWords[objectrecord::kGradient], 1012);
}
