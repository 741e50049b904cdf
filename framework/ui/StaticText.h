#pragma once

#include "framework/text/Color.h"
#include "framework/ui/TextStyleControl.h"

#include <string>

namespace fw {

// A label.
class StaticText : public TextStyleControl {
public:
    explicit StaticText(Window& window);
    const PropertyTable& Properties() const override;

    const std::string& Text() const { return text_; }
    void Text(const std::string& text);
    // 0 left, 1 centre, 2 right.
    int TextAlign() const { return textAlign_; }
    void TextAlign(int align);
    Color TextColor() const { return textColor_; }
    void TextColor(Color color);
    bool Multiline() const { return multiline_; }
    void Multiline(bool on);

private:
    std::string text_;
    Color textColor_;
    int textAlign_ = 0;
    bool multiline_ = false;
};

}  // namespace fw
