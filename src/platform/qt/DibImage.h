#pragma once
// Moving pixel images between the editor's own type and Qt's, and painting them.

#include <QImage>
#include <memory>

class CvxDIB;
class QPainter;

// A copy of a 32-bit image, alpha kept (not premultiplied); a null image for other depths.
QImage ToQImage(const CvxDIB& image);
// A 32-bit copy of any picture; null when it is empty or too large.
std::unique_ptr<CvxDIB> FromQImage(const QImage& picture);
// Paints the whole image at (x, y) at its own size.
void Draw(const CvxDIB& image, QPainter& painter, int x, int y);
