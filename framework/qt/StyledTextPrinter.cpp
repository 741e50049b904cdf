#include "framework/ui/StyledTextPrinter.h"

#include "framework/ui/EditField.h"
#include "framework/qt/QtConvert.h"
#include "framework/qt/QtGraphics.h"
#include "framework/qt/TextEditor.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <utility>
#include <vector>

namespace fw {

// The text laid out once, in the page device's pixels, and the next line to draw.
struct StyledTextPrinter::Layout {
    std::unique_ptr<QTextDocument> document;
    QColor textColor;
    double pixelsPerPoint = 1;
    double width = 0;  // in points
    QTextBlock block;  // invalid at the end
    int line = 0;

    QTextLine Line() const { return block.layout()->lineAt(line); }
    double LineTop() const { return block.layout()->position().y() + Line().y(); }

    // Past the current line; a paragraph without lines has nothing to draw.
    void Advance() {
        if (++line < block.layout()->lineCount()) return;
        line = 0;
        do block = block.next();
        while (block.isValid() && block.layout()->lineCount() == 0);
    }
};

std::unique_ptr<StyledTextPrinter> EditField::StyledTextPrinter(Graphics& graphics, int width) const {
    auto layout = std::make_unique<StyledTextPrinter::Layout>();
    const auto* shown = editor_->document();
    auto* device = dynamic_cast<QtGraphics&>(graphics).Painter().device();
    layout->document.reset(shown->clone());
    auto& document = *layout->document;
    document.setDefaultFont(shown->defaultFont());
    document.setDocumentMargin(0);
    document.documentLayout()->setPaintDevice(device);
    layout->pixelsPerPoint = device->logicalDpiY() / 72.0;
    layout->width = width;
    document.setTextWidth(width * layout->pixelsPerPoint);
    document.documentLayout()->documentSize();
    layout->textColor = ToQt(textColor_);
    if (!shown->isEmpty()) {
        layout->block = document.begin();
        if (layout->block.layout()->lineCount() == 0) layout->Advance();
    }
    return std::make_unique<fw::StyledTextPrinter>(std::move(layout), graphics);
}

StyledTextPrinter::StyledTextPrinter(std::unique_ptr<Layout> layout, Graphics& graphics)
    : layout_(std::move(layout)), graphics_(graphics) {}

StyledTextPrinter::~StyledTextPrinter() = default;

bool StyledTextPrinter::Eof() const { return !layout_->block.isValid(); }

void StyledTextPrinter::DrawBlock(int x, int y, int height) {
    if (Eof()) return;
    auto& text = *layout_;
    const double scale = text.pixelsPerPoint;
    const double top = text.LineTop();
    std::vector<std::pair<QTextLine, QPointF>> lines;
    // Whole lines while they fit; the first one in any case.
    do {
        lines.emplace_back(text.Line(), text.block.layout()->position());
        text.Advance();
    } while (!Eof() && text.LineTop() + text.Line().height() - top <= height * scale);
    dynamic_cast<QtGraphics&>(graphics_).PaintBlock(QRectF(x, y, text.width, height), [&](QPainter& painter) {
        painter.translate(x, y);
        painter.scale(1 / scale, 1 / scale);
        painter.translate(0, -top);
        painter.setPen(text.textColor);
        for (const auto& [line, at] : lines) line.draw(&painter, at);
    });
}

}  // namespace fw
