#include "framework/ui/Fonts.h"

#include "framework/qt/QtConvert.h"

#include <QFontDatabase>

namespace fw {

namespace {

// The families as a person knows them: one name for a family that several
// foundries make, which the toolkit lists once per foundry as "Name
// [foundry]", and without the generic names that fontconfig gives to
// whichever installed font stands in for them.
QStringList InstalledFamilies() {
    static const QStringList kGeneric{QStringLiteral("Serif"), QStringLiteral("Sans Serif"),
                                      QStringLiteral("Monospace")};
    QStringList names;
    for (QString family : QFontDatabase::families()) {
        const auto foundry = family.lastIndexOf(QStringLiteral(" ["));
        if (foundry > 0 && family.endsWith(QChar(']'))) family.truncate(foundry);
        // The toolkit lists a family's foundries side by side.
        if (kGeneric.contains(family) || (!names.isEmpty() && names.constLast() == family)) continue;
        names.append(family);
    }
    return names;
}

}  // namespace

int FontCount() { return static_cast<int>(InstalledFamilies().size()); }

std::string Font(int index) {
    const auto families = InstalledFamilies();
    if (index < 0 || index >= families.size()) return {};
    return FromQt(families[index]);
}

}  // namespace fw
