#pragma once

#include "framework/ui/RectControl.h"

#include <memory>

namespace fw {

class Graphics;
class Picture;

// A drawing surface with a backdrop picture. Events: Paint (draw into the
// given graphics each time the canvas is drawn), MouseDown, Open.
//
// A canvas has one drawing context for its life, Graphics. Its ForeColor is
// the colour last set on it, by the program or inside Paint, whose graphics
// is the same context drawing on the screen. What is drawn on it outside
// Paint is kept on the canvas, over the backdrop and under what Paint draws,
// until the next Refresh.
class Canvas : public RectControl {
public:
    explicit Canvas(Window& window);
    ~Canvas() override;
    const PropertyTable& Properties() const override;

    const std::shared_ptr<Picture>& Backdrop() const { return backdrop_; }
    void Backdrop(std::shared_ptr<Picture> picture);
    // The canvas's own drawing context, the size of the canvas.
    class Graphics& Graphics();
    // Whether Tab leads to it; a click never gives it the keyboard focus.
    bool AcceptFocus() const { return acceptFocus_; }
    void AcceptFocus(bool on);

    // The canvas is drawn as its backdrop, then its kept drawing, then what
    // the Paint handler draws.
    void RaisePaint(class Graphics& onScreen);
    // The context and the drawing it keeps, sized to the canvas.
    struct Kept;
    Kept& KeptDrawing();
    void KeepDrawing(Kept& kept);
    bool RaiseMouseDown(int x, int y) { return RaiseMouse("MouseDown", x, y); }
    // Draws the canvas anew: the drawing kept since the last Refresh goes.
    void Refresh();

protected:
    bool Accepts(std::string_view event, const EventHandler& handler) const override;

private:
    std::shared_ptr<Picture> backdrop_;
    std::unique_ptr<Kept> kept_;
    bool acceptFocus_ = false;
};

}  // namespace fw
