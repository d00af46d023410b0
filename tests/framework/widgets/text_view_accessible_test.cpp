#include "WidgetTestSupport.hpp"

#include "framework/TextView.hpp"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QGuiApplication>

#include <string>
#include <vector>

using namespace widgettest;

namespace {

// What a screen reader hears, one line an event.
std::vector<std::string> heard;

void hear(QAccessibleEvent* event) {
    std::string line;
    switch (event->type()) {
    case QAccessible::TextInserted: {
        auto* e = static_cast<QAccessibleTextInsertEvent*>(event);
        line = "inserted " + e->textInserted().toStdString() + " at " + std::to_string(e->changePosition());
        break;
    }
    case QAccessible::TextRemoved: {
        auto* e = static_cast<QAccessibleTextRemoveEvent*>(event);
        line = "removed " + e->textRemoved().toStdString() + " at " + std::to_string(e->changePosition());
        break;
    }
    case QAccessible::TextUpdated: {
        auto* e = static_cast<QAccessibleTextUpdateEvent*>(event);
        line = "replaced " + e->textRemoved().toStdString() + " by " + e->textInserted().toStdString() + " at " +
               std::to_string(e->changePosition());
        break;
    }
    case QAccessible::TextCaretMoved:
        line = "caret " + std::to_string(static_cast<QAccessibleTextCursorEvent*>(event)->cursorPosition());
        break;
    case QAccessible::TextSelectionChanged: {
        auto* e = static_cast<QAccessibleTextSelectionEvent*>(event);
        line = "selected " + std::to_string(e->selectionStart()) + " to " + std::to_string(e->selectionEnd());
        break;
    }
    default: return;
    }
    if (event->object() && qobject_cast<fw::TextView*>(event->object())) heard.push_back(line);
}

// A reading of a piece of text: what it says and where it stands.
struct Piece {
    QString text;
    int start, end;
    bool operator==(const Piece&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Piece& p) {
    return out << '"' << p.text.toStdString() << "\" " << p.start << ".." << p.end;
}

}  // namespace

using TextAccessibility = WidgetTest;

TEST_F(TextAccessibility, AScreenReaderFindsThePanesTextCaretAndSelection) {
    auto window = Scratch();
    auto area = window->add<fw::TextArea>("Area", fw::Record({{"Width", 208}, {"Height", 196}}));
    fw::TextView* view = viewOf(*area);
    area->SetText("12345\rsecond line, words");
    view->setCursorPosition(8);
    view->setCursorPosition(2, true);

    QAccessibleInterface* pane = QAccessible::queryAccessibleInterface(view);
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(pane->role(), QAccessible::EditableText);
    EXPECT_TRUE(pane->state().editable);
    EXPECT_TRUE(pane->state().multiLine);
    EXPECT_FALSE(pane->state().readOnly);
    QAccessibleTextInterface* text = pane->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_NE(pane->editableTextInterface(), nullptr);

    EXPECT_EQ(text->characterCount(), 24);
    EXPECT_EQ(text->text(0, 5), "12345");
    EXPECT_EQ(text->text(6, -1), "second line, words");
    EXPECT_EQ(text->cursorPosition(), 2);
    EXPECT_EQ(text->selectionCount(), 1);
    int start = -1, end = -1;
    text->selection(0, &start, &end);
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(2, 8));

    using Reading = QString (QAccessibleTextInterface::*)(int, QAccessible::TextBoundaryType, int*, int*) const;
    const struct {
        const char* what;
        Reading read;
        int offset;
        QAccessible::TextBoundaryType boundary;
        Piece expected;
    } readings[] = {
        {"the character at 1", &QAccessibleTextInterface::textAtOffset, 1, QAccessible::CharBoundary, {"2", 1, 2}},
        {"the word at 8", &QAccessibleTextInterface::textAtOffset, 8, QAccessible::WordBoundary, {"second", 6, 12}},
        {"the word after 8", &QAccessibleTextInterface::textAfterOffset, 8, QAccessible::WordBoundary, {" ", 12, 13}},
        {"the word before 8", &QAccessibleTextInterface::textBeforeOffset, 8, QAccessible::WordBoundary, {"\n", 5, 6}},
        {"the line at 3", &QAccessibleTextInterface::textAtOffset, 3, QAccessible::LineBoundary, {"12345\n", 0, 6}},
        {"the line after 3",
         &QAccessibleTextInterface::textAfterOffset,
         3,
         QAccessible::LineBoundary,
         {"second line, words", 6, 24}},
        {"the paragraph before the end",
         &QAccessibleTextInterface::textBeforeOffset,
         24,
         QAccessible::ParagraphBoundary,
         {"12345\n", 0, 6}},
        {"nothing before the start",
         &QAccessibleTextInterface::textBeforeOffset,
         0,
         QAccessible::LineBoundary,
         {"", -1, -1}},
        {"nothing past the end", &QAccessibleTextInterface::textAtOffset, 25, QAccessible::CharBoundary, {"", -1, -1}},
    };
    for (const auto& r : readings) {
        Piece got;
        got.text = (text->*r.read)(r.offset, r.boundary, &got.start, &got.end);
        EXPECT_EQ(got, r.expected) << r.what;
    }

    const QRect first = text->characterRect(0);
    EXPECT_FALSE(first.isEmpty());
    EXPECT_TRUE(QRect(view->viewport()->mapToGlobal(QPoint(0, 0)), view->viewport()->size()).contains(first));
    EXPECT_EQ(text->offsetAtPoint(first.center()), 0);

    text->setSelection(0, 6, 12);
    EXPECT_EQ(view->selectedText(), "second");
    text->removeSelection(0);
    EXPECT_FALSE(view->hasSelection());
    text->setCursorPosition(3);
    EXPECT_EQ(view->cursorPosition(), 3);
}

// A word or paragraph of a number millions of digits long is read by its shown lines, so that no
// reading copies the number whole.
TEST_F(TextAccessibility, ALongNumberIsReadByItsShownLines) {
    auto window = Scratch();
    auto area = window->add<fw::TextArea>("Area", fw::Record({{"Width", 208}, {"Height", 196}}));
    fw::TextView* view = viewOf(*area);
    area->SetText(std::string(2'000'000, '7') + "\r12 34");
    QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(view)->textInterface();
    const int at = 1'000'000;
    int lineStart = -1, lineEnd = -1;
    const QString line = text->textAtOffset(at, QAccessible::LineBoundary, &lineStart, &lineEnd);
    ASSERT_LE(lineStart, at);
    ASSERT_GT(lineEnd, at);
    ASSERT_LT(line.size(), 100);
    for (const auto boundary :
         {QAccessible::WordBoundary, QAccessible::SentenceBoundary, QAccessible::ParagraphBoundary}) {
        int start = -1, end = -1;
        EXPECT_EQ(text->textAtOffset(at, boundary, &start, &end), line) << "boundary " << boundary;
        EXPECT_EQ(std::make_pair(start, end), std::make_pair(lineStart, lineEnd)) << "boundary " << boundary;
    }
    int start = -1, end = -1;
    EXPECT_EQ(text->textAtOffset(2'000'004, QAccessible::WordBoundary, &start, &end), "34");
    EXPECT_EQ(text->textAtOffset(2'000'004, QAccessible::ParagraphBoundary, &start, &end), "12 34");
}

TEST_F(TextAccessibility, AReadOnlyPaneSaysSoAndOffersNoEditing) {
    auto window = Scratch();
    auto area = window->add<fw::TextArea>("Area", fw::Record({{"ReadOnly", true}, {"Text", "help"}}));
    QAccessibleInterface* pane = QAccessible::queryAccessibleInterface(viewOf(*area));
    EXPECT_TRUE(pane->state().readOnly);
    EXPECT_FALSE(pane->state().editable);
    EXPECT_EQ(pane->editableTextInterface(), nullptr);
    EXPECT_EQ(pane->textInterface()->text(0, 4), "help");
}

// An edit a screen reader asks for is the user's own: held to LimitText and undone step by step.
TEST_F(TextAccessibility, EditsFromAScreenReaderAreUndoneLikeTheUsersOwn) {
    auto window = Scratch();
    auto area = window->add<fw::TextArea>("Area", fw::Record({{"Text", "12345"}, {"LimitText", 7}}));
    fw::TextView* view = viewOf(*area);
    QAccessibleEditableTextInterface* edit = QAccessible::queryAccessibleInterface(view)->editableTextInterface();
    ASSERT_NE(edit, nullptr);
    edit->insertText(5, "6789");
    EXPECT_EQ(area->Text().bytes(), "1234567");
    edit->replaceText(0, 2, "ab");
    EXPECT_EQ(area->Text().bytes(), "ab34567");
    edit->deleteText(2, 4);
    EXPECT_EQ(area->Text().bytes(), "ab567");
    const char* undone[] = {"ab34567", "1234567", "12345"};
    for (const char* expected : undone) {
        view->undo();
        EXPECT_EQ(area->Text().bytes(), expected);
    }
}

using ScreenReaderEvents = WidgetTest;

// The events that tell a screen reader what changed, in the order the platform expects them. Qt
// sends them only while an assistive technology may listen: ctest runs this on a desktop's
// accessibility bus, which becomes active once the event loop has turned.
TEST_F(ScreenReaderEvents, EditsAndMovesAreToldToTheScreenReader) {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "no assistive technology listens on this platform";
    for (QDeadlineTimer settled(5000); !QAccessible::isActive() && !settled.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_TRUE(QAccessible::isActive()) << "the accessibility bus did not come up";
    auto window = Scratch();
    auto area = window->add<fw::TextArea>("Area", fw::String());
    fw::TextView* view = viewOf(*area);
    heard.clear();
    const QAccessible::UpdateHandler before = QAccessible::installUpdateHandler(hear);
    typeText(view, "ab");
    pressKey(view, Qt::Key_Left, Qt::ShiftModifier);
    QApplication::clipboard()->setText("xy");
    pressKey(view, Qt::Key_V, Qt::ControlModifier);
    pressKey(view, Qt::Key_Backspace, Qt::NoModifier, "\b");
    pressKey(view, Qt::Key_A, Qt::ControlModifier);
    typeText(view, "c");
    QAccessible::installUpdateHandler(before);
    const std::vector<std::string> expected = {
        "inserted a at 0",       "caret 1",                     // typing
        "inserted b at 1",       "caret 2",                     //
        "selected 1 to 2",       "caret 1",                     // Shift+Left
        "replaced b by xy at 1", "selected 3 to 3", "caret 3",  // Ctrl+V over the selection
        "removed y at 2",        "caret 2",                     // Backspace
        "selected 0 to 2",                                      // Ctrl+A, the caret already at the end
        "replaced ax by c at 0", "selected 1 to 1", "caret 1",  // typing over it
    };
    EXPECT_EQ(heard, expected);
}
