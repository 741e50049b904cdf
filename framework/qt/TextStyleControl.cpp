#include "framework/ui/TextStyleControl.h"

#include "framework/qt/WindowFrame.h"

#include <QApplication>

namespace fw {

const PropertyTable& TextStyleControl::FontProperties() {
    static const PropertyTable table(
        {
            Prop("TextFont", &TextStyleControl::TextFont, &TextStyleControl::TextFont),
            Prop("TextSize", &TextStyleControl::TextSize, &TextStyleControl::TextSize),
            Prop("Bold", &TextStyleControl::Bold, &TextStyleControl::Bold),
            Prop("Italic", &TextStyleControl::Italic, &TextStyleControl::Italic),
            Prop("Underline", &TextStyleControl::Underline, &TextStyleControl::Underline),
        },
        &BaseProperties());
    return table;
}

void TextStyleControl::TextFont(const std::string& font) {
    font_ = font;
    ApplyFont();
}
void TextStyleControl::TextSize(int size) {
    size_ = size;
    ApplyFont();
}
void TextStyleControl::Bold(bool on) {
    bold_ = on;
    ApplyFont();
}
void TextStyleControl::Italic(bool on) {
    italic_ = on;
    ApplyFont();
}
void TextStyleControl::Underline(bool on) {
    underline_ = on;
    ApplyFont();
}

void TextStyleControl::ApplyFont() {
    QFont font = QApplication::font();
    if (!font_.empty() && font_ != "System") font.setFamily(QString::fromStdString(font_));
    if (size_ > 0) font.setPointSize(size_);
    font.setBold(bold_);
    font.setItalic(italic_);
    font.setUnderline(underline_);
    View().view->setFont(font);
}

}  // namespace fw
