#include "framework/ui/Date.h"

#include "framework/qt/QtConvert.h"

#include <QDateTime>
#include <QLocale>

#include <cstdlib>

namespace fw {

namespace {

Date::Clock& CurrentClock() {
    static Date::Clock clock;
    return clock;
}

// The locale for times and dates by the POSIX order of precedence. The
// toolkit's own system locale is read once at start; this follows a change.
QLocale TimeLocale() {
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* name = std::getenv(variable);
        if (name && *name) return QLocale(QString::fromLocal8Bit(name));
    }
    return QLocale::c();
}

QDateTime LocalTime(std::chrono::system_clock::time_point moment) {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(moment.time_since_epoch()).count();
    return QDateTime::fromMSecsSinceEpoch(ms);
}

}  // namespace

Date::Date() : moment_(CurrentClock() ? CurrentClock()() : std::chrono::system_clock::now()) {}

std::string Date::LongDate() const {
    return FromQt(TimeLocale().toString(LocalTime(moment_).date(), QLocale::LongFormat));
}

// Formatted with the whole date and time, so that the zone has a name.
std::string Date::LongTime() const {
    const QLocale locale = TimeLocale();
    return FromQt(locale.toString(LocalTime(moment_), locale.timeFormat(QLocale::LongFormat)));
}

void Date::SetClock(Clock clock) { CurrentClock() = std::move(clock); }

}  // namespace fw
