#pragma once
// The edge map the live-wire search steers by: one byte per pixel of an 8-bit image, high
// where the pixel lies on a strong edge whose direction agrees with its neighbours' along
// the edge, low in flat areas. The two-pixel frame of the image always reads 192.

class CvxDIB;

// Rebuilds the grey colour map and image.m_pEdgeMap (stride x height bytes, laid out like the
// pixel rows; row padding is zero) from an 8-bit image. Any earlier edge data are dropped
// first; the edge data stay null for images of another depth and when memory runs out.
// Offers its time slice through the platform services once per row of every column strip of
// the final pass that the calling thread computes (once per row for a picture of one strip).
void MakeEdgeMap(CvxDIB& image);

// The same, with the rows of each pass shared among `threads` threads (at least one, the
// caller's). The result is the same byte for byte whatever the count.
void MakeEdgeMap(CvxDIB& image, unsigned threads);
