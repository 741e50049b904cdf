#pragma once

#include "framework/model/PropertyValue.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// One entry of a start-value record: a property's key and its value.
struct RecordEntry {
    std::string key;
    PropertyValue value;

    bool operator==(const RecordEntry&) const = default;
};

// The byte format of a start-value record: for each entry, the key in ASCII
// letters, one blank, then the value: Int32 as 4 bytes big-endian, Boolean as
// one byte 0 or 1, Color as 3 bytes red, green, blue, String as a 4-byte
// big-endian length and that many bytes. Nothing stands between entries and
// nothing ends the record. Because a value does not say its width, reading
// needs the type of every key.
std::string EncodeRecord(const std::vector<RecordEntry>& entries);

using KeyTypes = std::function<std::optional<PropertyType>(std::string_view key)>;

// Throws PropertyRecordException naming the key when a key has no type or the
// record ends inside an entry.
std::vector<RecordEntry> DecodeRecord(std::string_view record, const KeyTypes& typeOf);

}  // namespace fw
