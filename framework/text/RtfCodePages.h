#pragma once

#include <memory>
#include <string>
#include <string_view>

// The code pages of RTF text: which one a font or document names, which bytes
// begin a double-byte character, and what the bytes stand for.
namespace fw::rtf {

// Code page pseudo-numbers: the Symbol charset maps byte b to U+F000 + b.
inline constexpr int kSymbolCodePage = -2;
inline constexpr int kWindows1252 = 1252;
inline constexpr int kMacRoman = 10000;
inline constexpr int kUtf8 = 65001;

// The code page of a \fcharset value, or 0 for the document's own.
int CharsetCodePage(int charset);

bool IsLeadByte(int codePage, unsigned char byte);

// Turns bytes of a code page into characters. Converters for the code pages
// the built-in tables do not cover are opened on first use; a code page no
// converter knows reads as Windows-1252.
class CodePageDecoder {
public:
    CodePageDecoder();
    ~CodePageDecoder();

    // Appends the characters (UTF-16 units) the bytes stand for; a byte no
    // character stands for is U+FFFD.
    void Decode(int codePage, std::string_view bytes, std::u16string& out);

private:
    struct Converters;
    std::unique_ptr<Converters> converters_;
};

}  // namespace fw::rtf
