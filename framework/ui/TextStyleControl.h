#pragma once

#include "framework/ui/RectControl.h"

#include <string>

namespace fw {

// A control that shows text in a font of its own. "System" with size 0 is the
// desktop's own font and size.
class TextStyleControl : public RectControl {
public:
    const std::string& TextFont() const { return font_; }
    void TextFont(const std::string& font);
    int TextSize() const { return size_; }
    void TextSize(int size);
    bool Bold() const { return bold_; }
    void Bold(bool on);
    bool Italic() const { return italic_; }
    void Italic(bool on);
    bool Underline() const { return underline_; }
    void Underline(bool on);

protected:
    using RectControl::RectControl;
    static const PropertyTable& FontProperties();

private:
    void ApplyFont();

    std::string font_ = "System";
    int size_ = 0;
    bool bold_ = false, italic_ = false, underline_ = false;
};

}  // namespace fw
