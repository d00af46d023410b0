// A text area prints its own text: the printer takes the area's document as the area shows it.

#include "framework/Events.hpp"
#include "framework/Exceptions.hpp"
#include "framework/Object.hpp"
#include "framework/StyledTextPrinter.hpp"
#include "framework/TextArea.hpp"
#include "framework/Window.hpp"
#include "RecordingGraphics.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

class AreaWindow : public fw::Window {
public:
    static const fw::ClassTable& Lookup() {
        static const fw::ClassTable table = [] {
            fw::ClassTable t = fw::MakeClassTable<AreaWindow>("Tests.AreaWindow", &fw::Window::Lookup());
            fw::AddEvent(t, fw::events::WindowCreateControls, &AreaWindow::CreateControls);
            return t;
        }();
        return table;
    }
    const fw::ClassTable& classTable() const override { return Lookup(); }

    void CreateControls() {
        auto control = New(fw::TextArea::Lookup());
        control->Constructor();
        AddControl("Area", control);
    }
    std::shared_ptr<fw::TextArea> area() const {
        return fw::RuntimeCheckCast<fw::TextArea>(ControlByName("Area"), fw::TextArea::Lookup());
    }
};

class TextAreaPrintingTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::static_pointer_cast<AreaWindow>(fw::RuntimeNewObject(AreaWindow::Lookup()));
        window->Constructor();
        ASSERT_NE(window->area(), nullptr);
    }
    void TearDown() override { window->Close(); }
    std::shared_ptr<AreaWindow> window;
};

TEST_F(TextAreaPrintingTest, PrintsTheAreasLinesWrappedAtThePrintWidth) {
    auto area = window->area();
    // Shown unwrapped beside a horizontal bar; printed, the page's width still wraps it.
    area->SetScrollBarHorizontal(true);
    std::string paragraph;
    for (int i = 1; i <= 60; ++i) paragraph += (i > 1 ? " word" : "word") + std::to_string(i);
    area->SetText(fw::String("first line\r" + paragraph + "\rlast line"));

    RecordingGraphics page(200, 100000);
    auto printer = area->styledTextPrinter(page, 200);
    ASSERT_NE(printer, nullptr);
    printer->DrawBlock(0, 0, 100000);
    EXPECT_TRUE(printer->Eof());

    std::string printed;
    int lines = 0;
    double lastBaseline = -1;
    for (const PageEvent& e : page.log) {
        if (e.kind != PageEvent::Text) continue;
        if (e.at.y() != lastBaseline) {
            ++lines;
            if (!printed.empty() && printed.back() != ' ') printed += ' ';
            lastBaseline = e.at.y();
        }
        printed += e.text.toStdString();
    }
    while (!printed.empty() && printed.back() == ' ') printed.pop_back();
    EXPECT_EQ(printed, "first line " + paragraph + " last line");
    EXPECT_GT(lines, 3);
    EXPECT_EQ(area->Text().bytes(), "first line\r" + paragraph + "\rlast line");
}

TEST_F(TextAreaPrintingTest, AreaNotYetConstructedRaises) {
    auto unbuilt = fw::RuntimeCheckCast<fw::TextArea>(window->New(fw::TextArea::Lookup()), fw::TextArea::Lookup());
    RecordingGraphics page(200, 300);
    EXPECT_THROW(unbuilt->styledTextPrinter(page, 200), fw::NilObjectException);
}

}  // namespace
