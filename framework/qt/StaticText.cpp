#include "framework/ui/StaticText.h"

#include "framework/qt/QtConvert.h"
#include "framework/qt/WindowFrame.h"

#include <QLabel>

namespace fw {

namespace {
QLabel* Label(const StaticText& text) { return static_cast<QLabel*>(ViewOf(text)); }
}  // namespace

StaticText::StaticText(Window& window) : TextStyleControl(window, std::make_unique<Widget>(new QLabel)) {
    Label(*this)->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Label(*this)->setTextFormat(Qt::PlainText);
}

const PropertyTable& StaticText::Properties() const {
    static const PropertyTable table(
        {
            Prop("Text", &StaticText::Text, &StaticText::Text),
            Prop("TextAlign", &StaticText::TextAlign, &StaticText::TextAlign),
            Prop("TextColor", &StaticText::TextColor, &StaticText::TextColor),
            Prop("Multiline", &StaticText::Multiline, &StaticText::Multiline),
            StoredProp("DataSource", std::string()),
            StoredProp("DataField", std::string()),
        },
        &FontProperties());
    return table;
}

void StaticText::Text(const std::string& text) {
    text_ = text;
    QString shown = ToQt(text);
    shown.replace(QChar('\r'), QChar('\n'));
    Label(*this)->setText(shown);
}

void StaticText::TextAlign(int align) {
    textAlign_ = align;
    const Qt::Alignment horizontal = align == 1 ? Qt::AlignHCenter : align == 2 ? Qt::AlignRight : Qt::AlignLeft;
    Label(*this)->setAlignment(horizontal | (multiline_ ? Qt::AlignTop : Qt::AlignVCenter));
}

void StaticText::TextColor(Color color) {
    textColor_ = color;
    QPalette palette = Label(*this)->palette();
    palette.setColor(QPalette::WindowText, ToQt(color));
    Label(*this)->setPalette(palette);
}

void StaticText::Multiline(bool on) {
    multiline_ = on;
    Label(*this)->setWordWrap(on);
    TextAlign(textAlign_);
}

}  // namespace fw
