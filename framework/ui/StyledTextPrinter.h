#pragma once

#include <memory>

namespace fw {

class Graphics;

// A text field's styled text laid out for a page, drawn one block after
// another. A block holds the whole lines that fit; a single line taller than
// the block is drawn clipped to it and passed, so that every block moves on.
// Made by EditField::StyledTextPrinter.
class StyledTextPrinter {
public:
    struct Layout;
    StyledTextPrinter(std::unique_ptr<Layout> layout, Graphics& graphics);
    ~StyledTextPrinter();

    // Draws the next block with its top left corner at x, y, at most height high.
    void DrawBlock(int x, int y, int height);
    // Whether all the text has been drawn; at once for an empty text.
    bool Eof() const;

private:
    std::unique_ptr<Layout> layout_;
    Graphics& graphics_;
};

}  // namespace fw
