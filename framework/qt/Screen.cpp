#include "framework/ui/Screen.h"

#include "framework/qt/ScreenArea.h"

#include <QGuiApplication>
#include <QScreen>

namespace fw {

std::optional<QRect>& MainAvailableAreaOverride() {
    static std::optional<QRect> area;
    return area;
}

QRect AvailableArea(int index) {
    if (index == 0 && MainAvailableAreaOverride()) return *MainAvailableAreaOverride();
    // The main screen comes first, the others in the toolkit's order.
    auto screens = QGuiApplication::screens();
    if (auto* main = QGuiApplication::primaryScreen(); main && screens.removeOne(main)) screens.prepend(main);
    if (index < 0 || index >= screens.size()) return {};
    const QScreen* screen = screens.at(index);
    return screen ? screen->availableGeometry() : QRect();
}

int Screen::AvailableLeft() const { return AvailableArea(index_).x(); }
int Screen::AvailableTop() const { return AvailableArea(index_).y(); }
int Screen::AvailableWidth() const { return AvailableArea(index_).width(); }
int Screen::AvailableHeight() const { return AvailableArea(index_).height(); }

}  // namespace fw
