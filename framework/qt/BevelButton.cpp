#include "framework/ui/BevelButton.h"

#include "framework/qt/PictureData.h"
#include "framework/qt/QtConvert.h"
#include "framework/qt/RuntimeState.h"
#include "framework/qt/WindowFrame.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace fw {

namespace {

class BevelView : public QWidget {
public:
    explicit BevelView(BevelButton& owner) : owner_(owner) { setFocusPolicy(Qt::NoFocus); }

    bool pressed = false;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return;
        Guarded([this] { owner_.Press(); });
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return) Guarded([this] { owner_.Press(); });
        else QWidget::keyPressEvent(event);
    }
    void leaveEvent(QEvent*) override {
        Guarded([this] {
            if (const auto* handler = owner_.Handler("MouseExit")) std::get<PlainHandler> (*handler)();
        });
    }

private:
    BevelButton& owner_;
};

void BevelView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool down = pressed || owner_.Value();
    QLinearGradient face(0, 0, 0, height());
    face.setColorAt(0, down ? QColor(150, 150, 150) : QColor(232, 232, 232));
    face.setColorAt(1, down ? QColor(176, 176, 176) : QColor(196, 196, 196));
    QPainterPath outline;
    outline.addRoundedRect(box, 3, 3);
    painter.fillPath(outline, face);

    const auto& icon = owner_.Icon();
    QRect captionArea = rect();
    if (icon) {
        const QImage& image = icon->Data().image;
        painter.save();
        painter.setClipPath(outline);
        if (image.width() >= width() - 4) {
            // A face-sized picture is the button's face, centred.
            painter.drawImage((width() - image.width()) / 2, (height() - image.height()) / 2, image);
        } else {
            painter.drawImage(4, (height() - image.height()) / 2, image);
            captionArea.setLeft(4 + image.width() + 2);
        }
        painter.restore();
    }
    if (owner_.HasMenu() != 0) {
        const qreal x = width() - 9.5, y = height() / 2.0 - 1.5;
        QPainterPath arrow;
        arrow.moveTo(x, y);
        arrow.lineTo(x + 6, y);
        arrow.lineTo(x + 3, y + 4);
        arrow.closeSubpath();
        painter.fillPath(arrow, QColor(40, 40, 40));
        captionArea.setRight(width() - 12);
    }
    painter.setPen(QPen(down ? QColor(70, 70, 70) : QColor(120, 120, 120), 1));
    painter.drawPath(outline);
    painter.setPen(isEnabled() ? QColor(20, 20, 20) : QColor(120, 120, 120));
    painter.setFont(font());
    const auto alignment = owner_.CaptionAlign() == 0 ? Qt::AlignLeft
        : owner_.CaptionAlign() == 2                  ? Qt::AlignRight
                                                      : Qt::AlignHCenter;
    painter.drawText(captionArea.adjusted(3, 0, -3, 0), alignment | Qt::AlignVCenter, ToQt(owner_.Caption()));
}

}  // namespace

BevelButton::BevelButton(Window& window) : TextStyleControl(window, std::make_unique<Widget>(new BevelView(*this))) {}

BevelButton::~BevelButton() = default;

const PropertyTable& BevelButton::Properties() const {
    static const PropertyTable table(
        {
            Prop("Caption", &BevelButton::Caption, &BevelButton::Caption),
            Prop("CaptionAlign", &BevelButton::CaptionAlign, &BevelButton::CaptionAlign),
            StoredProp("CaptionPlacement", std::int32_t{1}),
            StoredProp("CaptionDelta", std::int32_t{0}),
            Prop("IconAlign", &BevelButton::IconAlign, &BevelButton::IconAlign),
            StoredProp("IconDX", std::int32_t{0}),
            StoredProp("IconDY", std::int32_t{0}),
            Prop("Bevel", &BevelButton::Bevel, &BevelButton::Bevel),
            Prop("HasMenu", &BevelButton::HasMenu, &BevelButton::HasMenu),
            Prop("Value", &BevelButton::Value, &BevelButton::Value),
            Prop("MenuValue", &BevelButton::MenuValue, &BevelButton::MenuValue),
            Prop("ButtonType", &BevelButton::ButtonType, &BevelButton::ButtonType),
            Prop("AcceptFocus", &BevelButton::AcceptFocus, &BevelButton::AcceptFocus),
        },
        &FontProperties());
    return table;
}

void BevelButton::Repaint() { ViewOf(*this)->update(); }
void BevelButton::Caption(const std::string& caption) {
    caption_ = caption;
    Repaint();
}
void BevelButton::Icon(std::shared_ptr<Picture> picture) {
    icon_ = std::move(picture);
    Repaint();
}
void BevelButton::Value(bool on) {
    value_ = on;
    Repaint();
}
void BevelButton::ButtonType(int type) {
    buttonType_ = type;
    Repaint();
}
void BevelButton::HasMenu(int kind) {
    hasMenu_ = kind;
    Repaint();
}
void BevelButton::Bevel(int bevel) {
    bevel_ = bevel;
    Repaint();
}
void BevelButton::CaptionAlign(int align) {
    captionAlign_ = align;
    Repaint();
}
void BevelButton::IconAlign(int align) {
    iconAlign_ = align;
    Repaint();
}

// Only Tab gives it the keyboard: a click leaves the keyboard with the text
// the user was typing in.
void BevelButton::AcceptFocus(bool on) {
    acceptFocus_ = on;
    View().TakesFocus(on ? Qt::TabFocus : Qt::NoFocus);
}

void BevelButton::AddRow(const std::string& text) { rows_.push_back({text, false}); }
void BevelButton::AddSeparator() { rows_.push_back({{}, true}); }
void BevelButton::DeleteAllRows() { rows_.clear(); }

std::string BevelButton::List(int index) const {
    if (index < 0 || index >= ListCount()) return {};
    return rows_[static_cast<std::size_t>(index)].text;
}

const EventHandler* BevelButton::Handler(std::string_view event) const { return HandlerFor(event); }

void BevelButton::ChooseRow(int row) {
    if (row < 0 || row >= ListCount() || rows_[static_cast<std::size_t>(row)].separator) return;
    menuValue_ = row;
    RaisePlain("Action");
}

void BevelButton::ShowMenu() {
    auto* view = static_cast<BevelView*>(ViewOf(*this));
    QMenu menu;
    for (int i = 0; i < ListCount(); ++i) {
        const auto& row = rows_[static_cast<std::size_t>(i)];
        if (row.separator) {
            menu.addSeparator();
            continue;
        }
        auto* action = menu.addAction(ToQt(row.text));
        action->setData(i);
        if (i == menuValue_) {
            action->setCheckable(true);
            action->setChecked(true);
        }
    }
    view->pressed = true;
    view->update();
    const auto* chosen = menu.exec(view->mapToGlobal(QPoint(0, view->height())));
    view->pressed = false;
    view->update();
    if (chosen) ChooseRow(chosen->data().toInt());
    // The menu took the pointer: when it closed outside the button, the
    // pointer has left the button.
    if (!view->rect().contains(view->mapFromGlobal(QCursor::pos()))) RaisePlain("MouseExit");
}

void BevelButton::Press() {
    if (!Enabled()) return;
    if (RaiseMouse("MouseDown", 0, 0)) return;
    if (hasMenu_ != 0) {
        if (!rows_.empty()) ShowMenu();
        return;
    }
    if (buttonType_ == 1) Value(!value_);
    RaisePlain("Action");
}

bool BevelButton::Accepts(std::string_view event, const EventHandler& handler) const {
    if (event == "Action" || event == "MouseExit") return std::holds_alternative<PlainHandler>(handler);
    if (event == "MouseDown") return std::holds_alternative<MouseHandler>(handler);
    return RectControl::Accepts(event, handler);
}

}  // namespace fw
