#pragma once
// The windows' design-time records read back byte by byte the way the framework must read them
// (a value's form follows from its property's type, nothing else marks it), and checked item by
// item against the design's tables, so that a changed value fails with its record's and its
// item's name.

#include "framework/String.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace radixel::records {

enum class Form { Integer, Boolean, Text, Colour };

inline const std::map<std::string, Form>& Forms() {
    static const std::map<std::string, Form> forms = {
        {"Placement", Form::Integer},
        {"Width", Form::Integer},
        {"Height", Form::Integer},
        {"MinWidth", Form::Integer},
        {"MinHeight", Form::Integer},
        {"MaxWidth", Form::Integer},
        {"MaxHeight", Form::Integer},
        {"Frame", Form::Integer},
        {"Composite", Form::Boolean},
        {"HasBackColor", Form::Boolean},
        {"BackColor", Form::Colour},
        {"Title", Form::Text},
        {"Visible", Form::Boolean},
        {"FullScreen", Form::Boolean},
        {"MenuBarVisible", Form::Boolean},
        {"CloseButton", Form::Boolean},
        {"Resizeable", Form::Boolean},
        {"LiveResize", Form::Boolean},
        {"MaximizeButton", Form::Boolean},
        {"MinimizeButton", Form::Boolean},
        {"MacProcID", Form::Integer},
        {"Name", Form::Text},
        {"Index", Form::Integer},
        {"Left", Form::Integer},
        {"Top", Form::Integer},
        {"LockLeft", Form::Boolean},
        {"LockTop", Form::Boolean},
        {"LockRight", Form::Boolean},
        {"LockBottom", Form::Boolean},
        {"TabPanelIndex", Form::Integer},
        {"TabIndex", Form::Integer},
        {"TabStop", Form::Boolean},
        {"Text", Form::Text},
        {"TextAlign", Form::Integer},
        {"Alignment", Form::Integer},
        {"TextColor", Form::Colour},
        {"Multiline", Form::Boolean},
        {"Enabled", Form::Boolean},
        {"Selectable", Form::Boolean},
        {"Transparent", Form::Boolean},
        {"HelpTag", Form::Text},
        {"AutoDeactivate", Form::Boolean},
        {"TextFont", Form::Text},
        {"Bold", Form::Boolean},
        {"Italic", Form::Boolean},
        {"Underline", Form::Boolean},
        {"DataSource", Form::Text},
        {"DataField", Form::Text},
        {"InitialParent", Form::Text},
        {"Border", Form::Boolean},
        {"Password", Form::Boolean},
        {"UseFocusRing", Form::Boolean},
        {"Format", Form::Text},
        {"CueText", Form::Text},
        {"Mask", Form::Text},
        {"ReadOnly", Form::Boolean},
        {"LimitText", Form::Integer},
        {"AcceptTabs", Form::Boolean},
        {"AutomaticallyCheckSpelling", Form::Boolean},
        {"ScrollbarHorizontal", Form::Boolean},
        {"ScrollbarVertical", Form::Boolean},
        {"Styled", Form::Boolean},
        {"HideSelection", Form::Boolean},
        {"Caption", Form::Text},
        {"Default", Form::Boolean},
        {"Cancel", Form::Boolean},
        {"ButtonStyle", Form::Integer},
        {"FillColor", Form::Colour},
        {"BorderWidth", Form::Integer},
        {"BorderColor", Form::Colour},
        {"OvalWidth", Form::Integer},
        {"OvalHeight", Form::Integer},
        {"AcceptFocus", Form::Boolean},
        {"DoubleBuffer", Form::Boolean},
        {"EraseBackground", Form::Boolean},
    };
    return forms;
}

using Value = std::variant<std::int32_t, bool, std::string>;  // colours as "#RRGGBB"

struct Item {
    std::string name;
    std::string bytes;  // the whole item, name to end of value
    Value value;
};

inline std::uint32_t BigEndian(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(s[at + i]);
    return v;
}

// Fails the test at the first byte that does not fit, and returns what was read up to there.
inline std::vector<Item> ReadRecord(const fw::String& record) {
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
        auto form = Forms().find(name);
        if (form == Forms().end()) {
            ADD_FAILURE() << "unknown property \"" << name << "\" at byte " << at;
            break;
        }
        at = blank + 1;
        const std::size_t size = form->second == Form::Integer   ? 4
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

// The record a window gives for a name, or an empty one and a failure when it gives none.
inline const fw::String& Required(const fw::String* record, const char* name) {
    if (!record) {
        ADD_FAILURE() << "no record for " << name;
        static const fw::String none;
        return none;
    }
    return *record;
}

// An item of a kind's table: its value where the design gives one value for every record of
// the kind, nothing where each record gives its own.
using Expected = std::pair<std::string, std::optional<Value>>;
using Table = std::vector<Expected>;

using namespace std::string_literals;

inline constexpr std::int32_t kNoIndex = std::numeric_limits<std::int32_t>::min();
inline const std::string kEmpty;

// A kind's table with one record's own values put in. Each value must name an item of the kind,
// and every item left open by the kind must be given.
inline Table With(Table kind, const std::vector<std::pair<std::string, Value>>& values) {
    for (const auto& [name, value] : values) {
        bool found = false;
        for (Expected& item : kind) {
            if (item.first == name) {
                item.second = value;
                found = true;
            }
        }
        if (!found) ADD_FAILURE() << "the table has no item " << name;
    }
    for (const Expected& item : kind)
        if (!item.second) ADD_FAILURE() << "no value given for " << item.first;
    return kind;
}

// The record holds the table's items in its order, each with its value.
inline void ExpectRecord(const std::string& recordName, const fw::String& record, const Table& expected) {
    const std::vector<Item> items = ReadRecord(record);
    for (std::size_t i = 0; i < items.size() && i < expected.size(); ++i) {
        const auto& [name, value] = expected[i];
        if (items[i].name != name) {
            ADD_FAILURE() << recordName << ": item " << i << " is " << items[i].name << " where " << name << " belongs";
            return;
        }
        if (value) {
            EXPECT_EQ(items[i].value, *value) << recordName << " " << name;
        }
    }
    for (std::size_t i = expected.size(); i < items.size(); ++i)
        ADD_FAILURE() << recordName << " has " << items[i].name << " past its last item";
    for (std::size_t i = items.size(); i < expected.size(); ++i)
        ADD_FAILURE() << recordName << " lacks " << expected[i].first;
}

// The kinds' tables: every item in record order, with the values the design gives for every
// record of the kind.

inline const Table& WindowTable() {
    static const Table table = {
        {"Placement", {}},
        {"Width", {}},
        {"Height", {}},
        {"MinWidth", 64},
        {"MinHeight", 64},
        {"MaxWidth", 32000},
        {"MaxHeight", 32000},
        {"Frame", {}},
        {"Composite", false},
        {"HasBackColor", {}},
        {"BackColor", "#FFFFFF"s},
        {"Title", {}},
        {"Visible", true},
        {"FullScreen", false},
        {"MenuBarVisible", true},
        {"CloseButton", true},
        {"Resizeable", {}},
        {"LiveResize", {}},
        {"MaximizeButton", {}},
        {"MinimizeButton", true},
        {"MacProcID", 0},
    };
    return table;
}

// A control kind's table: every control record begins with the same items, then the kind's own.
inline Table ControlTable(const Table& own) {
    Table table = {{"Name", {}},   {"Index", kNoIndex}, {"Left", {}},    {"Top", {}},       {"Width", {}},
                   {"Height", {}}, {"LockLeft", {}},    {"LockTop", {}}, {"LockRight", {}}, {"LockBottom", {}}};
    table.insert(table.end(), own.begin(), own.end());
    return table;
}

inline const Table& LabelTable() {
    static const Table table = ControlTable({
        {"TabPanelIndex", 0},    {"TabIndex", {}},       {"Text", {}},          {"TextAlign", 0},
        {"TextColor", {}},       {"Multiline", {}},      {"Enabled", true},     {"Visible", true},
        {"Selectable", false},   {"Transparent", false}, {"HelpTag", kEmpty},   {"AutoDeactivate", true},
        {"TextFont", "System"s}, {"Bold", {}},           {"Italic", false},     {"Underline", false},
        {"DataSource", kEmpty},  {"DataField", kEmpty},  {"InitialParent", {}},
    });
    return table;
}

inline const Table& TextFieldTable() {
    static const Table table = ControlTable({
        {"TabPanelIndex", 0},
        {"TabIndex", {}},
        {"TabStop", true},
        {"Border", true},
        {"Password", false},
        {"UseFocusRing", true},
        {"TextColor", {}},
        {"BackColor", "#FFFFFF"s},
        {"Enabled", true},
        {"Format", kEmpty},
        {"Visible", true},
        {"HelpTag", kEmpty},
        {"AutoDeactivate", true},
        {"TextFont", "System"s},
        {"Bold", {}},
        {"Italic", false},
        {"Underline", false},
        {"CueText", kEmpty},
        {"Text", {}},
        {"Mask", kEmpty},
        {"ReadOnly", {}},
        {"LimitText", 0},
        {"AcceptTabs", false},
        {"Alignment", 0},
        {"AutomaticallyCheckSpelling", {}},
        {"DataSource", kEmpty},
        {"DataField", kEmpty},
    });
    return table;
}

inline const Table& TextAreaTable() {
    static const Table table = ControlTable({
        {"TabPanelIndex", 0},
        {"TabIndex", {}},
        {"TabStop", true},
        {"Border", true},
        {"Multiline", {}},
        {"ScrollbarHorizontal", false},
        {"ScrollbarVertical", true},
        {"Styled", true},
        {"UseFocusRing", true},
        {"TextColor", {}},
        {"BackColor", "#FFFFFF"s},
        {"Enabled", true},
        {"Format", kEmpty},
        {"Visible", true},
        {"HelpTag", kEmpty},
        {"AutoDeactivate", true},
        {"HideSelection", true},
        {"TextFont", "System"s},
        {"Bold", {}},
        {"Italic", false},
        {"Underline", false},
        {"Text", {}},
        {"Mask", kEmpty},
        {"ReadOnly", {}},
        {"LimitText", 0},
        {"AcceptTabs", false},
        {"Alignment", 0},
        {"AutomaticallyCheckSpelling", {}},
        {"DataSource", kEmpty},
        {"DataField", kEmpty},
    });
    return table;
}

inline const Table& PushButtonTable() {
    static const Table table = ControlTable({
        {"TabPanelIndex", 0},
        {"TabIndex", {}},
        {"TabStop", true},
        {"Caption", {}},
        {"Default", false},
        {"Cancel", false},
        {"Enabled", true},
        {"Visible", true},
        {"HelpTag", kEmpty},
        {"AutoDeactivate", true},
        {"ButtonStyle", 0},
        {"TextFont", "System"s},
        {"Bold", {}},
        {"Italic", false},
        {"Underline", false},
        {"InitialParent", {}},
    });
    return table;
}

// TabIndex before TabPanelIndex, unlike every other kind.
inline const Table& RoundRectangleTable() {
    static const Table table = ControlTable({
        {"TabIndex", {}},
        {"TabPanelIndex", 0},
        {"Visible", true},
        {"HelpTag", kEmpty},
        {"AutoDeactivate", true},
        {"Enabled", true},
        {"FillColor", {}},
        {"BorderWidth", {}},
        {"BorderColor", {}},
        {"OvalWidth", {}},
        {"OvalHeight", {}},
        {"InitialParent", {}},
    });
    return table;
}

inline const Table& CanvasTable() {
    static const Table table = ControlTable({
        {"TabPanelIndex", 0},
        {"TabIndex", {}},
        {"TabStop", true},
        {"Visible", true},
        {"HelpTag", kEmpty},
        {"AutoDeactivate", true},
        {"Enabled", true},
        {"UseFocusRing", true},
        {"AcceptFocus", false},
        {"AcceptTabs", false},
        {"DoubleBuffer", false},
        {"EraseBackground", true},
        {"InitialParent", {}},
    });
    return table;
}

}  // namespace radixel::records
