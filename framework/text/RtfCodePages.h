#pragma once

#include <memory>
#include <string>
#include <string_view>

// The code pages of RTF text: which one a font or document names, which bytes
// begin a double-byte character, and what the bytes stand for.
namespace fw::rtf {

// Code page pseudo-numbers for the Symbol font and for picture fonts such as
// Wingdings (see SymbolFont.h).
inline constexpr int kSymbolCodePage = -2;
inline constexpr int kDingbatsCodePage = -3;
inline constexpr int kWindows1252 = 1252;
inline constexpr int kMacRoman = 10000;
inline constexpr int kUtf8 = 65001;

// The code page of a \fcharset value, or 0 for the document's own. Charset 0
// is Windows-1252 whatever the document says, and the Mac charsets 77-89
// name the Mac code pages, as Word and LibreOffice read them.
int CharsetCodePage(int charset);

// Whether a byte begins a two-byte character; in a double-byte code page
// every other byte is a character by itself.
bool IsLeadByte(int codePage, unsigned char byte);
bool IsDoubleByte(int codePage);

// Turns bytes of a code page into characters. Converters for the code pages
// the built-in tables do not cover are opened on first use; a code page no
// converter knows reads as Windows-1252.
class CodePageDecoder {
public:
    CodePageDecoder();
    ~CodePageDecoder();

    // Appends the characters (UTF-16 units) the bytes stand for; a byte no
    // character stands for is U+FFFD, one a symbol font draws nothing for
    // gives nothing.
    void Decode(int codePage, std::string_view bytes, std::u16string& out);

private:
    void DecodeDoubleByte(int codePage, std::string_view bytes, std::u16string& out);
    void DecodeWithConverter(int codePage, std::string_view bytes, std::u16string& out);

    struct Converters;
    std::unique_ptr<Converters> converters_;
};

}  // namespace fw::rtf
