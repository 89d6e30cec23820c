#pragma once
// Gives the pixels along an object's rim (both the outermost visible ones and the
// transparent ones touching them) the colour of a nearby interior pixel, so that an
// interpolating resample does not pull stray colours from outside the object into it.

class CvxDIB;

// In place on a 32-bit image. Returns 0 when the image is not 32-bit.
int EdgeColourFill(CvxDIB& image);
