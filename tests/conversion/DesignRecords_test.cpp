// The window's design-time records, read back byte by byte the way the framework must read
// them, and checked item by item against the design's tables.

#include "conversion/Window1.hpp"
#include "DesignRecordCheck.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace radixel {
namespace {

using namespace records;
using namespace std::string_literals;

const fw::String& RecordOf(const char* name) { return Required(Window1::DesignRecord(name), name); }

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
    const std::vector<Example> examples = {
        {"Window1", "Width", "Width \x00\x00\x02\x58"s},    {"Label1", "Index", "Index \x80\x00\x00\x00"s},
        {"Label1", "LockLeft", "LockLeft \x01"s},           {"Label1", "Name", "Name \x00\x00\x00\x06Label1"s},
        {"Label1", "TextColor", "TextColor \x00\x00\x00"s}, {"TextAreaRight", "BackColor", "BackColor \xFF\xFF\xFF"s},
        {"Label1", "HelpTag", "HelpTag \x00\x00\x00\x00"s},
    };
    for (const Example& e : examples) {
        const auto items = ReadRecord(RecordOf(e.record));
        const Item* item = Find(items, e.item);
        ASSERT_NE(item, nullptr) << e.record << " has no " << e.item;
        EXPECT_EQ(item->bytes, e.bytes) << e.record << " " << e.item;
    }
}

// The conversion window's controls share their kind's values; each has its own place, size,
// tab index and text.
struct ControlDesign {
    const char* name;
    const Table* kind;
    std::int32_t left, top, width, height, tabIndex;
    const char* text;
};

Table ExpectedRecordOf(const ControlDesign& c) {
    std::vector<std::pair<std::string, Value>> values = {
        {"Name", std::string(c.name)}, {"Left", c.left},         {"Top", c.top},     {"Width", c.width},
        {"Height", c.height},          {"TabIndex", c.tabIndex}, {"LockLeft", true}, {"LockTop", true},
        {"LockRight", false},          {"LockBottom", false},    {"Bold", false},
    };
    const auto add = [&](std::vector<std::pair<std::string, Value>> more) {
        values.insert(values.end(), more.begin(), more.end());
    };
    if (c.kind == &LabelTable()) {
        add({{"Text", std::string(c.text)},
             {"TextColor", "#000000"s},
             {"Multiline", false},
             {"InitialParent", kEmpty}});
    } else if (c.kind == &TextFieldTable()) {
        add({{"Text", kEmpty}, {"TextColor", "#000000"s}, {"ReadOnly", false}, {"AutomaticallyCheckSpelling", false}});
    } else if (c.kind == &TextAreaTable()) {
        add({{"Text", kEmpty},
             {"TextColor", "#000000"s},
             {"Multiline", true},
             {"ReadOnly", false},
             {"AutomaticallyCheckSpelling", true}});
    } else {
        add({{"Caption", std::string(c.text)}, {"InitialParent", kEmpty}});
    }
    return With(*c.kind, values);
}

TEST(DesignRecordsTest, EveryRecordHoldsTheDesignedValues) {
    ExpectRecord("Window1", RecordOf("Window1"),
                 With(WindowTable(), {{"Placement", 0},
                                      {"Width", 600},
                                      {"Height", 349},
                                      {"Frame", 0},
                                      {"HasBackColor", false},
                                      {"Title", "Radixel"s},
                                      {"Resizeable", true},
                                      {"LiveResize", true},
                                      {"MaximizeButton", false}}));
    const std::vector<ControlDesign> controls = {
        {"Label1", &LabelTable(), 20, 32, 69, 20, 0, "Base:"},
        {"Label2", &LabelTable(), 372, 32, 69, 20, 1, "Base:"},
        {"TextFieldBaseLeft", &TextFieldTable(), 64, 30, 80, 22, 2, ""},
        {"TextFieldBaseRight", &TextFieldTable(), 420, 30, 80, 22, 3, ""},
        {"TextAreaLeft", &TextAreaTable(), 20, 77, 208, 196, 4, ""},
        {"TextAreaRight", &TextAreaTable(), 372, 77, 208, 196, 5, ""},
        {"PushButton1", &PushButtonTable(), 260, 130, 80, 20, 6, "->"},
        {"PushButton2", &PushButtonTable(), 260, 201, 80, 20, 7, "<-"},
        {"Label3", &LabelTable(), 188, 309, 244, 20, 8, "Limit to places after base point"},
        {"TextFieldNumPlacesRight", &TextFieldTable(), 436, 308, 80, 22, 9, ""},
        {"TextFieldNumPlacesLeft", &TextFieldTable(), 64, 308, 80, 22, 10, ""},
    };
    for (const ControlDesign& control : controls)
        ExpectRecord(control.name, RecordOf(control.name), ExpectedRecordOf(control));
    EXPECT_EQ(Window1::DesignRecord("Window2"), nullptr);
}

}  // namespace
}  // namespace radixel
