#include "InfoWindowsFixture.hpp"

#include "info/AboutWindow.hpp"
#include "info/HelpText.hpp"
#include "info/HelpWindow.hpp"
#include "info/Kettlewing128.hpp"

#include "framework/Canvas.hpp"
#include "framework/Color.hpp"
#include "framework/Exceptions.hpp"
#include "framework/Label.hpp"
#include "framework/Picture.hpp"
#include "framework/RectControl.hpp"
#include "framework/RoundRectangle.hpp"
#include "framework/TextArea.hpp"
#include "framework/TextView.hpp"
#include "framework/Window.hpp"

#include <QAbstractScrollArea>
#include <QClipboard>
#include <QScrollBar>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using radixel::x_Kettlewing128::Kettlewing128;

namespace {

std::vector<std::string> CutAtCR(const std::string& text) {
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\r') lines.emplace_back();
        else lines.back() += c;
    }
    return lines;
}

struct NamedControl {
    std::string name;
    std::int32_t tabIndex;
    friend bool operator==(const NamedControl&, const NamedControl&) = default;
    friend std::ostream& operator<<(std::ostream& out, const NamedControl& c) {
        return out << c.name << " (tab " << c.tabIndex << ")";
    }
};

std::vector<NamedControl> ControlsInCreationOrder(const fw::Window& window) {
    std::vector<NamedControl> controls;
    for (const auto& control : window.Controls()) controls.push_back({control->Name().bytes(), control->TabIndex()});
    return controls;
}

// The widget that edits the text, whichever the area's own widget is or holds.
fw::TextView* TextEditor(fw::TextArea& area) {
    QWidget* widget = area.widget();
    if (auto* view = qobject_cast<fw::TextView*>(widget)) return view;
    return widget->findChild<fw::TextView*>();
}

}  // namespace

TEST_F(InfoWindows, AboutWindowMakesItsControlsInDesignOrder) {
    auto about = radixel::instance::AboutWindow();
    ASSERT_TRUE(about);
    const std::vector<NamedControl> expected = {{"RoundRectangle1", 4}, {"StaticText2", 0}, {"Canvas1", 3}};
    EXPECT_EQ(ControlsInCreationOrder(*about), expected);
    ASSERT_TRUE(about->RoundRectangle1());
    ASSERT_TRUE(about->StaticText2());
    ASSERT_TRUE(about->Canvas1());
}

TEST_F(InfoWindows, AboutLabelShowsThreeBoldBlueLinesInsideTheFrame) {
    auto about = radixel::instance::AboutWindow();
    auto label = about->StaticText2();
    auto frame = about->RoundRectangle1();
    ASSERT_TRUE(label);
    ASSERT_TRUE(frame);

    const std::string text = label->Text().bytes();
    EXPECT_EQ(text.find('\n'), std::string::npos);
    const auto lines = CutAtCR(text);
    ASSERT_EQ(lines.size(), 3u) << text;
    EXPECT_EQ(lines[0], "Radixel 4.3");
    EXPECT_NE(lines[1].find("2026"), std::string::npos) << lines[1];
    for (const auto& line : lines) {
        EXPECT_FALSE(line.empty());
        for (char c : line) EXPECT_TRUE(c >= 0x20 && c <= 0x7E) << "in \"" << line << "\"";
    }

    EXPECT_EQ(label->TextColor(), fw::Color::FromRGB(0x0D30FF));
    EXPECT_TRUE(label->Bold());
    EXPECT_EQ(label->TextSize(), 14.0f);
    EXPECT_EQ(label->TextUnit(), fw::FontUnits::Default);
    EXPECT_EQ(label->InitialParent().bytes(), "RoundRectangle1");

    EXPECT_GE(label->Left(), frame->Left());
    EXPECT_GE(label->Top(), frame->Top());
    EXPECT_LE(label->Left() + label->Width(), frame->Left() + frame->Width());
    EXPECT_LE(label->Top() + label->Height(), frame->Top() + frame->Height());

    // As shown: no line is so wide that it wraps onto a fourth line and out of sight.
    const QFont font = label->widget()->font();
    EXPECT_TRUE(font.bold());
    const QFontMetrics metrics(font);
    for (const auto& line : lines)
        EXPECT_LE(metrics.horizontalAdvance(QString::fromStdString(line)), label->widget()->contentsRect().width())
            << line;
}

TEST_F(InfoWindows, AboutLabelHasRoomForItsThreeLines) {
    auto label = radixel::instance::AboutWindow()->StaticText2();
    ASSERT_TRUE(label);
    const QFontMetrics metrics(label->widget()->font());
    EXPECT_LE(3 * metrics.lineSpacing(), label->widget()->contentsRect().height())
        << "the last line is cut off at text size " << label->TextSize() << " in the default unit";
}

TEST_F(InfoWindows, HelpWindowHoldsTheReadOnlyHelpText) {
    auto help = radixel::instance::HelpWindow();
    ASSERT_TRUE(help);
    const std::vector<NamedControl> expected = {{"TextAreaHelp", 2}, {"Canvas1", 3}};
    EXPECT_EQ(ControlsInCreationOrder(*help), expected);
    auto area = help->TextAreaHelp();
    ASSERT_TRUE(area);
    EXPECT_EQ(area->Text(), radixel::HelpText());
    EXPECT_TRUE(area->ReadOnly());
    EXPECT_EQ(area->LineSpacing(), 1.0);
    EXPECT_EQ(area->TextUnit(), fw::FontUnits::Default);
}

TEST_F(InfoWindows, TypingIntoTheHelpTextChangesNothing) {
    auto help = radixel::instance::HelpWindow();
    help->Show();
    auto area = help->TextAreaHelp();
    ASSERT_TRUE(area);
    fw::TextView* editor = TextEditor(*area);
    ASSERT_TRUE(editor);
    QGuiApplication::clipboard()->setText("pasted");

    // The handler consumes no key: the read-only area still pages down on a space.
    auto* scrolling = qobject_cast<QAbstractScrollArea*>(editor);
    ASSERT_TRUE(scrolling);
    ASSERT_EQ(scrolling->verticalScrollBar()->value(), 0);
    QTest::keyClick(editor, Qt::Key_Space);
    EXPECT_GT(scrolling->verticalScrollBar()->value(), 0);

    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(editor->hasSelection());
    QTest::keyClicks(editor, "typed over the selection");
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClick(editor, Qt::Key_Delete);
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClick(editor, Qt::Key_Tab);
    QTest::keyClick(editor, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(area->Text(), radixel::HelpText());
}

TEST_F(InfoWindows, HelpTextFollowsAResizeWhileTheEmblemStays) {
    auto help = radixel::instance::HelpWindow();
    help->Show();
    auto area = help->TextAreaHelp();
    auto canvas = help->Canvas1();
    ASSERT_TRUE(area);
    ASSERT_TRUE(canvas);
    QWidget* content = area->widget()->parentWidget();
    ASSERT_TRUE(content);

    for (QSize size : {QSize(800, 700), QSize(300, 250), QSize(586, 530)}) {
        help->widget()->resize(size);
        QCoreApplication::processEvents();
        const QSize inside = content->size();
        EXPECT_EQ(area->widget()->geometry(), QRect(20, 154, inside.width() - 40, inside.height() - 176))
            << "window " << size.width() << " by " << size.height();
        EXPECT_EQ(canvas->widget()->geometry(), QRect(220, 14, 128, 128))
            << "window " << size.width() << " by " << size.height();
    }
}

TEST_F(InfoWindows, AboutWindowCannotBeResized) {
    auto about = radixel::instance::AboutWindow();
    about->Show();
    QCoreApplication::processEvents();
    QWidget* window = about->widget();
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    const QSize before = window->size();
    window->resize(before + QSize(100, 100));
    QCoreApplication::processEvents();
    EXPECT_EQ(window->size(), before);
}

TEST_F(InfoWindows, AccessorsKeepOneWindowAndRebuildAClosedOne) {
    const struct {
        const char* name;
        std::function<std::shared_ptr<fw::Window>()> get;
    } accessors[] = {
        {"AboutWindow", [] { return std::shared_ptr<fw::Window>(radixel::instance::AboutWindow()); }},
        {"HelpWindow", [] { return std::shared_ptr<fw::Window>(radixel::instance::HelpWindow()); }},
    };
    for (const auto& accessor : accessors) {
        SCOPED_TRACE(accessor.name);
        auto first = accessor.get();
        ASSERT_TRUE(first);
        EXPECT_EQ(accessor.get(), first);
        first->Hide();
        EXPECT_EQ(accessor.get(), first) << "a hidden window is still open";

        const auto controls = ControlsInCreationOrder(*first);
        first->Close();
        auto rebuilt = accessor.get();
        ASSERT_TRUE(rebuilt);
        EXPECT_NE(rebuilt, first);
        EXPECT_TRUE(rebuilt->IsOpen());
        EXPECT_EQ(ControlsInCreationOrder(*rebuilt), controls);
    }
}

TEST_F(InfoWindows, BothWindowsShowTheOneEmblem) {
    auto about = radixel::instance::AboutWindow();
    auto help = radixel::instance::HelpWindow();
    auto emblem = Kettlewing128();
    ASSERT_TRUE(emblem);
    EXPECT_EQ(about->Canvas1()->Backdrop(), emblem);
    EXPECT_EQ(help->Canvas1()->Backdrop(), emblem);

    about->Close();
    EXPECT_EQ(radixel::instance::AboutWindow()->Canvas1()->Backdrop(), emblem);
}

TEST_F(InfoWindowsWithoutEmblem, BothWindowsBuildWithEmptyCanvases) {
    auto about = radixel::instance::AboutWindow();
    ASSERT_TRUE(about);
    ASSERT_TRUE(about->Canvas1());
    EXPECT_EQ(about->Canvas1()->Backdrop(), nullptr);
    ASSERT_TRUE(about->StaticText2());
    EXPECT_EQ(CutAtCR(about->StaticText2()->Text().bytes()).front(), "Radixel 4.3");

    auto help = radixel::instance::HelpWindow();
    ASSERT_TRUE(help);
    ASSERT_TRUE(help->Canvas1());
    EXPECT_EQ(help->Canvas1()->Backdrop(), nullptr);
    ASSERT_TRUE(help->TextAreaHelp());
    EXPECT_EQ(help->TextAreaHelp()->Text(), radixel::HelpText());
}

// A Resources folder without the emblem's file fails the build of either window; once the file
// is there, the next request builds the window whole.
TEST_F(InfoWindowsWithoutEmblem, MissingEmblemFileFailsTheBuildUntilTheFileAppears) {
    bundle.makeResources();
    EXPECT_THROW(radixel::instance::AboutWindow(), fw::NilObjectException);
    EXPECT_THROW(radixel::instance::HelpWindow(), fw::NilObjectException);

    bundle.putEmblem();
    auto about = radixel::instance::AboutWindow();
    auto help = radixel::instance::HelpWindow();
    ASSERT_TRUE(about);
    ASSERT_TRUE(help);
    EXPECT_TRUE(about->Canvas1()->Backdrop());
    EXPECT_EQ(help->Canvas1()->Backdrop(), about->Canvas1()->Backdrop());
    EXPECT_EQ(help->TextAreaHelp()->Text(), radixel::HelpText());
}
