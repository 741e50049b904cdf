// libFuzzer entry point for the styled-text readers and the RTF writer.
//
// Any input goes through ReadRtf and ReadPlainText. Besides the sanitizers'
// own checks, the harness traps when a result breaks what the model promises
// (valid UTF-8 runs without paragraph breaks, no empty runs) or when writing
// a read document and reading it back does not give the same document.
#include "framework/text/PlainTextReader.h"
#include "framework/text/RtfReader.h"
#include "framework/text/RtfWriter.h"
#include "framework/text/StyledText.h"
#include "framework/text/Utf8.h"
#include "tests/support/StyledTextSupport.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

// What every document a reader returns must satisfy. Runs never hold a
// paragraph break (CR, LF, U+2029) nor a NUL.
void CheckWellFormed(const fw::StyledText& doc, bool fromRtf) {
    for (const fw::StyledParagraph& paragraph : doc.paragraphs) {
        for (std::size_t i = 0; i < paragraph.runs.size(); ++i) {
            const fw::StyledRun& run = paragraph.runs[i];
            Check(!run.text.empty());
            Check(fw::utf8::IsValid(run.text));
            Check(run.text.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
            Check(run.text.find("\xE2\x80\xA9") == std::string::npos);
            Check(fw::utf8::IsValid(run.style.font));
            // The RTF reader gives every run its size and merges a run into
            // the one before it when their formats are equal.
            if (fromRtf) Check(std::isfinite(run.style.size) && run.style.size > 0);
            if (fromRtf && i > 0) Check(!(paragraph.runs[i - 1].style == run.style));
            if (!fromRtf) Check(run.style == fw::CharStyle{});
        }
    }
}

// Plain text written as RTF reads back as the same characters. The RTF
// reader drops control characters other than the tab, which RTF cannot
// carry as text.
std::string WithoutControls(std::string_view text) {
    std::string kept;
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') kept.push_back(c);
    return kept;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const fw::StyledText doc = fw::ReadRtf(bytes);
    CheckWellFormed(doc, true);
    (void)fw::LooksLikeRtf(bytes);

    // The writer's output is itself RTF, read back to the same document:
    // ReadRtf returns only what WriteRtf can express.
    const std::string written = fw::WriteRtf(doc);
    Check(fw::LooksLikeRtf(written));
    for (const char c : written) Check(static_cast<unsigned char>(c) < 0x80);
    Check(fw::ReadRtf(written) == doc);

    const fw::StyledText plain = fw::ReadPlainText(bytes);
    CheckWellFormed(plain, false);
    const fw::StyledText plainBack = fw::ReadRtf(fw::WriteRtf(plain));
    Check(plainBack.paragraphs.size() == plain.paragraphs.size());
    for (std::size_t i = 0; i < plain.paragraphs.size(); ++i)
        Check(TextOf(plainBack.paragraphs[i]) == WithoutControls(TextOf(plain.paragraphs[i])));
    return 0;
}
