#pragma once
// A single line of text made into an object's picture: the line is drawn in the text colour
// on a background derived from it, and the background is then keyed out. The derived
// background keeps anti-aliased edges tinted like the text rather than haloed in white.

#include <memory>
#include <string>

#include "colour/HsiColor.h"
#include "image/CvxDIB.h"
#include "platform/PlatformServices.h"

// White would be keyed out with the white the drawing leaves, and mid grey would vanish into
// its own background: both are nudged to colours that survive.
RgbTriple AdjustedTextColour(const RgbTriple& text);

// Same hue as the text, a quarter of its saturation, intensity 128.
RgbTriple TextBackgroundColour(const RgbTriple& text);

// The line drawn through the platform's text drawing, opaque where the text is and clear
// elsewhere; null when the text is empty, measures nothing or memory runs out. The text
// colour is expected already adjusted.
std::unique_ptr<CvxDIB> RenderTextLine(const std::string& utf8, const platform::FontSpec& font,
                                       const RgbTriple& textColour);
