#pragma once
// A finished brush stroke written into a new state of the object it was painted on, so that
// the whole stroke becomes one undoable change.

#include <cstdint>
#include <memory>

class CvxSprite;
class TouchedPoints;

// What the stroke writes at its points: the tool colour, each point's recorded colour (both
// opaque), or full transparency.
enum class StrokePaint { ToolColour, RecordedColours, Clear };

// A new state of `target` (its trimmed copy) with the stroke's points inside it painted. With
// `objectDomain` only pixels that already show are painted (a clearing stroke ignores it).
// Null when no pixel was written or the copy cannot be made.
std::unique_ptr<CvxSprite> PaintStroke(const CvxSprite& target, const TouchedPoints& stroke, StrokePaint paint,
                                       std::uint32_t toolColour, bool objectDomain);
