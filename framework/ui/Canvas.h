#pragma once

#include "framework/ui/RectControl.h"

#include <memory>

namespace fw {

class Graphics;
class Picture;

// A drawing surface with a backdrop picture. Events: Paint (draw into the
// given graphics each time the canvas is drawn), MouseDown, Open.
class Canvas : public RectControl {
public:
    explicit Canvas(Window& window);
    ~Canvas() override;
    const PropertyTable& Properties() const override;

    const std::shared_ptr<Picture>& Backdrop() const { return backdrop_; }
    void Backdrop(std::shared_ptr<Picture> picture);
    // Drawing that lasts until drawn over: it is kept with the canvas and
    // shown above the backdrop.
    Graphics& PersistentGraphics();
    bool AcceptFocus() const { return acceptFocus_; }
    void AcceptFocus(bool on);

    // The canvas is drawn as its backdrop, then its kept drawing, then what
    // the Paint handler draws.
    void RaisePaint(Graphics& onScreen);
    struct Kept;
    const Kept* KeptDrawing() const { return kept_.get(); }
    bool RaiseMouseDown(int x, int y) { return RaiseMouse("MouseDown", x, y); }
    void Refresh();

protected:
    bool Accepts(std::string_view event, const EventHandler& handler) const override;

private:
    std::shared_ptr<Picture> backdrop_;
    std::unique_ptr<Kept> kept_;
    bool acceptFocus_ = false;
};

}  // namespace fw
