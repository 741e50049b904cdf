#include "framework/ui/PushButton.h"

#include "framework/qt/QtConvert.h"
#include "framework/qt/RuntimeState.h"
#include "framework/qt/WindowFrame.h"

#include <QPushButton>

namespace fw {

namespace {
QPushButton* Button(const PushButton& button) { return static_cast<QPushButton*>(ViewOf(button)); }
}  // namespace

PushButton::PushButton(Window& window) : TextStyleControl(window, std::make_unique<Widget>(new QPushButton)) {
    QObject::connect(Button(*this), &QPushButton::clicked, [this] { Guarded([this] { RaisePlain("Action"); }); });
}

const PropertyTable& PushButton::Properties() const {
    static const PropertyTable table(
        {
            Prop("Caption", &PushButton::Caption, &PushButton::Caption),
            Prop("Default", &PushButton::Default, &PushButton::Default),
            Prop("Cancel", &PushButton::Cancel, &PushButton::Cancel),
        },
        &FontProperties());
    return table;
}

std::string PushButton::Caption() const { return FromQt(Button(*this)->text()); }
void PushButton::Caption(const std::string& caption) { Button(*this)->setText(ToQt(caption)); }

void PushButton::Default(bool on) {
    default_ = on;
    Button(*this)->setDefault(on);
}

void PushButton::Push() {
    if (Enabled()) Button(*this)->click();
}

bool PushButton::Accepts(std::string_view event, const EventHandler& handler) const {
    if (event == "Action") return std::holds_alternative<PlainHandler>(handler);
    return RectControl::Accepts(event, handler);
}

}  // namespace fw
