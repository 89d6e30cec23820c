#pragma once
// Histogram equalisation of HSI intensity with a mild saturation boost; hue is kept.

class CvxDIB;

// In place on a 32-bit image; transparent pixels are neither counted nor changed, and an
// image without a visible pixel is left alone. Returns 0 for an image that is not 32-bit.
int Equalize(CvxDIB& image);
