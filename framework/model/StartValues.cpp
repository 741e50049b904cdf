#include "framework/model/StartValues.h"

#include "framework/model/Exceptions.h"

#include <algorithm>
#include <cstdint>
#include <map>

namespace {

using fw::Color;
using fw::RecordEntry;

constexpr std::int32_t kNoIndex = -2147483647 - 1;

using namespace startvalue;

// The place and lock keys every class starts with; their values are the control's.
// clang-format off
std::vector<RecordEntry> Placement() {
    return {S("Name"), I("Index", kNoIndex), I("Left", 0), I("Top", 0), I("Width", 0), I("Height", 0),
            B("LockLeft", false), B("LockTop", false), B("LockRight", false), B("LockBottom", false),
            I("TabPanelIndex", 0)};
}
// clang-format on

std::vector<RecordEntry> Joined(std::vector<RecordEntry> head, std::initializer_list<RecordEntry> tail) {
    head.insert(head.end(), tail);
    return head;
}

const std::map<std::string, std::vector<RecordEntry>, std::less<>>& Classes() {
    // clang-format off
    static const std::map<std::string, std::vector<RecordEntry>, std::less<>> classes{
        {"EditField",
         Joined(Placement(),
                {I("TabIndex", 0), B("TabStop", true), B("Border", true), B("Multiline", false),
                 B("ScrollbarHorizontal", false), B("ScrollbarVertical", true), B("Styled", false),
                 B("Password", false), B("UseFocusRing", true), C("TextColor", 0x000000), C("BackColor", 0xFFFFFF),
                 B("Enabled", true), S("Format"), B("Visible", true), S("HelpTag"), B("AutoDeactivate", true),
                 S("TextFont", "System"), I("TextSize", 0), B("Bold", false), B("Italic", false),
                 B("Underline", false), S("Text"), S("Mask"), B("ReadOnly", false), I("LimitText", 0),
                 B("AcceptTabs", false), I("Alignment", 0), S("DataSource"), S("DataField"), S("InitialParent")})},
        {"BevelButton",
         Joined(Placement(),
                {I("TabIndex", 0), B("TabStop", true), S("InitialParent"), B("Visible", true), S("HelpTag"),
                 B("AutoDeactivate", true), B("Enabled", true), S("Caption"), I("CaptionAlign", 3),
                 I("CaptionPlacement", 1), I("CaptionDelta", 0), I("IconAlign", 0), I("IconDX", 0), I("IconDY", 0),
                 I("Bevel", 0), I("HasMenu", 0), B("Value", false), I("MenuValue", 0), I("ButtonType", 0),
                 B("AcceptFocus", false), S("TextFont", "System"), I("TextSize", 0), B("Bold", false),
                 B("Italic", false), B("Underline", false)})},
        {"StaticText",
         Joined(Placement(),
                {I("TabIndex", 0), S("Text"), I("TextAlign", 0), C("TextColor", 0x000000), B("Multiline", false),
                 B("Enabled", true), B("Visible", true), S("HelpTag"), B("AutoDeactivate", true),
                 S("TextFont", "System"), I("TextSize", 0), B("Bold", false), B("Italic", false),
                 B("Underline", false), S("DataSource"), S("DataField"), S("InitialParent")})},
        {"Canvas",
         Joined(Placement(),
                {I("TabIndex", 0), B("TabStop", true), B("Visible", true), S("HelpTag"), B("AutoDeactivate", true),
                 B("Enabled", true), B("UseFocusRing", true), B("AcceptFocus", false), B("AcceptTabs", false),
                 B("EraseBackground", true), S("InitialParent")})},
        {"PushButton",
         Joined(Placement(),
                {I("TabIndex", 0), B("TabStop", true), S("Caption"), B("Default", false), B("Cancel", false),
                 B("Enabled", true), B("Visible", true), S("HelpTag"), B("AutoDeactivate", true),
                 S("TextFont", "System"), I("TextSize", 0), B("Bold", true), B("Italic", false),
                 B("Underline", false), S("InitialParent")})},
        {"TabPanel",
         Joined(Placement(),
                {I("TabIndex", 0), B("TabStop", true), S("TabDefinition"), B("SmallTabs", false), I("Value", 0),
                 B("Visible", true), S("HelpTag"), B("AutoDeactivate", true), B("Enabled", true),
                 S("TextFont", "System"), I("TextSize", 0), B("Bold", false), B("Italic", false),
                 B("Underline", false), S("InitialParent")})},
        {"Rectangle",
         Joined(Placement(),
                {B("Visible", true), S("HelpTag"), B("AutoDeactivate", true), B("Enabled", true),
                 C("FillColor", 0xFFFFFF), I("BorderWidth", 1), C("TopLeftColor", 0x000000),
                 C("BottomRightColor", 0x000000), S("InitialParent")})},
    };
    // clang-format on
    return classes;
}

void Put(std::vector<RecordEntry>& record, const RecordEntry& value, std::string_view control) {
    const auto slot =
        std::find_if(record.begin(), record.end(), [&](const RecordEntry& e) { return e.key == value.key; });
    if (slot == record.end())
        throw fw::PropertyRecordException("control \"" + std::string(control) + "\" gives \"" + value.key +
                                          "\", which its class does not have");
    slot->value = value.value;
}

}  // namespace

const std::vector<RecordEntry>& ClassStartValues(std::string_view className) {
    const auto found = Classes().find(className);
    if (found == Classes().end())
        throw fw::UnknownNameException("no start values for the control class \"" + std::string(className) + "\"");
    return found->second;
}

std::string ControlRecord(const ControlStartValues& control) {
    auto record = ClassStartValues(control.className);
    const auto locked = [&](char edge) { return control.locks.find(edge) != std::string_view::npos; };
    Put(record, S("Name", control.name), control.name);
    Put(record, I("Left", control.left), control.name);
    Put(record, I("Top", control.top), control.name);
    Put(record, I("Width", control.width), control.name);
    Put(record, I("Height", control.height), control.name);
    Put(record, B("LockLeft", locked('L')), control.name);
    Put(record, B("LockTop", locked('T')), control.name);
    Put(record, B("LockRight", locked('R')), control.name);
    Put(record, B("LockBottom", locked('B')), control.name);
    if (control.tabIndex) Put(record, I("TabIndex", *control.tabIndex), control.name);
    for (const auto& value : control.values) Put(record, value, control.name);
    return fw::EncodeRecord(record);
}
