#include "framework/ui/Fonts.h"

#include "framework/qt/QtConvert.h"

#include <QFontDatabase>

namespace fw {

int FontCount() { return static_cast<int>(QFontDatabase::families().size()); }

std::string Font(int index) {
    const auto families = QFontDatabase::families();
    if (index < 0 || index >= families.size()) return {};
    return FromQt(families[index]);
}

}  // namespace fw
