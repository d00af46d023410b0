// The information windows' design-time records, checked item by item against the design's tables.

#include "info/AboutWindow.hpp"
#include "info/HelpText.hpp"
#include "info/HelpWindow.hpp"
#include "DesignRecordCheck.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace radixel::records;
using namespace std::string_literals;

const fw::String& AboutRecord(const char* name) { return Required(radixel::AboutWindow::DesignRecord(name), name); }
const fw::String& HelpRecord(const char* name) { return Required(radixel::HelpWindow::DesignRecord(name), name); }

// Both windows show the emblem in a canvas of its own size; only the place differs.
Table EmblemCanvas(std::int32_t left, std::int32_t top) {
    return With(CanvasTable(), {{"Name", "Canvas1"s},
                                {"Left", left},
                                {"Top", top},
                                {"Width", 128},
                                {"Height", 128},
                                {"LockLeft", true},
                                {"LockTop", true},
                                {"LockRight", false},
                                {"LockBottom", false},
                                {"TabIndex", 3},
                                {"InitialParent", kEmpty}});
}

TEST(InfoDesignRecords, TheAboutWindowsRecordsHoldTheDesignedValues) {
    ExpectRecord("AboutWindow", AboutRecord("AboutWindow"),
                 With(WindowTable(), {{"Placement", 1},
                                      {"Width", 408},
                                      {"Height", 268},
                                      {"Frame", 3},
                                      {"HasBackColor", true},
                                      {"Title", "About Radixel"s},
                                      {"Resizeable", false},
                                      {"LiveResize", false},
                                      {"MaximizeButton", true}}));
    ExpectRecord("RoundRectangle1", AboutRecord("RoundRectangle1"),
                 With(RoundRectangleTable(), {{"Name", "RoundRectangle1"s},
                                              {"Left", 34},
                                              {"Top", 150},
                                              {"Width", 340},
                                              {"Height", 100},
                                              {"LockLeft", true},
                                              {"LockTop", true},
                                              {"LockRight", false},
                                              {"LockBottom", false},
                                              {"TabIndex", 4},
                                              {"FillColor", "#FFFFFF"s},
                                              {"BorderWidth", 3},
                                              {"BorderColor", "#1229FF"s},
                                              {"OvalWidth", 16},
                                              {"OvalHeight", 16},
                                              {"InitialParent", kEmpty}}));
    ExpectRecord("StaticText2", AboutRecord("StaticText2"),
                 With(LabelTable(), {{"Name", "StaticText2"s},
                                     {"Left", 49},
                                     {"Top", 169},
                                     {"Width", 303},
                                     {"Height", 62},
                                     {"LockLeft", false},
                                     {"LockTop", false},
                                     {"LockRight", false},
                                     {"LockBottom", false},
                                     {"TabIndex", 0},
                                     {"Text", "Radixel 4.3\r(c) 2026 Radixel authors\rMade by the Radixel team"s},
                                     {"TextColor", "#0D30FF"s},
                                     {"Multiline", true},
                                     {"Bold", true},
                                     {"InitialParent", "RoundRectangle1"s}}));
    ExpectRecord("Canvas1", AboutRecord("Canvas1"), EmblemCanvas(136, 10));
    EXPECT_EQ(radixel::AboutWindow::DesignRecord("HelpWindow"), nullptr);
}

TEST(InfoDesignRecords, TheHelpWindowsRecordsHoldTheDesignedValues) {
    ExpectRecord("HelpWindow", HelpRecord("HelpWindow"),
                 With(WindowTable(), {{"Placement", 3},
                                      {"Width", 586},
                                      {"Height", 530},
                                      {"Frame", 0},
                                      {"HasBackColor", true},
                                      {"Title", "Radixel Help"s},
                                      {"Resizeable", true},
                                      {"LiveResize", false},
                                      {"MaximizeButton", false}}));
    ExpectRecord("TextAreaHelp", HelpRecord("TextAreaHelp"),
                 With(TextAreaTable(), {{"Name", "TextAreaHelp"s},
                                        {"Left", 20},
                                        {"Top", 154},
                                        {"Width", 546},
                                        {"Height", 354},
                                        {"LockLeft", true},
                                        {"LockTop", true},
                                        {"LockRight", true},
                                        {"LockBottom", true},
                                        {"TabIndex", 2},
                                        {"Multiline", true},
                                        {"TextColor", "#000000"s},
                                        {"Bold", false},
                                        {"Text", radixel::HelpText().bytes()},
                                        {"ReadOnly", true},
                                        {"AutomaticallyCheckSpelling", true}}));
    ExpectRecord("Canvas1", HelpRecord("Canvas1"), EmblemCanvas(220, 14));
    EXPECT_EQ(radixel::HelpWindow::DesignRecord("AboutWindow"), nullptr);
}

}  // namespace
