#pragma once
// What lies under every object on the canvas: the checkered (or plain white) ground and the
// inch rulers along the top and left edges.

class CvxDIB;

namespace canvasbackground {

constexpr int kCheckerCell = 90;       // canvas pixels per checkerboard cell side
constexpr int kRulerInnerEdge = 41;    // the rulers occupy 1 … 40 and start counting at 41
constexpr int kRulerInches = 20;
constexpr int kRulerTicks = 160;       // eighths of an inch, 0 … 160 inclusive

// Writes the two-grey checkerboard over the whole 32-bit layer.
void PaintCheckerboard(CvxDIB& layer);
// Fills the layer with opaque white.
void PaintWhite(CvxDIB& layer);
// Draws both rulers (strips, inch numbers through the platform's text drawing, eighth-inch
// ticks) for the given pixels per inch.
void PaintRulers(CvxDIB& layer, int pixelsPerInchX, int pixelsPerInchY);

// Where tick i (an eighth of an inch each) lies along a ruler, and where it starts: inch
// marks reach the outer edge, shorter ticks mark halves, quarters and eighths.
int RulerTickPosition(int tick, int pixelsPerInch);
int RulerTickStart(int tick);

}  // namespace canvasbackground
