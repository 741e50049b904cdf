#include "ToolbarTables.h"

namespace {

// "12", "13" and "14" first, the separators, then every size from 3 to 100
// and the tens from 110 to 210.
// clang-format off
constexpr std::string_view kSizeRows[] = {
    "12", "13", "14", "-", "-", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16", "17",
    "18", "19", "20", "21", "22", "23", "24", "25", "26", "27", "28", "29", "30", "31", "32", "33", "34", "35", "36",
    "37", "38", "39", "40", "41", "42", "43", "44", "45", "46", "47", "48", "49", "50", "51", "52", "53", "54", "55",
    "56", "57", "58", "59", "60", "61", "62", "63", "64", "65", "66", "67", "68", "69", "70", "71", "72", "73", "74",
    "75", "76", "77", "78", "79", "80", "81", "82", "83", "84", "85", "86", "87", "88", "89", "90", "91", "92", "93",
    "94", "95", "96", "97", "98", "99", "100", "110", "120", "130", "140", "150", "160", "170", "180", "190", "200",
    "210",
};
// clang-format on

// The rows of the background-colour menu, in order.
// clang-format off
constexpr BackgroundColor kBackgroundColors[] = {
    {"Default", fw::Color::FromRGB(0xB6B3FF)},
    {"Gray", fw::Color::FromRGB(0xC8C8C8)},
    {"Pink", fw::Color::FromRGB(0xFFB5FA)},
    {"Blue", fw::Color::FromRGB(0x87B1FF)},
    {"Orange", fw::Color::FromRGB(0xFFD196)},
    {"Green", fw::Color::FromRGB(0xC0FFB4)},
    {"Yellow", fw::Color::FromRGB(0xF9FF97)},
    {"Dark Gray", fw::Color::FromRGB(0x5F5F5F)},
    {"White", fw::Color::FromRGB(0xFFFFFF)},
    {"Red", fw::Color::FromRGB(0xFFAFBD)},
    {"Black", fw::Color::FromRGB(0x000000)},
};
// clang-format on

}  // namespace

std::span<const std::string_view> SizeMenuRows() { return kSizeRows; }
std::span<const BackgroundColor> BackgroundColors() { return kBackgroundColors; }
