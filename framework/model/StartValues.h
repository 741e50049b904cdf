#pragma once

#include "framework/model/PropertyRecord.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A control as the window's control table gives it: its place, its locks
// (the letters L, T, R, B of its locked edges), its tab index (a rectangle has
// none) and the start values in which it differs from its class.
struct ControlStartValues {
    std::string_view name;
    std::string_view className;
    int left, top, width, height;
    std::string_view locks;
    std::optional<int> tabIndex;
    std::vector<fw::RecordEntry> values;
};

// Start-value entries, short so that the tables of start values read like the
// design: I an Int32, B a Boolean, C a colour written &hRRGGBB, S a string.
namespace startvalue {
inline fw::RecordEntry I(const char* key, std::int32_t value) { return {key, value}; }
inline fw::RecordEntry B(const char* key, bool value) { return {key, value}; }
inline fw::RecordEntry C(const char* key, std::uint32_t rgb) { return {key, fw::Color::FromRGB(rgb)}; }
inline fw::RecordEntry S(const char* key, std::string_view value = {}) { return {key, std::string(value)}; }
}  // namespace startvalue

// The keys of a control class with their start values, in the class's order.
const std::vector<fw::RecordEntry>& ClassStartValues(std::string_view className);

// The control's start-value record: every key of its class in the class's
// order, with the control's own values. Throws for a value whose key the
// class does not have, since the record would silently lose it.
std::string ControlRecord(const ControlStartValues& control);
