#include "document/ObjectRecord.h"

#include "document/CvxSprite.h"

namespace objectrecord {

std::int32_t PackAutoFlags(std::int32_t autoBlend, std::int32_t autoFeather) {
    // Unsigned arithmetic: the feather field is a signed value and may be anything on load.
    const std::uint32_t packed = (static_cast<std::uint32_t>(autoFeather) << 8) +
                                 (static_cast<std::uint32_t>(autoBlend) & 255u);
    return static_cast<std::int32_t>(packed);
}

void UnpackAutoFlags(std::int32_t word, std::int32_t& autoBlend, std::int32_t& autoFeather) {
    autoBlend = word & 255;
    autoFeather = word >> 8;  // arithmetic shift: the sign is kept
}

Words Fill(const CvxSprite& object, std::int32_t sequence, std::int32_t groupSequence, bool isBackground) {
    Words words{};
    words[kSequence] = sequence;
    words[kGroupSequence] = groupSequence;
    words[kKind] = object.GetKind();
    std::int32_t flags = 0;
    if (sequence == 1 && isBackground) flags |= kBackgroundFlag;
    if (object.TransformSource()) flags |= kTransformedFlag;
    if (object.UnblendedCopy()) flags |= kUnblendedFlag;
    words[kFlags] = flags;
    // The page of a blended object holds its unaffected picture: the place and corners saved
    // are that picture's, so the effect is rebuilt where it was rather than a margin further.
    const CvxSprite* unblended = object.TransformSource() ? nullptr : object.UnblendedCopy();
    words[kX] = object.m_x + (unblended ? unblended->m_x : 0);
    words[kY] = object.m_y + (unblended ? unblended->m_y : 0);
    const CvxCorners& corners = unblended ? unblended->m_corners : object.m_corners;
    for (int i = 0; i < 4; ++i) {
        words[std::size_t(kCorners + 2 * i)] = corners[std::size_t(i)].x;
        words[std::size_t(kCorners + 2 * i + 1)] = corners[std::size_t(i)].y;
    }
    const CvxBlendSettings& blend = object.m_blend;
    words[kBlendMode] = blend.mode;
    words[kAmplitude] = blend.amplitude;
    words[kGradient] = blend.gradient;
    words[kPeriod] = blend.period;
    words[kEdgeWidth] = object.m_nEdgeWidth;
    words[kAutoFlags] = PackAutoFlags(blend.autoBlend, blend.autoFeather);
    words[kFeatherWidth] = blend.featherWidth;
    return words;
}

void CopyInto(const Words& words, CvxSprite& object) {
    object.m_x = words[kX];
    object.m_y = words[kY];
    for (int i = 0; i < 4; ++i)
        object.m_corners[std::size_t(i)] = {words[std::size_t(kCorners + 2 * i)], words[std::size_t(kCorners + 2 * i + 1)]};
    CvxBlendSettings& blend = object.m_blend;
    blend.mode = words[kBlendMode];
    blend.amplitude = words[kAmplitude];
    blend.gradient = words[kGradient];
    UnpackAutoFlags(words[kAutoFlags], blend.autoBlend, blend.autoFeather);
    blend.featherWidth = words[kFeatherWidth];
    blend.period = words[kPeriod];
    object.m_nEdgeWidth = words[kEdgeWidth];
    object.m_nPendingBlendMode = blend.mode;
}

}  // namespace objectrecord
