#include "Plumora.h"
#include "PlumoraLayout.h"

#include "resources/Pictures.h"
#include "framework/model/PropertyRecord.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

using fw::Color;
using fw::RecordEntry;

// The window's start values, in the order they are applied.
const std::vector<RecordEntry>& WindowStartValues() {
    static const std::vector<RecordEntry> values{
        {"Placement", std::int32_t{3}},
        {"Width", std::int32_t{672}},
        {"Height", std::int32_t{384}},
        {"MinWidth", std::int32_t{64}},
        {"MinHeight", std::int32_t{64}},
        {"MaxWidth", std::int32_t{32000}},
        {"MaxHeight", std::int32_t{32000}},
        {"Frame", std::int32_t{9}},
        {"Composite", true},
        {"HasBackColor", true},
        {"BackColor", Color::FromRGB(0x565656)},
        {"Title", std::string(" Plumora")},
        {"Visible", true},
        {"FullScreen", false},
        {"MenuBarVisible", true},
        {"CloseButton", false},
        {"Resizeable", true},
        {"LiveResize", true},
        {"MaximizeButton", true},
        {"MinimizeButton", true},
        {"MacProcID", std::int32_t{0}},
    };
    return values;
}

}  // namespace

const std::string& PlumoraWindowRecord() {
    static const std::string record = fw::EncodeRecord(WindowStartValues());
    return record;
}

void Plumora::Layout() { fw::ApplyWindowStartValues(*this, bannerplumora51, PlumoraWindowRecord()); }
