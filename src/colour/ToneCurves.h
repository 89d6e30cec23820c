#pragma once
// Per-channel tone changes of a 32-bit image: grey, the channel power curves and the
// sepia tone built from both.

class CvxDIB;
struct RGBQUAD;

// Every visible pixel becomes its grey value; transparent pixels are left as they are.
int ToGray(CvxDIB& image);
// Every pixel's red, green and blue through the power curve with their own exponent;
// alpha is not consulted and kept.
int ApplyChannelCurves(CvxDIB& image, double redExp, double greenExp, double blueExp);
// The same curves on colour-table entries (the 8-bit previews).
void ApplyChannelCurves(RGBQUAD* colours, int count, double redExp, double greenExp, double blueExp);
// Grey, then warm curves: red and green lifted, blue pressed down.
int ApplySepia(CvxDIB& image);
