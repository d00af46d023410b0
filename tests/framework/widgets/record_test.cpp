#include "WidgetTestSupport.hpp"

#include "framework/Canvas.hpp"
#include "framework/Label.hpp"
#include "framework/Property.hpp"
#include "framework/PropertyRecord.hpp"
#include "framework/RoundRectangle.hpp"
#include "framework/TextField.hpp"

#include <cstdio>
#include <set>
#include <sstream>

using namespace widgettest;

namespace {

std::string hex(std::string_view bytes) {
    std::string out;
    for (char c : bytes) {
        char two[4];
        std::snprintf(two, sizeof two, "%02X ", static_cast<unsigned char>(c));
        out += two;
    }
    if (!out.empty()) out.pop_back();
    return out;
}

std::string describe(const fw::PropertyValue& value) {
    std::ostringstream out;
    if (auto* i = std::get_if<std::int32_t>(&value)) out << "integer " << *i;
    else if (auto* b = std::get_if<bool>(&value)) out << "Boolean " << (*b ? "true" : "false");
    else if (auto* c = std::get_if<fw::Color>(&value))
        out << "colour " << hex(std::string{char(c->red), char(c->green), char(c->blue)});
    else out << "text \"" << std::get<fw::String>(value).bytes() << "\"";
    return out.str();
}

fw::PropertyValue valueOf(const fw::Object& target, std::string_view name) {
    const fw::PropertyInfo* property = target.classTable().findProperty(name);
    if (!property) throw std::runtime_error("no property " + std::string(name));
    return property->get(target);
}

}  // namespace

TEST(RecordBytes, ItemsAreNameBlankAndTheValueInTheFormOfItsType) {
    struct Case {
        fw::RecordItem item;
        std::string bytes;
    };
    const Case cases[] = {
        {{"Width", 600}, "57 69 64 74 68 20 00 00 02 58"},
        {{"Index", fw::NoControlIndex}, "49 6E 64 65 78 20 80 00 00 00"},
        {{"Top", -2}, "54 6F 70 20 FF FF FF FE"},
        {{"LockLeft", true}, "4C 6F 63 6B 4C 65 66 74 20 01"},
        {{"Bold", false}, "42 6F 6C 64 20 00"},
        {{"Name", "Label1"}, "4E 61 6D 65 20 00 00 00 06 4C 61 62 65 6C 31"},
        {{"TextColor", fw::Color::FromRGB(0x000000)}, "54 65 78 74 43 6F 6C 6F 72 20 00 00 00"},
        {{"BorderColor", fw::Color::FromRGB(0x1229FF)}, "42 6F 72 64 65 72 43 6F 6C 6F 72 20 12 29 FF"},
        {{"HelpTag", ""}, "48 65 6C 70 54 61 67 20 00 00 00 00"},
        {{"Text", "\xC3\xBC\r"}, "54 65 78 74 20 00 00 00 03 C3 BC 0D"},
        {{"Text", std::string_view("a\0b", 3)}, "54 65 78 74 20 00 00 00 03 61 00 62"},
    };
    for (const Case& c : cases) {
        std::string bytes;
        c.item.writeTo(bytes);
        EXPECT_EQ(hex(bytes), c.bytes);
    }
    const fw::String record = fw::Record({{"Left", 1}, {"Visible", true}});
    EXPECT_EQ(hex(record.view()), "4C 65 66 74 20 00 00 00 01 56 69 73 69 62 6C 65 20 01") << "items back to back";
    EXPECT_THROW(fw::Record({{"Two words", 1}}), fw::RuntimeException);
    EXPECT_THROW(fw::Record({{"", 1}}), fw::RuntimeException);
}

using RecordReading = WidgetTest;

// Each class's record, read back through its property table. Names are written as the
// program's records spell them (Multiline, ScrollbarHorizontal, ScrollbarVertical, MacProcID),
// which differ in letter case from the framework's properties.
TEST_F(RecordReading, EveryPropertyOfEveryClassRoundTrips) {
    using Row = std::pair<const char*, fw::PropertyValue>;
    const fw::Color red = fw::Color::FromRGB(0xFF0000), blue = fw::Color::FromRGB(0x0D30FF);
    const std::vector<Row> control = {{"Name", fw::String("C")},
                                      {"Index", std::int32_t{3}},
                                      {"Left", std::int32_t{11}},
                                      {"Top", std::int32_t{12}},
                                      {"Width", std::int32_t{130}},
                                      {"Height", std::int32_t{44}},
                                      {"LockLeft", false},
                                      {"LockTop", false},
                                      {"LockRight", true},
                                      {"LockBottom", true},
                                      {"TabPanelIndex", std::int32_t{2}},
                                      {"TabIndex", std::int32_t{7}},
                                      {"Enabled", false},
                                      {"Visible", false},
                                      {"HelpTag", fw::String("tip")},
                                      {"AutoDeactivate", false},
                                      {"InitialParent", fw::String("Host")}};
    const std::vector<Row> font = {
        {"TextFont", fw::String("Courier")}, {"Bold", true}, {"Italic", true}, {"Underline", true}};
    const std::vector<Row> data = {{"DataSource", fw::String("db")}, {"DataField", fw::String("col")}};
    const std::vector<Row> field = {{"TabStop", false},
                                    {"Border", false},
                                    {"UseFocusRing", false},
                                    {"TextColor", red},
                                    {"BackColor", blue},
                                    {"Format", fw::String("#.##")},
                                    {"Text", fw::String("typed \xE2\x82\xAC")},
                                    {"Mask", fw::String("999")},
                                    {"ReadOnly", true},
                                    {"LimitText", std::int32_t{40}},
                                    {"AcceptTabs", true},
                                    {"Alignment", std::int32_t{2}},
                                    {"AutomaticallyCheckSpelling", true}};
    auto join = [](std::initializer_list<std::vector<Row>> parts) {
        std::vector<Row> rows;
        for (const auto& part : parts) rows.insert(rows.end(), part.begin(), part.end());
        return rows;
    };
    struct Target {
        const fw::ClassTable& cls;
        std::vector<Row> rows;
    };
    const Target targets[] = {
        {fw::Window::Lookup(),
         {{"Placement", std::int32_t{3}},
          {"Width", std::int32_t{500}},
          {"Height", std::int32_t{400}},
          {"MinWidth", std::int32_t{100}},
          {"MinHeight", std::int32_t{90}},
          {"MaxWidth", std::int32_t{1000}},
          {"MaxHeight", std::int32_t{900}},
          {"Frame", std::int32_t{3}},
          {"Composite", true},
          {"HasBackColor", true},
          {"BackColor", blue},
          {"Title", fw::String("T\xC3\xADtulo")},
          {"Visible", false},
          {"FullScreen", true},
          {"MenuBarVisible", false},
          {"CloseButton", false},
          {"Resizeable", false},
          {"LiveResize", false},
          {"MaximizeButton", false},
          {"MinimizeButton", false},
          {"MacProcID", std::int32_t{7}}}},
        {fw::Label::Lookup(), join({control,
                                    font,
                                    data,
                                    {{"Text", fw::String("Radixel 4.3\rline two\rline three")},
                                     {"TextAlign", std::int32_t{3}},
                                     {"TextColor", blue},
                                     {"Multiline", true},
                                     {"Selectable", true},
                                     {"Transparent", true}}})},
        {fw::TextField::Lookup(),
         join({control, font, data, field, {{"Password", true}, {"CueText", fw::String("cue")}}})},
        {fw::TextArea::Lookup(), join({control,
                                       font,
                                       data,
                                       field,
                                       {{"Multiline", false},
                                        {"ScrollbarHorizontal", true},
                                        {"ScrollbarVertical", false},
                                        {"Styled", false},
                                        {"HideSelection", false}}})},
        {fw::PushButton::Lookup(), join({control,
                                         font,
                                         {{"TabStop", false},
                                          {"Caption", fw::String("->")},
                                          {"Default", true},
                                          {"Cancel", true},
                                          {"ButtonStyle", std::int32_t{4}}}})},
        {fw::RoundRectangle::Lookup(), join({control,
                                             {{"FillColor", red},
                                              {"BorderWidth", std::int32_t{3}},
                                              {"BorderColor", blue},
                                              {"OvalWidth", std::int32_t{16}},
                                              {"OvalHeight", std::int32_t{12}}}})},
        {fw::Canvas::Lookup(), join({control,
                                     {{"TabStop", false},
                                      {"UseFocusRing", false},
                                      {"AcceptFocus", true},
                                      {"AcceptTabs", true},
                                      {"DoubleBuffer", true},
                                      {"EraseBackground", false}}})},
    };

    auto window = Scratch();
    window->add<fw::RoundRectangle>("Host", fw::String());
    for (const Target& target : targets) {
        SCOPED_TRACE(target.cls.fullName);
        std::shared_ptr<fw::Object> object;
        if (&target.cls == &fw::Window::Lookup()) {
            object = fw::RuntimeNewObject(ScratchWindow::Lookup());
            std::static_pointer_cast<fw::Window>(object)->Constructor();
        } else {
            auto created = window->New(target.cls);
            created->Constructor();
            window->AddControl("C", created);
            object = created;
        }
        std::string record;
        for (const auto& [name, value] : target.rows) {
            std::visit(
                [&, name = name](const auto& v) {
                    using V = std::decay_t<decltype(v)>;
                    if constexpr (std::is_same_v<V, fw::String>) fw::RecordItem(name, v.view()).writeTo(record);
                    else fw::RecordItem(name, v).writeTo(record);
                },
                value);
        }
        fw::SetProperties(object, fw::String(record));

        std::set<std::string> covered;
        for (const auto& [name, value] : target.rows) {
            EXPECT_EQ(describe(valueOf(*object, name)), describe(value)) << name;
            covered.insert(target.cls.findProperty(name)->name);
        }
        for (const fw::ClassTable* cls = &target.cls; cls; cls = cls->parent)
            for (const fw::PropertyInfo& property : cls->properties)
                EXPECT_TRUE(covered.count(property.name)) << property.name << " is missing from the round trip";
    }
}

TEST_F(RecordReading, NamesMatchWithoutLetterCaseAndTheFourSpellingsReachTheirProperties) {
    auto window = Scratch();
    auto area = window->add<fw::TextArea>(
        "Area",
        fw::Record({{"MULTILINE", false}, {"scrollbarhorizontal", true}, {"ScrollbarVertical", false}, {"wIdTh", 77}}));
    EXPECT_FALSE(area->MultiLine());
    EXPECT_TRUE(area->ScrollBarHorizontal());
    EXPECT_FALSE(area->ScrollBarVertical());
    EXPECT_EQ(area->Width(), 77);
    auto label = window->add<fw::Label>("Label", fw::Record({{"Multiline", true}}));
    EXPECT_TRUE(label->MultiLine());
    fw::SetProperties(*window, fw::Record({{"MacProcID", 5}}));
    EXPECT_EQ(window->MacProcId(), 5);
}

TEST_F(RecordReading, ATextValueIsSkippedByItsByteCountWhateverItHolds) {
    auto window = Scratch();
    const char tricky[] = "Width \x00\x00\x00\x01 Visible \x01\rLine\r\nand \xC3\xA9t\xC3\xA9";
    const std::string text(tricky, sizeof tricky - 1);
    auto label = window->add<fw::Label>(
        "Label", fw::Record({{"HelpTag", ""}, {"Text", std::string_view(text)}, {"Width", 99}, {"DataField", ""}}));
    EXPECT_EQ(label->Text().bytes(), text);
    EXPECT_EQ(label->Width(), 99);
    EXPECT_TRUE(label->HelpTag().empty());
}

TEST_F(RecordReading, ARecordLeavesWhatItDoesNotListAsTheBuildingCodeSetIt) {
    auto window = Scratch();
    auto label = window->New(fw::Label::Lookup());
    label->Constructor();
    window->AddControl("StaticText2", label);
    auto found = fw::RuntimeCheckCast<fw::Label>(window->ControlByName("StaticText2"), fw::Label::Lookup());
    found->SetTextSize(14.0f);
    found->SetTextUnit(fw::FontUnits::Default);
    fw::SetProperties(found, fw::Record({{"Name", "StaticText2"}, {"Bold", true}}));
    EXPECT_EQ(found->TextSize(), 14.0f);
    EXPECT_EQ(window->ControlByName("StaticText2"), found) << "found under the same name after its record";
    EXPECT_EQ(found->widget()->font().pixelSize(), 14) << "the default unit is the window's pixel";
    EXPECT_TRUE(found->widget()->font().bold());
}

TEST_F(RecordReading, MalformedRecordsRaiseNamingTheItemAndItsOffsetAndChangeNothing) {
    const std::string width = fw::Record({{"Width", 250}}).bytes();  // 10 bytes
    struct Case {
        std::string record;
        std::string message;
    };
    const Case cases[] = {
        {"Widht " + std::string("\0\0\0\1", 4), "the item \"Widht\" at byte 0 is no property of Tests.ScratchWindow"},
        {width + "Visible", "the item \"Visible\" at byte 10 has no blank after its name before the record ends"},
        {width + " \x01", "the item \"\" at byte 10 has an empty name"},
        {"Width " + std::string("\0\2", 2),
         "the item \"Width\" at byte 0 runs past the end of the record: an integer needs 4 bytes, 2 remain"},
        {width + "Visible ",
         "the item \"Visible\" at byte 10 runs past the end of the record: a Boolean needs 1 byte, 0 remain"},
        {width + "Visible \x02",
         "the item \"Visible\" at byte 10 has the Boolean byte 0x02, which is neither 0x00 nor 0x01"},
        {width + "BackColor \x01\x02",
         "the item \"BackColor\" at byte 10 runs past the end of the record: a colour needs 3 bytes, 2 remain"},
        {width + std::string("Title \0\0", 8),
         "the item \"Title\" at byte 10 runs past the end of the record: a text's byte count needs 4 bytes, 2 remain"},
        {width + "Title " + std::string("\0\0\0\x09", 4) + "abc",
         "the item \"Title\" at byte 10 runs past the end of the record: a text of 9 bytes needs 9 bytes, 3 remain"},
        {"Title \xFF\xFF\xFF\xFF",
         "the item \"Title\" at byte 0 runs past the end of the record: a text of 4294967295 bytes needs 4294967295 "
         "bytes, 0 remain"},
        {std::string("\x01\xFFz", 3), "the item \"\\x01\\xFFz\" at byte 0 has no blank after its name"},
    };
    ScratchWindow::layout = [](ScratchWindow& w) {
        fw::SetProperties(w, fw::Record({{"Width", 300}, {"Title", "Kept"}}));
    };
    auto window = Scratch();
    for (const Case& c : cases) {
        SCOPED_TRACE(hex(c.record));
        try {
            fw::SetProperties(*window, fw::String(c.record));
            ADD_FAILURE() << "no exception";
        } catch (const fw::RuntimeException& e) {
            EXPECT_NE(e.Message().bytes().find(c.message), std::string::npos) << e.Message().bytes();
        }
        EXPECT_EQ(window->Width(), 300) << "the valid items before the fault are not applied either";
        EXPECT_EQ(window->Title().bytes(), "Kept");
    }
    EXPECT_THROW(fw::SetProperties(std::shared_ptr<fw::Object>(), fw::Record({{"Width", 1}})), fw::NilObjectException);
    EXPECT_NO_THROW(fw::SetProperties(*window, fw::String())) << "the empty record sets nothing";
}
