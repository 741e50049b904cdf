#include "framework/text/RtfCodePages.h"

#include "framework/text/SymbolFont.h"
#include "framework/text/TextEncoding.h"

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

#include <unordered_map>
#include <vector>

namespace fw::rtf {

int CharsetCodePage(int charset) {
    switch (charset) {
    case 0: return kWindows1252;
    case 2: return kSymbolCodePage;
    case 77: return kMacRoman;
    case 78: return 10001;  // Mac Japanese
    case 79: return 10003;  // Mac Korean
    case 80: return 10008;  // Mac Simplified Chinese
    case 81: return 10002;  // Mac Traditional Chinese
    case 83: return 10005;  // Mac Hebrew
    case 84: return 10004;  // Mac Arabic
    case 85: return 10006;  // Mac Greek
    case 86: return 10081;  // Mac Turkish
    case 87: return 10021;  // Mac Thai
    case 88: return 10029;  // Mac Central European
    case 89: return 10007;  // Mac Cyrillic
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254:
    case 255: return 437;
    default: return 0;
    }
}

namespace {

// The Mac double-byte code pages pair their bytes like their Windows siblings.
int WindowsSibling(int codePage) {
    switch (codePage) {
    case 10001: return 932;
    case 10002: return 950;
    case 10003: return 949;
    case 10008: return 936;
    default: return codePage;
    }
}

}  // namespace

bool IsLeadByte(int codePage, unsigned char b) {
    switch (WindowsSibling(codePage)) {
    case 932: return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    case 936:
    case 949: return b >= 0x81 && b <= 0xFE;
    case 950: return b >= 0xA1 && b <= 0xFE;  // Big5's own range, as LibreOffice reads it
    case 1361: return (b >= 0x84 && b <= 0xD3) || (b >= 0xD8 && b <= 0xF9);
    default: return false;
    }
}

// Qt reaches the converters through ICU.
struct CodePageDecoder::Converters {
    // The converter for a code page, or null when none is available.
    QStringDecoder* Find(int codePage) {
        auto it = decoders.find(codePage);
        if (it == decoders.end()) it = decoders.emplace(codePage, Open(codePage)).first;
        return it->second.get();
    }

    static std::unique_ptr<QStringDecoder> Open(int codePage) {
        std::vector<QByteArray> names;
        // ICU has no converter for the Mac pages a closest relative stands
        // in for: the same letters at the same bytes.
        switch (codePage) {
        case 10001: names.push_back("windows-932"); break;
        case 10002: names.push_back("windows-950"); break;
        case 10003: names.push_back("windows-949"); break;
        case 10008: names.push_back("GBK"); break;
        case 10004: names.push_back("ISO-8859-6"); break;
        case 10005: names.push_back("ISO-8859-8"); break;
        case 10021: names.push_back("windows-874"); break;
        case 10006: names.push_back("x-mac-greek"); break;
        case 10007: names.push_back("x-mac-cyrillic"); break;
        case 10029: names.push_back("x-mac-centraleurroman"); break;
        case 10081: names.push_back("x-mac-turkish"); break;
        case 437: names.push_back("IBM437"); break;
        case 850: names.push_back("IBM850"); break;
        case 932:
            names.push_back("windows-932");
            names.push_back("Shift_JIS");
            break;
        case 936: names.push_back("GBK"); break;
        case 949:
            names.push_back("windows-949");
            names.push_back("EUC-KR");
            break;
        case 950:
            names.push_back("windows-950");
            names.push_back("Big5");
            break;
        case kUtf8: names.push_back("UTF-8"); break;
        default: break;
        }
        const QByteArray number = QByteArray::number(codePage);
        names.push_back("windows-" + number);
        names.push_back("cp" + number);
        names.push_back("ibm-" + number);
        for (const QByteArray& name : names) {
            auto decoder = std::make_unique<QStringDecoder>(name.constData(), QStringDecoder::Flag::Stateless);
            if (decoder->isValid()) return decoder;
        }
        return nullptr;
    }

    std::unordered_map<int, std::unique_ptr<QStringDecoder>> decoders;
};

CodePageDecoder::CodePageDecoder() : converters_(std::make_unique<Converters>()) {}
CodePageDecoder::~CodePageDecoder() = default;

void CodePageDecoder::Decode(int codePage, std::string_view bytes, std::u16string& out) {
    switch (codePage) {
    case kSymbolCodePage:
    case kDingbatsCodePage: {
        const SymbolFont font = codePage == kSymbolCodePage ? SymbolFont::Symbol : SymbolFont::Dingbats;
        for (const char b : bytes) {
            if (const char32_t c = SymbolFontCharacter(font, static_cast<unsigned char>(b))) {
                out.push_back(static_cast<char16_t>(c));
            }
        }
        return;
    }
    case kMacRoman:
        for (const char b : bytes)
            out.push_back(static_cast<char16_t>(encoding::MacRomanToUnicode(static_cast<unsigned char>(b))));
        return;
    case kWindows1252: break;
    default:
        if (IsDoubleByte(codePage)) {
            DecodeDoubleByte(codePage, bytes, out);
            return;
        }
        if (converters_->Find(codePage)) {
            DecodeWithConverter(codePage, bytes, out);
            return;
        }
        break;  // no converter knows the code page: Windows-1252 stands in
    }
    for (const char b : bytes)
        out.push_back(static_cast<char16_t>(encoding::Windows1252ToUnicode(static_cast<unsigned char>(b))));
}

bool IsDoubleByte(int codePage) {
    switch (WindowsSibling(codePage)) {
    case 932:
    case 936:
    case 949:
    case 950:
    case 1361: return true;
    default: return false;
    }
}

// Pairs go to the converter; a byte that begins no pair is read by itself,
// so that a stray byte never swallows the character after it.
void CodePageDecoder::DecodeDoubleByte(int codePage, std::string_view bytes, std::u16string& out) {
    std::size_t run = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (IsLeadByte(codePage, b) && i + 1 < bytes.size()) {
            i += 2;
            continue;
        }
        if (b < 0x80) {
            ++i;
            continue;
        }
        DecodeWithConverter(codePage, bytes.substr(run, i - run), out);
        const std::size_t before = out.size();
        DecodeWithConverter(codePage, bytes.substr(i, 1), out);
        // The converters know no single byte 0xA0; the code pages' own tables
        // make it a no-break space.
        if (b == 0xA0 && out.size() == before + 1 && out.back() == 0xFFFD) out.back() = 0x00A0;
        run = ++i;
    }
    DecodeWithConverter(codePage, bytes.substr(run), out);
}

void CodePageDecoder::DecodeWithConverter(int codePage, std::string_view bytes, std::u16string& out) {
    if (bytes.empty()) return;
    QStringDecoder* decoder = converters_->Find(codePage);
    if (!decoder) {
        out.append(bytes.size(), u'\uFFFD');
        return;
    }
    decoder->resetState();
    const QString text = decoder->decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    const char16_t* units = reinterpret_cast<const char16_t*>(text.utf16());
    // ICU marks an unconvertible byte with SUB rather than U+FFFD, and may
    // give nothing at all for a lone byte.
    for (qsizetype i = 0; i < text.size(); ++i) out.push_back(units[i] == 0x1A ? char16_t(0xFFFD) : units[i]);
    if (text.isEmpty()) out.push_back(0xFFFD);
}

}  // namespace fw::rtf
