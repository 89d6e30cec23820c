#pragma once
// The complementary colour of every visible pixel, computed through hue, saturation and
// value so that the hue turns half way round and dark and light swap.

class CvxDIB;

// destination must be a 32-bit image of the source's size; transparent source pixels
// give all-zero destination pixels. Returns 0 when the images do not fit.
int Invert(CvxDIB& destination, const CvxDIB& source);
