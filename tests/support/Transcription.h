#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// The rows of a transcription in tests/data, each split at its tabs; lines
// that are empty or begin with # are left out.
inline std::vector<std::vector<std::string>> TranscribedRows(const std::string& file) {
    std::ifstream in(std::string(PLUMORA_TEST_DATA) + "/" + file);
    EXPECT_TRUE(in.good()) << "cannot read " << file;
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream row(line);
        rows.emplace_back();
        for (std::string cell; std::getline(row, cell, '\t');) rows.back().push_back(cell);
    }
    return rows;
}
