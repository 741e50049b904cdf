#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
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
