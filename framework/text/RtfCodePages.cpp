#include "framework/text/RtfCodePages.h"

#include "framework/text/TextEncoding.h"

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

#include <unordered_map>
#include <vector>

namespace fw::rtf {

int CharsetCodePage(int charset) {
    switch (charset) {
    case 2: return kSymbolCodePage;
    case 77: return kMacRoman;
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
    default: return 0;  // the document's code page
    }
}

bool IsLeadByte(int codePage, unsigned char b) {
    switch (codePage) {
    case 932: return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    case 936:
    case 949:
    case 950: return b >= 0x81 && b <= 0xFE;
    case 1361: return (b >= 0x84 && b <= 0xD3) || (b >= 0xD8 && b <= 0xF9);
    default: return false;
    }
}

// Converters for the code pages the built-in tables do not cover, opened on
// first use. Qt reaches them through ICU.

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
        switch (codePage) {
        case 437: names.push_back("IBM437"); break;
        case 850: names.push_back("IBM850"); break;
        case 932: names.push_back("windows-932"); names.push_back("Shift_JIS"); break;
        case 936: names.push_back("GBK"); break;
        case 949: names.push_back("windows-949"); names.push_back("EUC-KR"); break;
        case 950: names.push_back("windows-950"); names.push_back("Big5"); break;
        case kUtf8: names.push_back("UTF-8"); break;
        default: break;
        }
        const QByteArray number = QByteArray::number(codePage);
        names.push_back("windows-" + number);
        names.push_back("cp" + number);
        names.push_back("ibm-" + number);
        for (const QByteArray& name : names) {
            auto decoder = std::make_unique<QStringDecoder>(name.constData(),
                                                            QStringDecoder::Flag::Stateless);
            if (decoder->isValid()) return decoder;
        }
        return nullptr;
    }

    std::unordered_map<int, std::unique_ptr<QStringDecoder>> decoders;
};

CodePageDecoder::CodePageDecoder() : converters_(std::make_unique<Converters>()) {}
CodePageDecoder::~CodePageDecoder() = default;

void CodePageDecoder::Decode(int codePage, std::string_view bytes, std::u16string& out) {
    if (codePage == kSymbolCodePage) {
        for (const char b : bytes) out.push_back(static_cast<char16_t>(0xF000 + static_cast<unsigned char>(b)));
    } else if (codePage == kMacRoman) {
        for (const char b : bytes) out.push_back(static_cast<char16_t>(encoding::MacRomanToUnicode(static_cast<unsigned char>(b))));
    } else if (QStringDecoder* decoder = codePage == kWindows1252 ? nullptr : converters_->Find(codePage)) {
        decoder->resetState();
        const QString text = decoder->decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
        const char16_t* units = reinterpret_cast<const char16_t*>(text.utf16());
        for (qsizetype i = 0; i < text.size(); ++i) {
            // ICU marks an unconvertible byte with SUB rather than U+FFFD.
            out.push_back(units[i] == 0x1A ? char16_t(0xFFFD) : units[i]);
        }
    } else {
        for (const char b : bytes) out.push_back(static_cast<char16_t>(encoding::Windows1252ToUnicode(static_cast<unsigned char>(b))));
    }
}

}  // namespace fw::rtf
