#pragma once

#include <string>
#include <string_view>
#include <vector>

// The string functions of the framework. Strings are UTF-8; lengths and
// positions count Unicode code points and are 1-based where a position is
// asked for. No function ever splits a code point.
//
// Damaged UTF-8 never stops them: every byte that does not begin a
// well-formed sequence counts as one character of its own, equals only the
// same byte, and is passed through every function unchanged.
namespace fw {

// Number of code points.
long Len(std::string_view s);

// The code points from 1-based position start on (a start below 1 counts as
// 1); length < 0 means to the end. "" when start lies past the end.
std::string Mid(std::string_view s, long start, long length = -1);

// 1-based position of the first match of find in s at or after start (a
// start below 1 counts as 1), 0 when absent. Matching ignores case by
// Unicode simple case folding, one code point for one, so ß does not match
// "ss". An empty find is found at start when start names a character of s,
// so InStr("", "") is 0.
long InStr(std::string_view s, std::string_view find);
long InStr(long start, std::string_view s, std::string_view find);

// The character of a code point; "" for a value that is no code point
// (negative, a surrogate, or above U+10FFFF). Chr(0) is one NUL byte.
std::string Chr(long codePoint);

// The number at the start of s: leading blanks skipped, then an optional
// sign and either a decimal number with optional fraction and exponent, or
// &h hex, &o octal or &b binary digits. Reading stops at the first character
// that does not fit; 0 when there is no number.
double Val(std::string_view s);

// The shortest decimal text that reads back as the same number. Whole
// numbers below 10^15 in size are written as plain integers ("12", "-3");
// other numbers take whichever of plain or exponent form ("1.5e+20",
// "1e-05") is shorter. Non-numbers are "NaN", "Inf" and "-Inf".
std::string Str(double value);

// Full Unicode case mapping: "ß" upper-cases to "SS", and Σ lower-cases to
// the final form ς at the end of a word.
std::string Uppercase(std::string_view s);
std::string Lowercase(std::string_view s);
// Every word's first letter in title case, its other letters lower case. A
// word is a run of letters, numbers, marks and apostrophes (' and U+2019),
// so a letter that follows an apostrophe or a digit starts no word: "don't
// stop" gives "Don't Stop", "o'neill" "O'neill", "'n'" stays and "1st" too.
std::string Titlecase(std::string_view s);

// The pieces between occurrences of delimiter, matched exactly, empty pieces
// included; there is always at least one piece, so Split("", ",") is {""}.
// With an empty delimiter, one piece per character as a reader sees it: a
// letter with its combining marks, a whole emoji sequence, a flag, CR LF.
std::vector<std::string> Split(std::string_view s, std::string_view delimiter);
std::string Join(const std::vector<std::string>& pieces, std::string_view delimiter);

// Equality and ordering that ignore case by Unicode simple case folding.
// The ordering is by folded code point; CompareIgnoringCase returns -1, 0 or 1.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
int CompareIgnoringCase(std::string_view a, std::string_view b);

}  // namespace fw
