#pragma once

// Conversions between the framework's types and Qt's; private to the framework.

#include "framework/text/Color.h"

#include <QColor>
#include <QString>
#include <string>
#include <string_view>

namespace fw {

inline QString ToQt(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
inline std::string FromQt(const QString& text) { return text.toStdString(); }
inline QColor ToQt(Color c) { return QColor(c.red, c.green, c.blue); }
inline Color FromQt(const QColor& c) {
    return Color{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()), static_cast<std::uint8_t>(c.blue())};
}

}  // namespace fw
