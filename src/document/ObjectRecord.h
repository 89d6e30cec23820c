#pragma once
// The 120-byte object record that a project file keeps beside each object page: 30 32-bit
// words holding the object's place in the file and in its group, its kind, flags, position,
// corners, blend settings and edge width.

#include <array>
#include <cstdint>

class CvxSprite;

namespace objectrecord {

constexpr int kWords = 30;
using Words = std::array<std::int32_t, kWords>;

enum Word {
    kSequence = 0,       // 1 for the first object page, counting every page after it
    kGroupSequence = 1,  // the sequence number of the holding group, 0 at the top level
    kKind = 2,
    kFlags = 3,
    kX = 4,
    kY = 5,
    kCorners = 6,        // eight words: x and y of top-left, top-right, bottom-right, bottom-left
    kBlendMode = 14,
    kAmplitude = 15,
    kGradient = 16,
    kPeriod = 17,
    kEdgeWidth = 18,
    kAutoFlags = 19,     // automatic blend in the low byte, automatic feather above it
    kFeatherWidth = 20,
};

enum Flag : std::int32_t {
    kBackgroundFlag = 1,   // the object is the canvas background (only on the first page)
    kTransformedFlag = 2,  // the page holds the transform source's picture
    kUnblendedFlag = 4,    // the page holds the unblended copy's picture
};

// Word 19: (automatic feather × 256) + (automatic blend & 255), and back with the sign kept.
std::int32_t PackAutoFlags(std::int32_t autoBlend, std::int32_t autoFeather);
void UnpackAutoFlags(std::int32_t word, std::int32_t& autoBlend, std::int32_t& autoFeather);

// The record of an object written as page `sequence` inside group `groupSequence`.
Words Fill(const CvxSprite& object, std::int32_t sequence, std::int32_t groupSequence, bool isBackground);
// Position, corners, blend settings and edge width from a record; the pending blend mode
// becomes the blend mode, so the effect is applied again when the object is first drawn.
void CopyInto(const Words& words, CvxSprite& object);

}  // namespace objectrecord
