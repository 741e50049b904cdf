#pragma once

#include <string_view>

// Fonts that draw pictures or mathematical signs in place of letters: what a
// byte in them shows, as a Unicode character. Text read from such a font is
// these characters in the document's own font.
namespace fw {

enum class SymbolFont {
    None,
    Symbol,    // the Symbol font's Greek letters and signs, by the published table
    Dingbats,  // Wingdings, Webdings, OpenSymbol: pictures, read as bullets
};

// Which kind of font a name (and RTF \fcharset, 2 for a symbol font) names.
SymbolFont SymbolFontOf(std::string_view name, int charset);

// What byte 0x20-0xFF shows in such a font; 0 for a byte that shows nothing.
char32_t SymbolFontCharacter(SymbolFont font, unsigned char byte);

}  // namespace fw
