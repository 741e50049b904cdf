#include "framework/text/RtfControlWords.h"

#include <array>

namespace fw::rtf {

namespace {

// clang-format off
constexpr WordInfo kWords[] = {
    {"ansi", Word::Ansi}, {"mac", Word::Mac}, {"pc", Word::Pc}, {"pca", Word::Pca},
    {"ansicpg", Word::AnsiCpg}, {"deff", Word::Deff}, {"uc", Word::Uc}, {"u", Word::U},
    {"bin", Word::Bin},
    {"fonttbl", Word::FontTable}, {"colortbl", Word::ColorTable}, {"upr", Word::Upr},
    {"ud", Word::Ud}, {"object", Word::Object}, {"result", Word::Result},
    {"f", Word::Font}, {"fcharset", Word::FontCharset}, {"cpg", Word::CodePage},
    {"red", Word::Red}, {"green", Word::Green}, {"blue", Word::Blue},
    {"par", Word::Par}, {"pard", Word::Pard}, {"plain", Word::Plain},
    {"ql", Word::AlignLeft}, {"qc", Word::AlignCenter}, {"qr", Word::AlignRight},
    {"qj", Word::AlignJustify},
    {"sect", Word::Sect}, {"page", Word::Sect}, {"column", Word::Sect},
    {"cell", Word::Cell}, {"nestcell", Word::NestCell}, {"row", Word::Row}, {"nestrow", Word::NestRow},
    {"intbl", Word::InTable},
    {"b", Word::Bold}, {"i", Word::Italic}, {"fs", Word::FontSize}, {"cf", Word::ColorFore},
    {"dbch", Word::DoubleByteRun}, {"loch", Word::LatinRun}, {"hich", Word::LatinRun},
    {"rtlch", Word::RightToLeftRun}, {"ltrch", Word::LatinRun},
    {"ab", Word::AssocBold}, {"ai", Word::AssocItalic}, {"afs", Word::AssocFontSize}, {"af", Word::AssocFont},
    {"chftn", Word::NoteNumber}, {"ftnalt", Word::Endnote}, {"aftnnar", Word::EndnotesArabic},
    {"footnote", Word::Note}, {"field", Word::Field}, {"fldinst", Word::FieldInstruction},
    {"listtext", Word::ListLabel}, {"pntext", Word::ListLabel},
    // Format words that some writers star as if they were destinations.
    {"cs", Word::Ignored}, {"ds", Word::Ignored}, {"ts", Word::Ignored}, {"nesttableprops", Word::Ignored},
    {"ul", Word::Underline}, {"uld", Word::Underline}, {"uldash", Word::Underline},
    {"uldashd", Word::Underline}, {"uldashdd", Word::Underline}, {"uldb", Word::Underline},
    {"ulhwave", Word::Underline}, {"ulldash", Word::Underline}, {"ulth", Word::Underline},
    {"ulthd", Word::Underline}, {"ulthdash", Word::Underline}, {"ulthdashd", Word::Underline},
    {"ulthdashdd", Word::Underline}, {"ulthldash", Word::Underline},
    {"ululdbwave", Word::Underline}, {"ulw", Word::Underline}, {"ulwave", Word::Underline},
    {"ulnone", Word::UnderlineNone},
    {"line", Word::Character, 0x2028}, {"tab", Word::Character, '\t'},
    {"emdash", Word::Character, 0x2014}, {"endash", Word::Character, 0x2013},
    {"bullet", Word::Character, 0x2022}, {"lquote", Word::Character, 0x2018},
    {"rquote", Word::Character, 0x2019}, {"ldblquote", Word::Character, 0x201C},
    {"rdblquote", Word::Character, 0x201D}, {"enspace", Word::Character, 0x2002},
    {"emspace", Word::Character, 0x2003}, {"qmspace", Word::Character, 0x2005},
    {"zwj", Word::Character, 0x200D}, {"zwnj", Word::Character, 0x200C},
    {"zwbo", Word::Character, 0x200B}, {"ltrmark", Word::Character, 0x200E},
    {"rtlmark", Word::Character, 0x200F},
    // Groups whose content is not document text.
    {"stylesheet", Word::SkipDestination}, {"info", Word::SkipDestination},
    {"header", Word::SkipDestination}, {"headerl", Word::SkipDestination},
    {"headerr", Word::SkipDestination}, {"headerf", Word::SkipDestination},
    {"footer", Word::SkipDestination}, {"footerl", Word::SkipDestination},
    {"footerr", Word::SkipDestination}, {"footerf", Word::SkipDestination},
    {"annotation", Word::SkipDestination},
    {"ftnsep", Word::SkipDestination}, {"ftnsepc", Word::SkipDestination},
    {"aftnsep", Word::SkipDestination}, {"aftnsepc", Word::SkipDestination},
    {"ftncn", Word::SkipDestination}, {"aftncn", Word::SkipDestination},
    {"pict", Word::SkipDestination}, {"shp", Word::SkipDestination},
    {"nonshppict", Word::SkipDestination}, {"shppict", Word::SkipDestination},
    {"objdata", Word::SkipDestination}, {"objclass", Word::SkipDestination},
    {"listtable", Word::SkipDestination},
    {"listoverridetable", Word::SkipDestination}, {"revtbl", Word::SkipDestination},
    {"rsidtbl", Word::SkipDestination}, {"xmlnstbl", Word::SkipDestination},
    {"themedata", Word::SkipDestination}, {"colorschememapping", Word::SkipDestination},
    {"latentstyles", Word::SkipDestination}, {"datastore", Word::SkipDestination},
    {"generator", Word::SkipDestination}, {"pgdsctbl", Word::SkipDestination},
    {"mmathPr", Word::SkipDestination}, {"expandedcolortbl", Word::SkipDestination},
    {"bkmkstart", Word::SkipDestination}, {"bkmkend", Word::SkipDestination},
    {"userprops", Word::SkipDestination}, {"filetbl", Word::SkipDestination},
    {"listpicture", Word::SkipDestination}, {"nonesttables", Word::SkipDestination},
    {"pn", Word::SkipDestination}, {"list", Word::SkipDestination},
    {"listlevel", Word::SkipDestination}, {"leveltext", Word::SkipDestination},
    {"levelnumbers", Word::SkipDestination}, {"listname", Word::SkipDestination},
    {"listoverride", Word::SkipDestination}, {"lfolevel", Word::SkipDestination}, {"pntxta", Word::SkipDestination},
    {"pntxtb", Word::SkipDestination}, {"template", Word::SkipDestination},
    {"docvar", Word::SkipDestination}, {"xe", Word::SkipDestination},
    {"tc", Word::SkipDestination}, {"tcn", Word::SkipDestination},
    {"txe", Word::SkipDestination}, {"falt", Word::SkipDestination},
    {"panose", Word::SkipDestination}, {"fontemb", Word::SkipDestination},
    {"fontfile", Word::SkipDestination}, {"title", Word::SkipDestination},
    {"subject", Word::SkipDestination}, {"author", Word::SkipDestination},
    {"operator", Word::SkipDestination}, {"keywords", Word::SkipDestination},
    {"comment", Word::SkipDestination}, {"doccomm", Word::SkipDestination},
    {"company", Word::SkipDestination}, {"manager", Word::SkipDestination},
    {"category", Word::SkipDestination}, {"background", Word::SkipDestination},
    {"sp", Word::SkipDestination}, {"sn", Word::SkipDestination},
    {"sv", Word::SkipDestination}, {"do", Word::SkipDestination},
};
// clang-format on

std::uint32_t HashWord(const char* s, std::size_t n) {
    std::uint32_t h = 2166136261u;
    for (std::size_t i = 0; i < n; ++i) h = (h ^ static_cast<unsigned char>(s[i])) * 16777619u;
    return h;
}

// Control words are a few letters long; a loop beats a call to memcmp.
bool Same(const char* a, const char* b, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        if (a[i] != b[i]) return false;
    }
    return true;
}

// Open-addressing table over kWords; control words are looked up hundreds of
// thousands of times in a large document.
class WordTable {
public:
    WordTable() {
        for (const WordInfo& info : kWords) {
            std::uint32_t slot = HashWord(info.name.data(), info.name.size()) & kMask;
            while (slots_[slot]) slot = (slot + 1) & kMask;
            slots_[slot] = &info;
        }
    }

    const WordInfo* Find(const char* s, std::size_t n) const {
        std::uint32_t slot = HashWord(s, n) & kMask;
        while (const WordInfo* info = slots_[slot]) {
            if (info->name.size() == n && Same(info->name.data(), s, n)) return info;
            slot = (slot + 1) & kMask;
        }
        return nullptr;
    }

private:
    static constexpr std::uint32_t kSlots = 1024;
    static constexpr std::uint32_t kMask = kSlots - 1;
    std::array<const WordInfo*, kSlots> slots_{};
};

const WordTable kWordTable;

}  // namespace

const WordInfo* FindWord(const char* name, std::size_t length) { return kWordTable.Find(name, length); }

}  // namespace fw::rtf
