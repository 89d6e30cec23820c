#pragma once
// The texts of the status bar's panes: pointer position, zoom and the tool swatch's size.

#include <string>

// "(%4d, %4d)", or blank when the pointer is over column 0 or row 0 of the canvas.
std::string PositionText(int x, int y);

// The zoom pane's 11 characters: the label of a known zoom value ("zoom: 100% "), or only
// the percent sign for any other value.
std::string ZoomText(int zoomValue);

// Whether a size written on the tool's colour reads in white (dark colours) or black.
bool SwatchTextIsWhite(int red, int green, int blue);

// The size shown on the swatch, "%2d"; empty for size 0.
std::string SwatchSizeText(int size);
