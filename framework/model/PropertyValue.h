#pragma once

#include "framework/text/Color.h"

#include <cstdint>
#include <string>
#include <variant>

namespace fw {

enum class PropertyType { Int32, Boolean, Color, String };

// A property's value; the alternative's index follows PropertyType.
using PropertyValue = std::variant<std::int32_t, bool, Color, std::string>;

inline PropertyType TypeOf(const PropertyValue& value) { return static_cast<PropertyType>(value.index()); }

}  // namespace fw
