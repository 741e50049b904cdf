#include "framework/text/Strings.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

using Pieces = std::vector<std::string>;

// Characters spelled out once so the tables below stay readable.
const std::string kAcute = "\u0301";                    // combining acute accent
const std::string kDecomposedE = "e" + kAcute;          // é as two code points
const std::string kFamily = "\U0001F468\u200D\U0001F469\u200D\U0001F467";  // man ZWJ woman ZWJ girl
const std::string kFlagDE = "\U0001F1E9\U0001F1EA";
const std::string kFlagFR = "\U0001F1EB\U0001F1F7";
const std::string kGrin = "\U0001F600";
const std::string kThumbMedium = "\U0001F44D\U0001F3FD";  // thumbs up with skin tone
const std::string kKeycapOne = "1\uFE0F\u20E3";
const std::string kRainbowFlag = "\U0001F3F3\uFE0F\u200D\U0001F308";
const std::string kFinalSigma = "\u03C2";

// ---------------------------------------------------------------------------

TEST(StringsLen, CountsCodePoints) {
  struct Case { std::string s; long expected; };
  const std::vector<Case> cases = {
      {"", 0}, {"abc", 3}, {"\u00E9", 1}, {kDecomposedE, 2}, {"日本語", 3}, {kGrin, 1}, {kFamily, 5}, {kFlagDE, 2},
      {std::string("a\0b", 3), 3},
      {"abcdefgh\u00E9", 9},          // leaves the eight-byte ASCII stride mid-way
      {"abcdefghijklmnop" + kGrin, 17}, {"\U0010FFFF", 1},
  };
  for (const auto& c : cases) EXPECT_EQ(fw::Len(c.s), c.expected) << c.s;
}

TEST(StringsLen, CountsEachDamagedByteAsOneCharacter) {
  struct Case { std::string s; long expected; const char* why; };
  const std::vector<Case> cases = {
      {"\xFF", 1, "byte that never occurs in UTF-8"},
      {"a\xE2\x82", 3, "three-byte sequence cut short"},
      {"\xF0\x9F\x98", 3, "four-byte sequence cut short"},
      {"\xC0\x80", 2, "overlong NUL"},
      {"\xE0\x80\xAF", 3, "overlong slash"},
      {"\xED\xA0\x80", 3, "encoded surrogate"},
      {"\xF4\x90\x80\x80", 4, "above U+10FFFF"},
      {"\x80\x80", 2, "stray continuation bytes"},
      {"\xE2\x82\xAC\x82", 2, "euro sign followed by a stray continuation byte"},
      {"abcdefg\xFF" "abcdefgh", 16, "damage inside the ASCII stride"},
  };
  for (const auto& c : cases) EXPECT_EQ(fw::Len(c.s), c.expected) << c.why;
}

// The bytes of s that stand as characters of their own.
std::string damagedBytes(const std::string& s) {
  std::string bytes;
  for (const auto& piece : fw::Split(s, "")) {
    if (piece.size() == 1 && static_cast<unsigned char>(piece[0]) >= 0x80) bytes += piece;
  }
  return bytes;
}

TEST(StringsArbitraryBytes, KeepInvariantsOnRandomInput) {
  // Bytes drawn mostly from those that make up multi-byte sequences, so that
  // well-formed, cut-short and stray sequences all turn up.
  const std::string alphabet = "aZ \x80\x82\xA9\xBF\xC3\xCE\xE2\xED\xF0\xF4\x9F\x87\xFF";
  std::mt19937 random(20240611);
  for (int round = 0; round < 2000; ++round) {
    std::string s;
    const int size = int(random() % 24);
    for (int i = 0; i < size; ++i) s += alphabet[random() % alphabet.size()];
    SCOPED_TRACE(::testing::PrintToString(s));
    const long n = fw::Len(s);
    EXPECT_EQ(fw::Mid(s, 1), s);
    const Pieces characters = fw::Split(s, "");
    EXPECT_EQ(fw::Join(characters, ""), s);
    long counted = 0;
    for (const auto& piece : characters) counted += fw::Len(piece);
    EXPECT_EQ(counted, n);
    const Pieces byStray = fw::Split(s, "\x82");
    EXPECT_EQ(fw::Join(byStray, "\x82"), s);
    for (long k = 1; k <= n; ++k) {
      EXPECT_EQ(fw::Len(fw::Mid(s, k, 1)), 1);
      const long found = fw::InStr(s, fw::Mid(s, k, 2));
      EXPECT_GE(found, 1);
      EXPECT_LE(found, k);
    }
    // Case mapping passes damaged bytes through, in order and unchanged.
    const std::string damaged = damagedBytes(s);
    EXPECT_EQ(damagedBytes(fw::Uppercase(s)), damaged);
    EXPECT_EQ(damagedBytes(fw::Lowercase(s)), damaged);
    EXPECT_EQ(damagedBytes(fw::Titlecase(s)), damaged);
  }
}

// ---------------------------------------------------------------------------

TEST(StringsMid, TakesCodePointsFromOneBasedStart) {
  struct Case { std::string s; long start; long length; std::string expected; };
  const std::vector<Case> cases = {
      {"abcdef", 1, -1, "abcdef"}, {"abcdef", 3, -1, "cdef"}, {"abcdef", 3, 2, "cd"}, {"abcdef", 6, 5, "f"},
      {"abcdef", 7, -1, ""}, {"abcdef", 100, 1, ""}, {"abcdef", 0, 2, "ab"}, {"abcdef", -4, 2, "ab"},
      {"abcdef", 2, 0, ""}, {"", 1, -1, ""}, {"日本語", 2, 1, "本"}, {"日本語", 2, -1, "本語"},
      {"a" + kGrin + "b", 2, 1, kGrin}, {"a" + kGrin + "b", 3, -1, "b"}, {kDecomposedE + "x", 2, 1, kAcute},
      {kFamily, 2, 1, "\u200D"}, {"0123456789abcdef\u00E9z", 17, -1, "\u00E9z"},
      {"a\xFF" "b\xE2\x82" "c", 2, 1, "\xFF"},  // damaged bytes stay as they are
      {"a\xFF" "b\xE2\x82" "c", 3, 2, "b\xE2"}, {"a\xFF" "b\xE2\x82" "c", 5, -1, "\x82" "c"},
  };
  for (const auto& c : cases) EXPECT_EQ(fw::Mid(c.s, c.start, c.length), c.expected) << c.s << " from " << c.start;
}

TEST(StringsMid, PiecesTogetherRebuildTheText) {
  const std::string s = "x" + kFamily + "\u00E9" + kDecomposedE + "\xFF" "日" + kFlagDE;
  const long n = fw::Len(s);
  for (long split = 1; split <= n + 1; ++split) {
    SCOPED_TRACE(split);
    EXPECT_EQ(fw::Mid(s, 1, split - 1) + fw::Mid(s, split), s);
    EXPECT_EQ(fw::Len(fw::Mid(s, split)), n - split + 1);
  }
}

// ---------------------------------------------------------------------------

struct InStrCase { long start; std::string s; std::string find; long expected; const char* why; };

void checkInStr(const std::vector<InStrCase>& cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.why) + ": InStr(" + std::to_string(c.start) + ", \"" + c.s + "\", \"" +
                 c.find + "\")");
    EXPECT_EQ(fw::InStr(c.start, c.s, c.find), c.expected);
    if (c.start == 1) {
      EXPECT_EQ(fw::InStr(c.s, c.find), c.expected);
    }
  }
}

TEST(StringsInStr, FindsPositionsInCodePoints) {
  checkInStr({
      {1, "abc", "b", 2, "plain"},
      {1, "abc", "d", 0, "absent"},
      {1, "abc", "abcd", 0, "longer than the text"},
      {1, "abcabc", "c", 3, "first of two"},
      {4, "abcabc", "c", 6, "from a later start"},
      {6, "abcabc", "c", 6, "start on the match"},
      {7, "abcabc", "c", 0, "start past the end"},
      {0, "abc", "a", 1, "start below one"},
      {-5, "abc", "c", 3, "negative start"},
      {1, "日本語", "語", 3, "CJK"},
      {1, "a" + kGrin + "b", "b", 3, "after an emoji"},
      {1, "x" + kFamily + "y", "y", 7, "after a ZWJ sequence of five code points"},
      {1, "x" + kFamily + "y", "\U0001F469", 4, "inside a ZWJ sequence"},
      {1, kDecomposedE, kAcute, 2, "a combining mark on its own"},
      {1, "aaab", "aab", 2, "overlapping false start"},
      {1, "abababac", "ababac", 3, "repeating pattern"},
      {1, "abababab", "ababac", 0, "repeating pattern absent"},
  });
}

TEST(StringsInStr, EmptyFindIsFoundAtStartWithinTheText) {
  checkInStr({
      {1, "abc", "", 1, "from the beginning"},
      {3, "abc", "", 3, "at the last character"},
      {4, "abc", "", 0, "past the end"},
      {1, "", "", 0, "empty text has no position"},
      {0, "abc", "", 1, "start below one"},
  });
}

TEST(StringsInStr, IgnoresCaseBySimpleFolding) {
  checkInStr({
      {1, "HeLLo", "llO", 3, "ASCII"},
      {1, "Stra\u00DFe", "SSE", 0, "sharp s does not expand"},
      {1, "Stra\u00DFe", "\u00DF", 5, "sharp s matches itself"},
      {1, "STRA\u1E9EE", "stra\u00DFe", 1, "capital sharp s folds to sharp s"},
      {1, "\u03A3\u0391\u03A3", "\u03C3\u03B1" + kFinalSigma, 1, "final sigma folds to sigma"},
      {1, "\u01C5", "\u01C6", 1, "title-case digraph"},
      {1, "\u01C4", "\u01C5", 1, "upper- and title-case digraph"},
      {1, "\u00C9COLE", "\u00E9cole", 1, "precomposed accented capital"},
      {1, "kelvin", "\u212A", 1, "Kelvin sign folds to k"},
      {1, "MASS", "\u017F", 3, "long s folds to s"},
      {1, "x\U00010400y", "\U00010428", 2, "Deseret, outside the BMP"},
      {1, "ab\u0130c", "i", 0, "capital I with dot has no simple folding to i"},
  });
}

TEST(StringsInStr, DamagedBytesMatchOnlyThemselves) {
  checkInStr({
      {1, "a\xFF" "b", "b", 3, "position counts the damaged byte"},
      {1, "a\xFF" "b", "\xFF", 2, "the same damaged byte"},
      {1, "a\xFF" "b", "\xFE", 0, "a different damaged byte"},
      {1, "a\xFF" "b", "\uFFFD", 0, "the replacement character is a real character"},
      {1, "\xE2\x82" "x", "x", 3, "after a cut-short sequence"},
      {1, "\u20AC", "\x82", 0, "a byte inside a character is no match"},
      {1, "\xE2\x82\xAC\x82", "\x82", 2, "a stray byte after a character"},
  });
}

// ---------------------------------------------------------------------------

TEST(StringsChr, EncodesCodePoints) {
  struct Case { long cp; std::string expected; };
  const std::vector<Case> cases = {
      {65, "A"}, {0, std::string(1, '\0')}, {0x7F, "\x7F"}, {0x80, "\xC2\x80"}, {0xE9, "\u00E9"},
      {0x7FF, "\xDF\xBF"}, {0x800, "\xE0\xA0\x80"}, {0x20AC, "\u20AC"}, {0xD7FF, "\xED\x9F\xBF"},
      {0xE000, "\xEE\x80\x80"}, {0xFFFF, "\xEF\xBF\xBF"}, {0x10000, "\xF0\x90\x80\x80"}, {0x1F600, kGrin},
      {0x10FFFF, "\xF4\x8F\xBF\xBF"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cp);
    EXPECT_EQ(fw::Chr(c.cp), c.expected);
    EXPECT_EQ(fw::Len(fw::Chr(c.cp)), 1);
  }
}

TEST(StringsChr, GivesEmptyForValuesThatAreNoCodePoint) {
  for (long cp : {-1L, LONG_MIN, 0xD800L, 0xDBFFL, 0xDC00L, 0xDFFFL, 0x110000L, 0x7FFFFFFFL, LONG_MAX})
    EXPECT_EQ(fw::Chr(cp), "") << cp;
}

// ---------------------------------------------------------------------------

TEST(StringsVal, ReadsTheLeadingNumber) {
  struct Case { std::string s; double expected; };
  const std::vector<Case> cases = {
      {"12", 12}, {"  12abc", 12}, {"\t\n-3.5", -3.5}, {"+.5", 0.5}, {"-.25x", -0.25}, {"5.", 5}, {"007", 7},
      {"1e3", 1000}, {"1E-2", 0.01}, {"2.5e+2", 250}, {"2e", 2}, {"2e+", 2}, {"2ex", 2}, {"1.2.3", 1.2},
      {"1,5", 1}, {"0x10", 0}, {"0.1", 0.1},
      {"123456789012345678901234567890", 123456789012345678901234567890.0}, {"abc", 0}, {"", 0}, {"   ", 0},
      {"-", 0}, {".", 0}, {"-.e5", 0}, {"- 5", 0},
      {"\u0661\u0662", 0},  // Arabic-Indic digits are no decimal digits here
      {"&hFF", 255}, {"&HfF", 255}, {"&h10zz", 16}, {"&h", 0}, {"&hG", 0}, {"&o17", 15}, {"&O778", 63},
      {"&o8", 0}, {"&b1011", 11}, {"&B102", 2}, {"-&h10", -16}, {" &h1F", 31}, {"&x10", 0}, {"&", 0},
      {"&hFFFFFFFFFFFFFFFF", 18446744073709551615.0},
  };
  for (const auto& c : cases) EXPECT_EQ(fw::Val(c.s), c.expected) << c.s;
}

TEST(StringsVal, OverflowGivesInfinityUnderflowZeroAndNeverNegativeZero) {
  EXPECT_EQ(fw::Val("1e400"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(fw::Val("-1e400"), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(fw::Val("0.00000000001e-400"), 0.0);
  EXPECT_EQ(fw::Val("1e-400"), 0.0);
  EXPECT_EQ(fw::Val("1e99999999999999999999"), std::numeric_limits<double>::infinity());
  for (const char* s : {"-0", "-&h", "-", "-0.0e5"}) {
    SCOPED_TRACE(s);
    const double v = fw::Val(s);
    EXPECT_EQ(v, 0.0);
    EXPECT_FALSE(std::signbit(v));
  }
}

// ---------------------------------------------------------------------------

TEST(StringsStr, WritesShortestText) {
  struct Case { double value; std::string expected; };
  const std::vector<Case> cases = {
      {0, "0"}, {-0.0, "0"}, {12, "12"}, {-3, "-3"}, {1000000, "1000000"}, {999999999999999, "999999999999999"},
      {-999999999999999, "-999999999999999"}, {1e15, "1e+15"}, {1e21, "1e+21"}, {0.1, "0.1"}, {1.5, "1.5"},
      {-2.25, "-2.25"}, {123456.789, "123456.789"}, {1.0 / 3.0, "0.3333333333333333"},
      {0.1 + 0.2, "0.30000000000000004"}, {1.5e20, "1.5e+20"}, {1e-5, "1e-05"}, {0.001, "0.001"},
      {1e100, "1e+100"}, {5e-324, "5e-324"}, {std::numeric_limits<double>::quiet_NaN(), "NaN"},
      {std::numeric_limits<double>::infinity(), "Inf"}, {-std::numeric_limits<double>::infinity(), "-Inf"},
  };
  for (const auto& c : cases) EXPECT_EQ(fw::Str(c.value), c.expected) << c.expected;
}

TEST(StringsStr, ReadsBackThroughValExactly) {
  const std::vector<double> values = {
      0.1, -0.7, 1.0 / 3.0, 2.0 / 3.0, 1e-300, 123456789.123456789, 4503599627370497.0,
      9007199254740993.0, DBL_MAX, -DBL_MAX, DBL_MIN, DBL_TRUE_MIN, 3.141592653589793,
      -2.718281828459045e-10, 6.02214076e23, 42, -1,
  };
  for (double v : values) EXPECT_EQ(fw::Val(fw::Str(v)), v) << fw::Str(v);
}

// ---------------------------------------------------------------------------

struct CaseMapping { std::string in; std::string expected; };

void checkMapping(std::string (*map)(std::string_view), const std::vector<CaseMapping>& cases) {
  for (const auto& c : cases) EXPECT_EQ(map(c.in), c.expected) << c.in;
}

TEST(StringsUppercase, MapsFullUnicode) {
  checkMapping(fw::Uppercase, {
      {"hello World 123", "HELLO WORLD 123"}, {"stra\u00DFe", "STRASSE"}, {"\uFB01ne", "FINE"},
      {"\u01C6", "\u01C4"}, {"\u01C5", "\u01C4"}, {"\u1FB3", "\u0391\u0399"},
      {"\u00E9" + kDecomposedE, "\u00C9E" + kAcute}, {kFinalSigma + "\u03C3", "\u03A3\u03A3"},
      {"\U00010428", "\U00010400"}, {kGrin + "a" + kFamily, kGrin + "A" + kFamily},
      {"\xEF\xBB\xBF" "abc", "\xEF\xBB\xBF" "ABC"},  // a leading byte order mark stays
      {std::string("a\0b", 3), std::string("A\0B", 3)}, {"", ""},
  });
}

TEST(StringsLowercase, MapsFullUnicodeWithFinalSigmaAtWordEnds) {
  checkMapping(fw::Lowercase, {
      {"HELLO World 123", "hello world 123"}, {"\u00C0\u00C9\u00CE", "\u00E0\u00E9\u00EE"},
      {"\u0130", "i\u0307"}, {"\u01C5", "\u01C6"}, {"\U00010400", "\U00010428"},
      {"\xEF\xBB\xBF" "ABC", "\xEF\xBB\xBF" "abc"}, {"", ""},
      // Sigma at the end of a word becomes final sigma.
      {"\u039F\u0394\u039F\u03A3", "\u03BF\u03B4\u03BF" + kFinalSigma},
      {"\u03A3\u0391\u03A3 \u0391\u03A3\u0391", "\u03C3\u03B1" + kFinalSigma + " \u03B1\u03C3\u03B1"},
      {"\u0391\u03A3.", "\u03B1" + kFinalSigma + "."},
      {"\u0391\u03A3" + kAcute, "\u03B1" + kFinalSigma + kAcute}, {"\u03A3", "\u03C3"},
      {" \u03A3 ", " \u03C3 "}, {"\u0391\u03A3\u0301\u0392", "\u03B1\u03C3\u0301\u03B2"},
  });
}

TEST(StringsTitlecase, CapitalisesTheFirstLetterOfEveryWord) {
  checkMapping(fw::Titlecase, {
      {"hello wORLD", "Hello World"}, {"  two  spaces  ", "  Two  Spaces  "},
      {"hello-world foo_bar a/b", "Hello-World Foo_Bar A/B"}, {"don't STOP", "Don't Stop"},
      {"it\u2019s", "It\u2019s"}, {"'hello'", "'hello'"}, {"rock 'n' roll", "Rock 'n' Roll"}, {"o'NEILL", "O'neill"},
      {"1st PLACE 3RD", "1st Place 3rd"}, {"\u00E9LAN vital", "\u00C9lan Vital"},
      {kDecomposedE + "COLE", "E" + kAcute + "cole"}, {"stra\u00DFe", "Stra\u00DFe"}, {"\u00DFa", "Ssa"},
      {"\uFB01NE", "Fine"}, {"\u01C6ungla \u01C4UNGLA", "\u01C5ungla \u01C5ungla"}, {"\u0149", "\u02BCN"},
      {"\u1FB3", "\u1FBC"}, {"\u1FB2", "\u1FBA\u0345"}, {"\u0130STANBUL", "\u0130stanbul"},
      {"\u039F\u0394\u039F\u03A3 \u039F\u03A3", "\u039F\u03B4\u03BF" + kFinalSigma + " \u039F" + kFinalSigma},
      {"日本 語", "日本 語"}, {kGrin + "smile", kGrin + "Smile"}, {"", ""},
  });
}

TEST(StringsCaseMapping, PassesDamagedBytesThrough) {
  const std::string s = "aB\xFF" "cD\xC0\x80" "eF\xED\xA0\x80" "gh";
  EXPECT_EQ(fw::Uppercase(s), "AB\xFF" "CD\xC0\x80" "EF\xED\xA0\x80" "GH");
  EXPECT_EQ(fw::Lowercase(s), "ab\xFF" "cd\xC0\x80" "ef\xED\xA0\x80" "gh");
  // A damaged byte is not part of a word.
  EXPECT_EQ(fw::Titlecase(s), "Ab\xFF" "Cd\xC0\x80" "Ef\xED\xA0\x80" "Gh");
}

// ---------------------------------------------------------------------------

struct SplitCase { std::string s; std::string delimiter; Pieces expected; };

void checkSplit(const std::vector<SplitCase>& cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE("Split(\"" + c.s + "\", \"" + c.delimiter + "\")");
    const Pieces pieces = fw::Split(c.s, c.delimiter);
    EXPECT_EQ(pieces, c.expected);
    EXPECT_EQ(fw::Join(pieces, c.delimiter), c.s);
  }
}

TEST(StringsSplit, CutsAtEveryDelimiter) {
  checkSplit({
      {"a b c", " ", {"a", "b", "c"}}, {"a  b", " ", {"a", "", "b"}}, {"", " ", {""}}, {" ", " ", {"", ""}},
      {"abc", ",", {"abc"}}, {"a::b::", "::", {"a", "b", ""}}, {"aaa", "aa", {"", "a"}},
      {"aXbxc", "x", {"aXb", "c"}}, {"\u00C9t\u00E9", "\u00E9", {"\u00C9t", ""}}, {"日本語", "本", {"日", "語"}},
      {"a" + kGrin + "b" + kGrin, kGrin, {"a", "b", ""}},
      {"line1\r\nline2\r\n", "\r\n", {"line1", "line2", ""}},
  });
}

TEST(StringsSplit, NeverCutsInsideACharacter) {
  checkSplit({
      {"a\u20ACb", "\x82", {"a\u20ACb"}}, {"a\x82" "b", "\x82", {"a", "b"}},
      {"\u20AC\x82\u20AC", "\x82", {"\u20AC", "\u20AC"}},
      {"\xF0\x9F\x98\x80\x80", "\x80", {"\xF0\x9F\x98\x80", ""}}, {"\u00E9", "\xA9", {"\u00E9"}},
  });
}

TEST(StringsSplit, EmptyDelimiterGivesCharactersAsReadersSeeThem) {
  checkSplit({
      {"abc", "", {"a", "b", "c"}}, {"", "", {""}}, {kDecomposedE + "x", "", {kDecomposedE, "x"}},
      {"a\u0308\u0301b", "", {"a\u0308\u0301", "b"}}, {kFamily, "", {kFamily}},
      {"a" + kFamily + "b", "", {"a", kFamily, "b"}}, {kFlagDE + kFlagFR, "", {kFlagDE, kFlagFR}},
      {kFlagDE + "\U0001F1EB", "", {kFlagDE, "\U0001F1EB"}}, {kGrin + kFlagDE, "", {kGrin, kFlagDE}},
      {kFamily + kFlagDE + kFlagFR, "", {kFamily, kFlagDE, kFlagFR}},
      {kGrin + kGrin + kFlagDE + "x", "", {kGrin, kGrin, kFlagDE, "x"}},
      {kGrin + kFlagDE + kFlagFR + kFlagDE, "", {kGrin, kFlagDE, kFlagFR, kFlagDE}},
      {kGrin + kFlagDE + "\U0001F1EB", "", {kGrin, kFlagDE, "\U0001F1EB"}},
      {kGrin + kFlagDE + "\U0001F1EB" + kAcute, "", {kGrin, kFlagDE, "\U0001F1EB" + kAcute}},
      {kThumbMedium + kKeycapOne + kRainbowFlag, "", {kThumbMedium, kKeycapOne, kRainbowFlag}},
      {"a\r\nb", "", {"a", "\r\n", "b"}}, {"\n\r", "", {"\n", "\r"}},
      {"\uD55C\u1100\u1161\u11A8", "", {"\uD55C", "\u1100\u1161\u11A8"}},
      {"\xEF\xBB\xBF" "a", "", {"\xEF\xBB\xBF", "a"}},
  });
}

TEST(StringsSplit, EmptyDelimiterKeepsDamagedBytesApart) {
  checkSplit({
      {"a\xFF" "b", "", {"a", "\xFF", "b"}}, {"\xE2\x82" + kAcute, "", {"\xE2", "\x82", kAcute}},
      {kDecomposedE + "\xC0\x80", "", {kDecomposedE, "\xC0", "\x80"}},
  });
}

TEST(StringsJoin, PutsTheDelimiterBetweenPieces) {
  EXPECT_EQ(fw::Join({}, ","), "");
  EXPECT_EQ(fw::Join({""}, ","), "");
  EXPECT_EQ(fw::Join({"", ""}, ","), ",");
  EXPECT_EQ(fw::Join({"a"}, ","), "a");
  EXPECT_EQ(fw::Join({"a", "", "b"}, ", "), "a, , b");
  EXPECT_EQ(fw::Join({"日", "語"}, kGrin), "日" + kGrin + "語");
}

// ---------------------------------------------------------------------------

TEST(StringsCompareIgnoringCase, FoldsCaseOneCodePointAtATime) {
  struct Case { std::string a; std::string b; int expected; const char* why; };
  const std::vector<Case> cases = {
      {"Hello", "hELLO", 0, "ASCII"},
      {"", "", 0, "both empty"},
      {"Stra\u00DFe", "STRASSE", 1, "sharp s does not expand, and sorts after s"},
      {"STRA\u1E9EE", "stra\u00DFe", 0, "capital sharp s"},
      {"\u03A3\u0391\u03A3", "\u03C3\u03B1" + kFinalSigma, 0, "final sigma"},
      {"\u01C4", "\u01C5", 0, "digraph in upper and title case"},
      {"\u01C5", "\u01C6", 0, "digraph in title and lower case"},
      {"\U00010400", "\U00010428", 0, "Deseret, outside the BMP"},
      {"\u212A", "K", 0, "Kelvin sign"},
      {"a", "b", -1, "plain order"},
      {"B", "a", 1, "folded before ordering"},
      {"abc", "ab", 1, "longer after its prefix"},
      {"", "a", -1, "empty first"},
      {"\u00E9", kDecomposedE, 1, "no normalisation: precomposed differs from decomposed"},
      {"\xFF", "\xFF", 0, "same damaged byte"},
      {"\xFF", "\xFE", 1, "damaged bytes differ"},
      {"\xFF", "\uFFFD", 1, "damaged byte is not the replacement character"},
      {"\xFF", "\U0010FFFF", 1, "damaged bytes sort after every character"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(fw::CompareIgnoringCase(c.a, c.b), c.expected);
    EXPECT_EQ(fw::CompareIgnoringCase(c.b, c.a), -c.expected);
    EXPECT_EQ(fw::EqualsIgnoringCase(c.a, c.b), c.expected == 0);
  }
}

TEST(StringsCompareIgnoringCase, IsATotalOrder) {
  const std::vector<std::string> words = {
      "", "a", "A", "ab", "aB", "b", "\u00E9", "\u00C9", kDecomposedE, "\u00DF", "ss", "\u03C3",
      kFinalSigma, "\u03A3", kGrin, "\xFF", "z", "Z\xFF"};
  for (const auto& a : words) {
    for (const auto& b : words) {
      for (const auto& c : words) {
        if (fw::CompareIgnoringCase(a, b) <= 0 && fw::CompareIgnoringCase(b, c) <= 0) {
          SCOPED_TRACE(a + " <= " + b + " <= " + c);
          EXPECT_LE(fw::CompareIgnoringCase(a, c), 0);
        }
      }
    }
  }
}

// Positions past 65535 characters, and a pattern built to make a naive
// search compare over and over.
TEST(StringsMegabytes, SearchKeepsCountAcrossMegabytes) {
  std::string big;
  for (int i = 0; i < 1000000; ++i) big += "\u00E9";
  big += "\u03A9";
  EXPECT_EQ(fw::Len(big), 1000001);
  EXPECT_EQ(fw::InStr(big, "\u03C9"), 1000001);
  EXPECT_EQ(fw::InStr(5, big, "\u00C9"), 5);
  EXPECT_EQ(fw::InStr(big, "\u00E9\u00E9\u03C9"), 999999);
  EXPECT_EQ(fw::InStr(big, "\u00E9x"), 0);
  EXPECT_EQ(fw::Mid(big, 999999, 2), "\u00E9\u00E9");

  std::string as(2000000, 'a');
  const std::string find = std::string(1000, 'A') + "b";
  EXPECT_EQ(fw::InStr(as, find), 0);
  EXPECT_EQ(fw::InStr(as + "b", find), 2000000 - 1000 + 1);
}

}  // namespace
