// The window's design-time records, read back byte by byte the way the framework must read
// them: a value's form follows from its property's type, nothing else marks it.

#include "conversion/Window1.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <variant>
#include <vector>

namespace radixel {
namespace {

enum class Form { Integer, Boolean, Text, Colour };

const std::map<std::string, Form> kForms = {
    {"Placement", Form::Integer},  {"Width", Form::Integer},      {"Height", Form::Integer},
    {"MinWidth", Form::Integer},   {"MinHeight", Form::Integer},  {"MaxWidth", Form::Integer},
    {"MaxHeight", Form::Integer},  {"Frame", Form::Integer},      {"Composite", Form::Boolean},
    {"HasBackColor", Form::Boolean}, {"BackColor", Form::Colour}, {"Title", Form::Text},
    {"Visible", Form::Boolean},    {"FullScreen", Form::Boolean}, {"MenuBarVisible", Form::Boolean},
    {"CloseButton", Form::Boolean}, {"Resizeable", Form::Boolean}, {"LiveResize", Form::Boolean},
    {"MaximizeButton", Form::Boolean}, {"MinimizeButton", Form::Boolean}, {"MacProcID", Form::Integer},
    {"Name", Form::Text},          {"Index", Form::Integer},      {"Left", Form::Integer},
    {"Top", Form::Integer},        {"LockLeft", Form::Boolean},   {"LockTop", Form::Boolean},
    {"LockRight", Form::Boolean},  {"LockBottom", Form::Boolean}, {"TabPanelIndex", Form::Integer},
    {"TabIndex", Form::Integer},   {"TabStop", Form::Boolean},    {"Text", Form::Text},
    {"TextAlign", Form::Integer},  {"Alignment", Form::Integer},  {"TextColor", Form::Colour},
    {"Multiline", Form::Boolean},  {"Enabled", Form::Boolean},    {"Selectable", Form::Boolean},
    {"Transparent", Form::Boolean}, {"HelpTag", Form::Text},      {"AutoDeactivate", Form::Boolean},
    {"TextFont", Form::Text},      {"Bold", Form::Boolean},       {"Italic", Form::Boolean},
    {"Underline", Form::Boolean},  {"DataSource", Form::Text},    {"DataField", Form::Text},
    {"InitialParent", Form::Text}, {"Border", Form::Boolean},     {"Password", Form::Boolean},
    {"UseFocusRing", Form::Boolean}, {"Format", Form::Text},      {"CueText", Form::Text},
    {"Mask", Form::Text},          {"ReadOnly", Form::Boolean},   {"LimitText", Form::Integer},
    {"AcceptTabs", Form::Boolean}, {"AutomaticallyCheckSpelling", Form::Boolean},
    {"ScrollbarHorizontal", Form::Boolean}, {"ScrollbarVertical", Form::Boolean}, {"Styled", Form::Boolean},
    {"HideSelection", Form::Boolean}, {"Caption", Form::Text},    {"Default", Form::Boolean},
    {"Cancel", Form::Boolean},     {"ButtonStyle", Form::Integer},
};

using Value = std::variant<std::int32_t, bool, std::string>;  // colours as "#RRGGBB"

struct Item {
    std::string name;
    std::string bytes;  // the whole item, name to end of value
    Value value;
};

std::uint32_t BigEndian(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(s[at + i]);
    return v;
}

// Fails the test at the first byte that does not fit, and returns what was read up to there.
std::vector<Item> ReadRecord(const fw::String& record) {
    const std::string& s = record.bytes();
    std::vector<Item> items;
    std::size_t at = 0;
    while (at < s.size()) {
        const std::size_t start = at;
        const std::size_t blank = s.find(' ', at);
        if (blank == std::string::npos) {
            ADD_FAILURE() << "no blank after a name at byte " << at;
            break;
        }
        std::string name = s.substr(at, blank - at);
        auto form = kForms.find(name);
        if (form == kForms.end()) {
            ADD_FAILURE() << "unknown property \"" << name << "\" at byte " << at;
            break;
        }
        at = blank + 1;
        const std::size_t size = form->second == Form::Integer ? 4
                                 : form->second == Form::Boolean ? 1
                                 : form->second == Form::Colour  ? 3
                                                                 : 4;
        if (at + size > s.size()) {
            ADD_FAILURE() << name << " runs past the end";
            break;
        }
        Value value;
        switch (form->second) {
            case Form::Integer: value = static_cast<std::int32_t>(BigEndian(s, at)); break;
            case Form::Boolean:
                EXPECT_LE(static_cast<unsigned char>(s[at]), 1) << name;
                value = s[at] == 1;
                break;
            case Form::Colour: {
                char hex[8];
                std::snprintf(hex, sizeof hex, "#%02X%02X%02X", static_cast<unsigned char>(s[at]),
                              static_cast<unsigned char>(s[at + 1]), static_cast<unsigned char>(s[at + 2]));
                value = std::string(hex);
                break;
            }
            case Form::Text: {
                const std::size_t count = BigEndian(s, at);
                if (at + 4 + count > s.size()) {
                    ADD_FAILURE() << name << "'s text runs past the end";
                    return items;
                }
                value = s.substr(at + 4, count);
                at += count;
                break;
            }
        }
        at += size;
        items.push_back({name, s.substr(start, at - start), value});
    }
    return items;
}

std::vector<std::string> NamesOf(const std::vector<Item>& items) {
    std::vector<std::string> names;
    for (const Item& item : items) names.push_back(item.name);
    return names;
}

const fw::String& RecordOf(const char* name) {
    const fw::String* record = Window1::DesignRecord(name);
    if (!record) {
        ADD_FAILURE() << "no record for " << name;
        static const fw::String none;
        return none;
    }
    return *record;
}

const Item* Find(const std::vector<Item>& items, const std::string& name) {
    for (const Item& item : items)
        if (item.name == name) return &item;
    return nullptr;
}

TEST(DesignRecordsTest, ItemsAreStoredAsTheirExampleBytes) {
    struct Example {
        const char* record;
        const char* item;
        std::string bytes;
    };
    using namespace std::string_literals;
    const std::vector<Example> examples = {
        {"Window1", "Width", "Width \x00\x00\x02\x58"s},
        {"Label1", "Index", "Index \x80\x00\x00\x00"s},
        {"Label1", "LockLeft", "LockLeft \x01"s},
        {"Label1", "Name", "Name \x00\x00\x00\x06Label1"s},
        {"Label1", "TextColor", "TextColor \x00\x00\x00"s},
        {"TextAreaRight", "BackColor", "BackColor \xFF\xFF\xFF"s},
        {"Label1", "HelpTag", "HelpTag \x00\x00\x00\x00"s},
    };
    for (const Example& e : examples) {
        const auto items = ReadRecord(RecordOf(e.record));
        const Item* item = Find(items, e.item);
        ASSERT_NE(item, nullptr) << e.record << " has no " << e.item;
        EXPECT_EQ(item->bytes, e.bytes) << e.record << " " << e.item;
    }
}

TEST(DesignRecordsTest, EachRecordListsItsKindsItemsInTheFixedOrder) {
    const std::vector<std::string> label = {
        "Name", "Index", "Left", "Top", "Width", "Height", "LockLeft", "LockTop", "LockRight", "LockBottom",
        "TabPanelIndex", "TabIndex", "Text", "TextAlign", "TextColor", "Multiline", "Enabled", "Visible",
        "Selectable", "Transparent", "HelpTag", "AutoDeactivate", "TextFont", "Bold", "Italic", "Underline",
        "DataSource", "DataField", "InitialParent"};
    const std::vector<std::string> textField = {
        "Name", "Index", "Left", "Top", "Width", "Height", "LockLeft", "LockTop", "LockRight", "LockBottom",
        "TabPanelIndex", "TabIndex", "TabStop", "Border", "Password", "UseFocusRing", "TextColor", "BackColor",
        "Enabled", "Format", "Visible", "HelpTag", "AutoDeactivate", "TextFont", "Bold", "Italic", "Underline",
        "CueText", "Text", "Mask", "ReadOnly", "LimitText", "AcceptTabs", "Alignment",
        "AutomaticallyCheckSpelling", "DataSource", "DataField"};
    const std::vector<std::string> textArea = {
        "Name", "Index", "Left", "Top", "Width", "Height", "LockLeft", "LockTop", "LockRight", "LockBottom",
        "TabPanelIndex", "TabIndex", "TabStop", "Border", "Multiline", "ScrollbarHorizontal",
        "ScrollbarVertical", "Styled", "UseFocusRing", "TextColor", "BackColor", "Enabled", "Format", "Visible",
        "HelpTag", "AutoDeactivate", "HideSelection", "TextFont", "Bold", "Italic", "Underline", "Text", "Mask",
        "ReadOnly", "LimitText", "AcceptTabs", "Alignment", "AutomaticallyCheckSpelling", "DataSource",
        "DataField"};
    const std::vector<std::string> pushButton = {
        "Name", "Index", "Left", "Top", "Width", "Height", "LockLeft", "LockTop", "LockRight", "LockBottom",
        "TabPanelIndex", "TabIndex", "TabStop", "Caption", "Default", "Cancel", "Enabled", "Visible", "HelpTag",
        "AutoDeactivate", "ButtonStyle", "TextFont", "Bold", "Italic", "Underline", "InitialParent"};
    const std::vector<std::string> window = {
        "Placement", "Width", "Height", "MinWidth", "MinHeight", "MaxWidth", "MaxHeight", "Frame", "Composite",
        "HasBackColor", "BackColor", "Title", "Visible", "FullScreen", "MenuBarVisible", "CloseButton",
        "Resizeable", "LiveResize", "MaximizeButton", "MinimizeButton", "MacProcID"};

    const std::vector<std::pair<const char*, const std::vector<std::string>*>> records = {
        {"Window1", &window},
        {"Label1", &label},
        {"Label2", &label},
        {"TextFieldBaseLeft", &textField},
        {"TextFieldBaseRight", &textField},
        {"TextAreaLeft", &textArea},
        {"TextAreaRight", &textArea},
        {"PushButton1", &pushButton},
        {"PushButton2", &pushButton},
        {"Label3", &label},
        {"TextFieldNumPlacesRight", &textField},
        {"TextFieldNumPlacesLeft", &textField},
    };
    for (const auto& [name, order] : records) {
        const auto items = ReadRecord(RecordOf(name));
        EXPECT_EQ(NamesOf(items), *order) << name;
        // A control is found under the same name before and after its record.
        if (std::string(name) != "Window1") {
            ASSERT_FALSE(items.empty());
            EXPECT_EQ(items.front().value, Value(std::string(name)));
        }
    }
    EXPECT_EQ(Window1::DesignRecord("Window2"), nullptr);
}

TEST(DesignRecordsTest, TheWindowRecordHoldsTheDesignedValues) {
    const std::vector<std::pair<std::string, Value>> expected = {
        {"Placement", 0},          {"Width", 600},          {"Height", 349},
        {"MinWidth", 64},          {"MinHeight", 64},       {"MaxWidth", 32000},
        {"MaxHeight", 32000},      {"Frame", 0},            {"Composite", false},
        {"HasBackColor", false},   {"BackColor", std::string("#FFFFFF")}, {"Title", std::string("Radixel")},
        {"Visible", true},         {"FullScreen", false},   {"MenuBarVisible", true},
        {"CloseButton", true},     {"Resizeable", true},    {"LiveResize", true},
        {"MaximizeButton", false}, {"MinimizeButton", true}, {"MacProcID", 0},
    };
    const auto items = ReadRecord(RecordOf("Window1"));
    ASSERT_EQ(items.size(), expected.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].name, expected[i].first);
        EXPECT_EQ(items[i].value, expected[i].second) << expected[i].first;
    }
}

}  // namespace
}  // namespace radixel
