#include "framework/ui/Rectangle.h"

#include "framework/qt/QtConvert.h"
#include "framework/qt/WindowFrame.h"

#include <QPainter>

namespace fw {

namespace {

class RectangleView : public QWidget {
public:
    explicit RectangleView(Rectangle& owner) : owner_(owner) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), ToQt(owner_.FillColor()));
        const int border = std::max(0, owner_.BorderWidth());
        for (int i = 0; i < border; ++i) {
            const int right = width() - 1 - i, bottom = height() - 1 - i;
            painter.setPen(ToQt(owner_.TopLeftColor()));
            painter.drawLine(i, i, right, i);
            painter.drawLine(i, i, i, bottom);
            painter.setPen(ToQt(owner_.BottomRightColor()));
            painter.drawLine(i, bottom, right, bottom);
            painter.drawLine(right, i, right, bottom);
        }
    }

private:
    Rectangle& owner_;
};

}  // namespace

Rectangle::Rectangle(Window& window) : RectControl(window, std::make_unique<Widget>(new RectangleView(*this))) {}

const PropertyTable& Rectangle::Properties() const {
    static const PropertyTable table(
        {
            Prop("FillColor", &Rectangle::FillColor, &Rectangle::FillColor),
            Prop("BorderWidth", &Rectangle::BorderWidth, &Rectangle::BorderWidth),
            Prop("TopLeftColor", &Rectangle::TopLeftColor, &Rectangle::TopLeftColor),
            Prop("BottomRightColor", &Rectangle::BottomRightColor, &Rectangle::BottomRightColor),
        },
        &BaseProperties());
    return table;
}

void Rectangle::FillColor(Color color) {
    fill_ = color;
    ViewOf(*this)->update();
}
void Rectangle::BorderWidth(int width) {
    borderWidth_ = width;
    ViewOf(*this)->update();
}
void Rectangle::TopLeftColor(Color color) {
    topLeft_ = color;
    ViewOf(*this)->update();
}
void Rectangle::BottomRightColor(Color color) {
    bottomRight_ = color;
    ViewOf(*this)->update();
}

}  // namespace fw
