// Hostile inputs too large or too regular for the fuzzer to find, each run
// through the fuzz target's checks (well-formed results, the write-read round
// trip, the plain-text reader) under the address and undefined-behaviour
// sanitizers. Prints each case with its time; any failure aborts.
#include "framework/text/RtfReader.h"
#include "tests/support/StyledTextSupport.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

using Document = fw::StyledText;
using Expect = std::function<bool(const Document&)>;

std::string Repeat(const std::string& unit, std::size_t bytes) {
    std::string out;
    out.reserve(bytes + unit.size());
    while (out.size() < bytes) out += unit;
    return out;
}

// The document is the one paragraph.
Expect TextIs(std::string text) {
    return [text](const Document& doc) { return fw::TextsOf(doc) == fw::Texts{text}; };
}

void Fuzz(const std::string& input, std::size_t size) {
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), size);
}

struct Case {
    const char* name;
    std::function<std::string()> input;
    Expect expect;  // what the RTF reader must return for it, beyond the fuzz target's checks
};

constexpr std::size_t kMegabyte = 1 << 20;

}  // namespace

int main() {
    const std::string open(100000, '{'), close(100000, '}');
    const std::string header =
        "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fnil\\fcharset128 Gothic;}{\\f1\\fcharset2 Symbol;}}"
        "{\\colortbl;\\red255\\green0\\blue0;}\\f0\\'82\\'a0{\\f1\\'b7}\\u-10179?\\u-8704?\\cf1\\b\\fs40 end\\par}";
    const std::vector<Case> cases = {
        {"100000 nested groups, closed", [&] { return "{\\rtf1 " + open + "deep" + close + " after}"; },
         TextIs("deep after")},
        {"100000 nested groups, never closed", [&] { return "{\\rtf1 " + open + "{\\b deep\\par"; }, TextIs("deep")},
        {"100000 nested formatted groups",
         [] {
             std::string rtf = "{\\rtf1 ";
             for (int i = 0; i < 100000; ++i) rtf += i % 2 ? "{\\b\\fs" + std::to_string(i % 90 + 2) : "{\\i\\f3 ";
             return rtf + "x" + std::string(100000, '}') + "y}";
         },
         TextIs("xy")},
        {"100000 nested groups inside an ignorable destination",
         [&] { return "{\\rtf1 a{\\*\\x " + open + "hidden" + close + "}b}"; }, TextIs("ab")},
        {"100000 nested groups inside the font table",
         [&] { return "{\\rtf1{\\fonttbl{\\f0 " + open + "Name;" + close + "}}\\f0 x}"; }, TextIs("x")},
        {"\\bin with binary content",
         [] {
             std::string binary(4 * kMegabyte, '\0');
             for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 7919 >> 3);
             return "{\\rtf1 a{\\pict\\bin" + std::to_string(binary.size()) + " " + binary + "}b}";
         },
         TextIs("ab")},
        {"NUL bytes everywhere",
         [] {
             static constexpr char kRtf[] = "{\\rtf1\\ansi{\\fonttbl{\\f0 A\0rial;}}\\f0 a\0b\\\0c\\'\0d\\u\0e}";
             std::string rtf(kRtf, sizeof kRtf - 1);
             return rtf.insert(rtf.size() - 1, std::string(kMegabyte, '\0'));
         },
         TextIs("abcde")},
        {"a document cut after every byte of its header",
         [&] {
             for (std::size_t cut = 0; cut < header.size(); ++cut) Fuzz(header, cut);
             return header;
         },
         nullptr},
        {"50 MB of one paragraph in one run",
         [] { return "{\\rtf1\\ansi\\f0 " + Repeat("caf\\'e9 \\u954? word\\tab ", 50 * kMegabyte) + "}"; },
         [](const Document& doc) {
             return doc.paragraphs.size() == 1 && doc.paragraphs[0].runs.size() == 1 &&
                 doc.paragraphs[0].runs[0].text.rfind("caf\u00E9 \u03BA word\t", 0) == 0;
         }},
        {"16 MB of one paragraph in alternating formats",
         [] { return "{\\rtf1\\ansi " + Repeat("{\\b bold}\\i x\\i0\\fs30 y\\plain ", 16 * kMegabyte) + "}"; },
         [](const Document& doc) { return doc.paragraphs.size() == 1 && doc.paragraphs[0].runs.size() > 300000; }},
        {"50 MB of one control word", [] { return "{\\rtf1 \\" + std::string(50 * kMegabyte, 'b') + "1 x}"; },
         TextIs("x")},
        {"50 MB of one number", [] { return "{\\rtf1 \\fs" + std::string(50 * kMegabyte, '9') + " x}"; }, TextIs("x")},
        {"1000000 fonts and colours",
         [] {
             std::string rtf = "{\\rtf1{\\fonttbl";
             for (int i = 0; i < 1000000; ++i) rtf += "{\\f" + std::to_string(i) + " F" + std::to_string(i) + ";}";
             rtf += "}{\\colortbl;" + Repeat("\\red1\\green2\\blue3;", 20 * kMegabyte) + "}";
             return rtf + "\\f999999\\cf999999 x}";
         },
         [](const Document& doc) {
             return fw::TextsOf(doc) == fw::Texts{"x"} && doc.paragraphs[0].runs[0].style.font == "F999999";
         }},
    };

    int failures = 0;
    for (const Case& c : cases) {
        const auto start = std::chrono::steady_clock::now();
        const std::string input = c.input();
        Fuzz(input, input.size());
        const bool ok = !c.expect || c.expect(fw::ReadRtf(input));
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("%-56s %7.2f s  %s\n", c.name, seconds, ok ? "ok" : "FAILED");
        std::fflush(stdout);
        failures += !ok;
    }
    return failures ? EXIT_FAILURE : EXIT_SUCCESS;
}
