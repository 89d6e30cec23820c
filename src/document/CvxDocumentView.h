#pragma once
// What the document model asks of a view that shows it. The canvas view implements this;
// the model never depends on the toolkit.

#include "image/DibTypes.h"

class CvxDoc;

class CvxDocumentView {
public:
    virtual ~CvxDocumentView() = default;

    virtual CvxDoc* GetDocument() = 0;
    // A point in the view's device units (window pixels) in canvas pixels, through the
    // view's zoom mapping and scroll position.
    virtual CPoint DeviceToCanvas(CPoint device) const = 0;
    // Forgets that the selection outline is drawn and repaints the whole window.
    virtual void InvalidateCanvas() = 0;
};
