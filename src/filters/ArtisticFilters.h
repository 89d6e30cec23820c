#pragma once
// The single-pass building blocks of the drawing effects: a pencil sketch from an edge
// map and a chalk look from banded intensities.

class CvxDIB;

// Every visible destination pixel becomes the grey 255 - edge strength of the same pixel
// of reducedWithEdges, an 8-bit image of the destination's size carrying its edge map.
// A fresh (opaque white) destination therefore turns into a whole-rectangle drawing.
// Returns 0 when the sizes differ or the edge map is missing.
int Sketch(CvxDIB& destination, const CvxDIB& reducedWithEdges);

// The band a chalk stroke draws intensity i (0..255) in.
double ChalkIntensity(double intensity);
// Every visible source pixel with saturation 0.8 and banded intensity, fully opaque;
// transparent ones become the all-zero pixel. destination is 32-bit, the source's size.
int Chalk(CvxDIB& destination, const CvxDIB& source);
