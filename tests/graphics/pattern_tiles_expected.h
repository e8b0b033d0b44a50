#pragma once
// The expected pattern tiles, read from the text art of
// pattern_tiles_art.inc: tile p - 1 for pattern p, eight row bytes each,
// most significant bit leftmost.
#include <array>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace expected {

using Tile = std::array<uint8_t, 8>;

struct PatternTiles {
    std::array<Tile, 64> tiles{};
    // Empty when the art reads as 64 tiles, else what is wrong with it.
    std::string fault;
};

inline PatternTiles patternTiles() {
    static const char kArt[] =
#include "pattern_tiles_art.inc"
        ;
    PatternTiles result;
    std::array<bool, 64> seen{};
    std::vector<int> band;  // pattern numbers of the columns being read
    int row = 8;
    std::istringstream lines(kArt);
    std::string line;
    for (int lineNumber = 1; std::getline(lines, line); ++lineNumber) {
        std::istringstream words(line);
        std::vector<std::string> tokens;
        for (std::string token; words >> token;) tokens.push_back(token);
        if (tokens.empty()) continue;
        const std::string where = "art line " + std::to_string(lineNumber) + ": ";
        if (tokens[0].find_first_not_of("0123456789") == std::string::npos) {
            if (row != 8) return {{}, where + "a band ends after " + std::to_string(row) + " rows"};
            band.clear();
            for (const std::string& number : tokens) {
                const int pattern = std::stoi(number);
                if (pattern < 1 || pattern > 64 || seen[pattern - 1]) return {{}, where + "pattern " + number};
                seen[pattern - 1] = true;
                band.push_back(pattern);
            }
            row = 0;
            continue;
        }
        if (row == 8 || tokens.size() != band.size()) return {{}, where + "a row outside a band of its width"};
        for (size_t column = 0; column < tokens.size(); ++column) {
            const std::string& bits = tokens[column];
            if (bits.size() != 8 || bits.find_first_not_of("#.") != std::string::npos)
                return {{}, where + "'" + bits + "' is not 8 of '#' and '.'"};
            uint8_t value = 0;
            for (char bit : bits) value = static_cast<uint8_t>(value << 1 | (bit == '#'));
            result.tiles[band[column] - 1][row] = value;
        }
        ++row;
    }
    for (size_t t = 0; t < seen.size(); ++t)
        if (!seen[t]) return {{}, "pattern " + std::to_string(t + 1) + " is not drawn"};
    if (row != 8) return {{}, "the last band ends early"};
    return result;
}

}  // namespace expected
