#pragma once

// Conversions between the framework's types and Qt's; private to the framework.

#include "framework/text/Color.h"
#include "framework/text/Utf8.h"

#include <QColor>
#include <QString>
#include <string>
#include <string_view>

namespace fw {

// Damaged bytes read by the framework's one rule, one U+FFFD each.
inline QString ToQt(std::string_view text) {
    QString result(static_cast<qsizetype>(text.size()), Qt::Uninitialized);
    result.truncate(static_cast<qsizetype>(utf8::ToUtf16(text, reinterpret_cast<char16_t*>(result.data()))));
    return result;
}
inline std::string FromQt(const QString& text) { return text.toStdString(); }
inline QColor ToQt(Color c) { return QColor(c.red, c.green, c.blue); }
inline Color FromQt(const QColor& c) {
    return Color{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                 static_cast<std::uint8_t>(c.blue())};
}

}  // namespace fw
