#pragma once

#include "framework/text/Color.h"

namespace fw {

// Drawing into a canvas or a page. Coordinates are pixels from the top left;
// on a page, points (see PrinterSetup).
class Graphics {
public:
    virtual ~Graphics() = default;

    virtual Color ForeColor() const = 0;
    virtual void ForeColor(Color color) = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // The outline of the rectangle, one pixel wide, in the fore colour.
    virtual void DrawRect(int x, int y, int width, int height) = 0;
    virtual void FillRect(int x, int y, int width, int height) = 0;
    // On a page: ends it and starts the next. Elsewhere it does nothing.
    virtual void NextPage() {}
};

}  // namespace fw
