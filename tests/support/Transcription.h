#pragma once

#include "framework/model/PropertyRecord.h"
#include "framework/model/PropertyValue.h"

#include <gtest/gtest.h>

#include <cstdint>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

// The bytes of a file, with a failure when it cannot be read.
inline std::string FileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    EXPECT_TRUE(in.good()) << "cannot read " << file;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The rows of a transcription in tests/data, each split at its tabs; lines
// that are empty or begin with # are left out.
inline std::vector<std::vector<std::string>> TranscribedRows(const std::string& file) {
    std::istringstream in(FileBytes(std::filesystem::path(PLUMORA_TEST_DATA) / file));
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream row(line);
        rows.emplace_back();
        for (std::string cell; std::getline(row, cell, '\t');) rows.back().push_back(cell);
    }
    return rows;
}

// A value as the transcriptions write it: "text" (\r written for a line
// break), true or false, &hRRGGBB for a colour, or a whole number.
inline fw::PropertyValue TranscribedValue(const std::string& text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        std::string quoted = text.substr(1, text.size() - 2);
        for (std::size_t at; (at = quoted.find("\\r")) != std::string::npos;) quoted.replace(at, 2, "\r");
        return quoted;
    }
    if (text == "true" || text == "false") return text == "true";
    if (text.starts_with("&h"))
        return fw::Color::FromRGB(static_cast<std::uint32_t>(std::stoul(text.substr(2), nullptr, 16)));
    return static_cast<std::int32_t>(std::stol(text));
}

// The KEY=VALUE cells of a transcribed row from the first on, in their order.
inline std::vector<fw::RecordEntry> TranscribedEntries(const std::vector<std::string>& cells, std::size_t from) {
    std::vector<fw::RecordEntry> entries;
    for (std::size_t i = from; i < cells.size(); ++i) {
        const auto equals = cells[i].find('=');
        entries.push_back({cells[i].substr(0, equals), TranscribedValue(cells[i].substr(equals + 1))});
    }
    return entries;
}

// The record read with the value types that the expected entries have.
inline std::vector<fw::RecordEntry> Decoded(const std::string& record, const std::vector<fw::RecordEntry>& expected) {
    return fw::DecodeRecord(record, [&](std::string_view key) -> std::optional<fw::PropertyType> {
        for (const auto& entry : expected)
            if (entry.key == key) return fw::TypeOf(entry.value);
        return std::nullopt;
    });
}
