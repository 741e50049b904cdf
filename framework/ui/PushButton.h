#pragma once

#include "framework/ui/TextStyleControl.h"

#include <string>

namespace fw {

// A push button. Events: Action (on click), Open.
class PushButton : public TextStyleControl {
public:
    explicit PushButton(Window& window);
    const PropertyTable& Properties() const override;

    std::string Caption() const;
    void Caption(const std::string& caption);
    // Return that no control takes (a single-line field leaves it) presses
    // the default button, which is drawn as such, and Escape the cancel
    // button; of buttons on the pages of a tab panel, only the shown page's.
    bool Default() const { return default_; }
    void Default(bool on);
    bool Cancel() const { return cancel_; }
    void Cancel(bool on) { cancel_ = on; }
    void Push();

protected:
    bool Accepts(std::string_view event, const EventHandler& handler) const override;

private:
    bool default_ = false, cancel_ = false;
};

}  // namespace fw
