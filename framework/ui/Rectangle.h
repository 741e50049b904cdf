#pragma once

#include "framework/text/Color.h"
#include "framework/ui/RectControl.h"

namespace fw {

// A filled rectangle with a bevelled border: its top and left edges in one
// colour, its bottom and right edges in another. Controls that name it as
// their InitialParent are shown and hidden with it.
class Rectangle : public RectControl {
public:
    explicit Rectangle(Window& window);
    const PropertyTable& Properties() const override;

    Color FillColor() const { return fill_; }
    void FillColor(Color color);
    int BorderWidth() const { return borderWidth_; }
    void BorderWidth(int width);
    Color TopLeftColor() const { return topLeft_; }
    void TopLeftColor(Color color);
    Color BottomRightColor() const { return bottomRight_; }
    void BottomRightColor(Color color);

private:
    Color fill_ = Color::FromRGB(0xFFFFFF);
    Color topLeft_, bottomRight_;
    int borderWidth_ = 1;
};

}  // namespace fw
