#include "WidgetTestSupport.hpp"

#include "framework/Canvas.hpp"
#include "framework/Label.hpp"
#include "framework/Picture.hpp"
#include "framework/RoundRectangle.hpp"
#include "framework/TextField.hpp"
#include "framework/TextView.hpp"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QFontMetricsF>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QDropEvent>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTimer>

#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

using namespace widgettest;

namespace {

// A handler target that raises from its KeyDown.
class Raiser : public fw::Object {
public:
    bool KeyDown(std::shared_ptr<fw::TextArea>, fw::String) {
        throw fw::RuntimeException("RuntimeException: handler broke");
    }
    void Action(std::shared_ptr<fw::PushButton>) {}
};

// A program's own kind of button, with a class table of its own below PushButton's.
class OwnButton : public fw::PushButton {
public:
    static const fw::ClassTable& Lookup() {
        static const fw::ClassTable table = fw::MakeClassTable<OwnButton>("Tests.OwnButton", &fw::PushButton::Lookup());
        return table;
    }
    const fw::ClassTable& classTable() const override { return Lookup(); }
};

}  // namespace

using TextControls = WidgetTest;

TEST_F(TextControls, CarriageReturnsShowAsLineBreaksAndReadBackAsCarriageReturns) {
    auto window = Scratch();
    auto label = window->add<fw::Label>("Label", fw::Record({{"Text", "Radixel 4.3\rline two\r\nline three"}}));
    EXPECT_EQ(qobject_cast<QLabel*>(label->widget())->text(), "Radixel 4.3\nline two\nline three");
    EXPECT_EQ(label->Text().bytes(), "Radixel 4.3\rline two\r\nline three");

    // Wide enough that no line wraps: each line below is a line of the text.
    auto area = window->add<fw::TextArea>("Area", fw::Record({{"Width", 1000}, {"Height", 200}}));
    struct Case {
        std::string set, readBack;
        int lines;
    };
    const Case cases[] = {
        {"one\rtwo\r\nthree\nfour", "one\rtwo\rthree\rfour", 4},
        {"\r\r", "\r\r", 3},
        {"no\xC2\xA0"
         "break \xE2\x82\xAC",
         "no\xC2\xA0"
         "break \xE2\x82\xAC",
         1},
        {"", "", 1},
    };
    for (const Case& c : cases) {
        area->SetText(c.set);
        EXPECT_EQ(area->Text().bytes(), c.readBack) << c.set;
        EXPECT_EQ(viewOf(*area)->lineCount(), c.lines) << c.set;
    }
}

// The text of each shown line, without its line break.
std::vector<QString> shownLines(const fw::TextView& view) {
    std::vector<QString> lines;
    for (qsizetype i = 0; i < view.lineCount(); ++i) {
        const qsizetype end = i + 1 < view.lineCount() ? view.lineStart(i + 1) : view.text().size();
        QString line = view.text().mid(view.lineStart(i), end - view.lineStart(i));
        if (line.endsWith(QLatin1Char('\n'))) line.chop(1);
        lines.push_back(line);
    }
    return lines;
}

std::vector<qsizetype> lineStarts(const fw::TextView& view) {
    std::vector<qsizetype> starts;
    for (qsizetype i = 0; i < view.lineCount(); ++i) starts.push_back(view.lineStart(i));
    return starts;
}

TEST_F(TextControls, NumbersWrapAnywhereAndProseWrapsBetweenWords) {
    auto window = Scratch();
    auto area = window->add<fw::TextArea>("Area", fw::Record({{"Width", 208}, {"Height", 196}}));
    fw::TextView* view = viewOf(*area);
    QFont unkerned = view->font();
    unkerned.setKerning(false);
    const QFontMetricsF metrics(unkerned);
    const double room = view->viewport()->width() - 8;

    area->SetText(std::string(5000, '7'));
    const std::vector<QString> number = shownLines(*view);
    ASSERT_GT(number.size(), 10u);
    for (std::size_t i = 0; i + 1 < number.size(); ++i) {
        EXPECT_EQ(number[i].size(), number[0].size()) << "line " << i << " is not filled to the edge";
        EXPECT_LE(metrics.horizontalAdvance(number[i]), room + 0.5) << "line " << i;
    }
    EXPECT_GT(metrics.horizontalAdvance(number[0] + "7"), room) << "a digit more would still have fitted";

    std::string prose;
    for (int i = 0; i < 60; ++i) prose += "word" + std::to_string(i) + " ";
    area->SetText(prose);
    const std::vector<QString> lines = shownLines(*view);
    ASSERT_GT(lines.size(), 2u);
    for (std::size_t i = 1; i < lines.size(); ++i)
        EXPECT_TRUE(lines[i - 1].endsWith(QLatin1Char(' '))) << "line " << i << " starts inside a word";

    // The user's edits wrap the same way: a number typed after the prose, its removal, undoing that.
    view->setCursorPosition(view->text().size());
    view->insertText(QString(3000, QLatin1Char('9')));
    const std::vector<QString> mixed = shownLines(*view);
    EXPECT_TRUE(mixed[lines.size() - 1].startsWith(lines.back())) << "the last word was broken";
    view->setCursorPosition(view->text().size() - 3000, true);
    view->removeSelectedText();
    EXPECT_EQ(shownLines(*view), lines);
    view->undo();
    EXPECT_EQ(shownLines(*view), mixed);
    EXPECT_EQ(area->Text().bytes(), prose + std::string(3000, '9'));
}

// In a pane narrower than a character, as the help window's text becomes when the window is
// shrunk, each character takes a line of its own; one written as a surrogate pair stays whole.
TEST_F(TextControls, ACharacterWiderThanThePaneIsNeverSplitInTwo) {
    auto window = Scratch();
    auto area = window->add<fw::TextArea>("Area", fw::Record({{"Width", 20}, {"Height", 196}}));
    fw::TextView* view = viewOf(*area);
    const char* texts[] = {
        "\xF0\x9D\x90\x80\xF0\x9D\x90\x80",  // two mathematical bold capital A
        "\xF0\x9F\x98\x80 \xF0\x9F\x98\x80x\xF0\x9F\x98\x80",
        "WW\xF0\xA0\x80\x80W",
    };
    for (const char* text : texts) {
        area->SetText(text);
        for (qsizetype i = 1; i < view->lineCount(); ++i)
            EXPECT_FALSE(view->text().at(view->lineStart(i)).isLowSurrogate()) << text << ": line " << i;
        EXPECT_EQ(area->Text().bytes(), text);
    }
}

// An edit lays out again only from the edited line until the old lines come back in step; every
// way a text arrives must leave the lines a fresh layout of the whole text gives.
TEST_F(TextControls, EditsLeaveTheLinesThatAFreshLayoutGives) {
    auto window = Scratch();
    const fw::String size = fw::Record({{"Width", 208}, {"Height", 196}});
    auto area = window->add<fw::TextArea>("Area", size);
    auto fresh = window->add<fw::TextArea>("Fresh", size);
    fw::TextView* view = viewOf(*area);
    auto expectFreshLines = [&](const std::string& what) {
        fresh->SetText(area->Text());
        ASSERT_EQ(lineStarts(*view), lineStarts(*viewOf(*fresh))) << what;
    };

    std::string prose;
    for (int paragraph = 0; paragraph < 4; ++paragraph) {
        for (int i = 0; i < 60; ++i) prose += "word" + std::to_string(i) + " ";
        prose += "\r";
    }
    const QString number(3000, QLatin1Char('7'));
    const struct {
        const char* name;
        std::string text;
    } before[] = {{"empty", ""}, {"one digit", "5"}, {"prose", prose}, {"a shorter number", std::string(2000, '8')}};
    const struct {
        const char* name;
        std::function<void()> bring;
    } ways[] = {
        {"SetText", [&] { area->SetText(number.toStdString()); }},
        {"pasted over all",
         [&] {
             QApplication::clipboard()->setText(number);
             view->selectAll();
             view->paste();
         }},
        {"pasted at the end",
         [&] {
             view->setCursorPosition(view->text().size());
             view->insertText(number);
         }},
        {"pasted at the start",
         [&] {
             view->setCursorPosition(0);
             view->insertText(number);
         }},
        {"typed over all, undone and redone",
         [&] {
             view->selectAll();
             view->insertText(number);
             view->undo();
             view->redo();
         }},
    };
    for (const auto& held : before)
        for (const auto& way : ways) {
            const std::string what = std::string(way.name) + " into an area holding " + held.name;
            area->SetText(held.text);
            way.bring();
            expectFreshLines(what);
        }

    // Random edits of mixed words, digits and line breaks, each followed by undo or redo now
    // and then.
    QRandomGenerator random(20261210);
    const QString pieces[] = {
        "a ", "word ", "12345678901234567890", "\n", " ", "x", QString(700, QLatin1Char('3')), "two words ", "\n\n"};
    area->SetText(prose);
    for (int step = 0; step < 300; ++step) {
        const qsizetype length = view->text().size();
        const qsizetype at = random.bounded(static_cast<int>(length + 1));
        const int kind = random.bounded(6);
        if (kind < 3) {
            view->setCursorPosition(at);
            view->insertText(pieces[random.bounded(static_cast<int>(std::size(pieces)))]);
        } else if (kind < 5) {
            view->setCursorPosition(at);
            view->setCursorPosition(std::min(length, at + random.bounded(40)), true);
            view->removeSelectedText();
        } else {
            (random.bounded(2) ? view->undo() : view->redo());
        }
        expectFreshLines("after step " + std::to_string(step));
    }
}

// One script of keys over a pane: what each step leaves in the text, selected, and on the
// clipboard.
TEST_F(TextControls, KeysEditSelectCopyAndUndoInThePane) {
    auto window = Scratch();
    auto area = window->add<fw::TextArea>("Area", fw::Record({{"Width", 208}, {"Height", 196}}));
    fw::TextView* view = viewOf(*area);
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->setText("-");
    const Qt::KeyboardModifiers none = Qt::NoModifier, ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
    const struct {
        const char* step;
        std::function<void()> keys;
        std::string text;
        QString selected;
        QString clipboard;
    } script[] = {
        {"typing", [&] { typeText(view, "12345"); }, "12345", "", "-"},
        {"Return and more",
         [&] {
             pressKey(view, Qt::Key_Return, none, "\r");
             typeText(view, "67");
         },
         "12345\r67", "", "-"},
        {"Shift+Up selects to the line above", [&] { pressKey(view, Qt::Key_Up, shift); }, "12345\r67", "345\n67", "-"},
        {"Ctrl+C copies it", [&] { pressKey(view, Qt::Key_C, ctrl); }, "12345\r67", "345\n67", "345\n67"},
        {"Backspace removes it", [&] { pressKey(view, Qt::Key_Backspace, none, "\b"); }, "12", "", "345\n67"},
        {"Ctrl+Z brings it back", [&] { pressKey(view, Qt::Key_Z, ctrl); }, "12345\r67", "", "345\n67"},
        {"Ctrl+Z undoes the typing in a row", [&] { pressKey(view, Qt::Key_Z, ctrl); }, "12345\r", "", "345\n67"},
        {"Ctrl+Shift+Z redoes it", [&] { pressKey(view, Qt::Key_Z, ctrl | shift); }, "12345\r67", "", "345\n67"},
        {"Home, Shift+End",
         [&] {
             pressKey(view, Qt::Key_Home);
             pressKey(view, Qt::Key_End, shift);
         },
         "12345\r67", "67", "345\n67"},
        {"Ctrl+X cuts", [&] { pressKey(view, Qt::Key_X, ctrl); }, "12345\r", "", "67"},
        {"Ctrl+Home, Delete",
         [&] {
             pressKey(view, Qt::Key_Home, ctrl);
             pressKey(view, Qt::Key_Delete, none, "\x7f");
         },
         "2345\r", "", "67"},
        {"Ctrl+V pastes at the caret", [&] { pressKey(view, Qt::Key_V, ctrl); }, "672345\r", "", "67"},
        {"Ctrl+A, Ctrl+C",
         [&] {
             pressKey(view, Qt::Key_A, ctrl);
             pressKey(view, Qt::Key_C, ctrl);
         },
         "672345\r", "672345\n", "672345\n"},
        {"typing over the selection", [&] { typeText(view, "9"); }, "9", "", "672345\n"},
        {"Down keeps the column over a shorter line",
         [&] {
             area->SetText("123456\r12\r123456");
             pressKey(view, Qt::Key_End);
             pressKey(view, Qt::Key_Down);
             pressKey(view, Qt::Key_Down);
             typeText(view, "9");
         },
         "123456\r12\r1234569", "", "672345\n"},
        {"a new text starts Down from the caret's own column",
         [&] {
             pressKey(view, Qt::Key_Up);
             area->SetText("123456\r123456");
             pressKey(view, Qt::Key_Down);
             typeText(view, "9");
         },
         "123456\r9123456", "", "672345\n"},
    };
    for (const auto& step : script) {
        step.keys();
        EXPECT_EQ(area->Text().bytes(), step.text) << "after " << step.step;
        EXPECT_EQ(view->selectedText(), step.selected) << "after " << step.step;
        EXPECT_EQ(clipboard->text(), step.clipboard) << "after " << step.step;
    }
}

// End on a row where a number wraps leaves the caret after the row's last digit, at the place
// where the next row starts. Up and Down from there keep the caret at rows' ends: on the row
// above or below, not a row further, nor at its start.
TEST_F(TextControls, UpAndDownFromARowsEndKeepTheCaretAtRowsEnds) {
    auto window = Scratch();
    auto area = window->add<fw::TextArea>("Area", fw::Record({{"Width", 208}, {"Height", 196}}));
    fw::TextView* view = viewOf(*area);
    area->SetText(std::string(3000, '7'));
    view->setFocus();
    const qsizetype row = view->lineStart(1);
    const QRect firstRowEnd = view->characterRect(row - 1);
    // The row the caret is drawn on, and whether it stands at the row's right end.
    const auto caret = [&] {
        const QRect at = static_cast<QWidget*>(view)
                             ->inputMethodQuery(Qt::ImCursorRectangle)
                             .toRect()
                             .translated(-view->viewport()->pos());
        return std::make_pair((at.center().y() - firstRowEnd.top()) / firstRowEnd.height(),
                              at.center().x() > firstRowEnd.center().x());
    };
    struct Step {
        const char* keys;
        int key;
        qsizetype position;
        int row;
        bool atRowsEnd;
    };
    const Step steps[] = {
        {"End", Qt::Key_End, row, 0, true},       {"Down", Qt::Key_Down, 2 * row, 1, true},
        {"Down", Qt::Key_Down, 3 * row, 2, true}, {"Up", Qt::Key_Up, 2 * row, 1, true},
        {"Home", Qt::Key_Home, row, 1, false},    {"Up", Qt::Key_Up, 0, 0, false},
    };
    for (const Step& step : steps) {
        pressKey(view, step.key);
        EXPECT_EQ(view->cursorPosition(), step.position) << "after " << step.keys;
        EXPECT_EQ(caret(), std::make_pair(step.row, step.atRowsEnd)) << "after " << step.keys;
    }
}

// A selection shows a selected line break as a blank's width past the line's end; where a line
// merely wraps there is no break, and the selection ends with the line's last character.
TEST_F(TextControls, ASelectionRunsPastALineBreakButNotPastAWrap) {
    auto window = Scratch();
    auto area =
        window->add<fw::TextArea>("Area", fw::Record({{"Width", 208}, {"Height", 196}, {"HideSelection", false}}));
    fw::TextView* view = viewOf(*area);
    area->SetText(std::string(40, '7') + "\r5");
    view->selectAll();
    QFont unkerned = view->font();
    unkerned.setKerning(false);
    const QFontMetricsF metrics(unkerned);
    const int lineHeight = static_cast<int>(std::ceil(metrics.lineSpacing()));
    const QImage shown = view->viewport()->grab().toImage();
    const QColor highlight = view->palette().color(QPalette::Highlight);
    // How far right the selection reaches on a line, and where the line's characters end.
    const auto reach = [&](qsizetype line) {
        const int y = 4 + static_cast<int>(line) * lineHeight + lineHeight / 2;
        int right = -1;
        for (int x = 0; x < shown.width(); ++x)
            if (shown.pixelColor(x, y) == highlight) right = x;
        return right;
    };
    const auto charactersEnd = [&](qsizetype line) {
        const qsizetype end = line + 1 < view->lineCount() ? view->lineStart(line + 1) : view->text().size();
        return 4 + metrics.horizontalAdvance(view->text().mid(view->lineStart(line), end - view->lineStart(line)));
    };
    ASSERT_EQ(view->lineCount(), 3) << "the number does not wrap once";
    EXPECT_LE(reach(0), std::ceil(charactersEnd(0))) << "past a wrap";
    EXPECT_GT(reach(1), charactersEnd(1) + 1) << "past a line break";
}

// A long number shows on many lines, and yet is copied, read back and moved through as one.
TEST_F(TextControls, AWrappedNumberIsCopiedAndReadBackWithoutBreaksAndScrolledToItsEnd) {
    auto window = Scratch();
    auto area = window->add<fw::TextArea>("Area", fw::Record({{"Width", 208}, {"Height", 196}}));
    fw::TextView* view = viewOf(*area);
    std::string number(200000, '0');
    for (std::size_t i = 0; i < number.size(); ++i) number[i] = static_cast<char>('1' + i * 7 % 9);
    area->SetText(number);
    ASSERT_GT(view->lineCount(), 1000);
    EXPECT_EQ(area->Text().bytes(), number);

    QScrollBar* bar = view->verticalScrollBar();
    pressKey(view, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(view->cursorPosition(), static_cast<qsizetype>(number.size()));
    EXPECT_EQ(bar->value(), bar->maximum()) << "the last line is not in sight";
    const int bottom = bar->value();
    pressKey(view, Qt::Key_PageUp);
    EXPECT_EQ(bar->value(), bottom - bar->pageStep());
    EXPECT_LT(view->cursorPosition(), static_cast<qsizetype>(number.size()));

    pressKey(view, Qt::Key_A, Qt::ControlModifier);
    pressKey(view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), number);
}

TEST_F(TextControls, AReadOnlyPaneIsSelectedAndCopiedButNeverChanged) {
    auto window = Scratch();
    auto area = window->add<fw::TextArea>("Area", fw::Record({{"ReadOnly", true}, {"Text", "read\ronly"}}));
    fw::TextView* view = viewOf(*area);
    QApplication::clipboard()->setText("-");
    pressKey(view, Qt::Key_A, Qt::ControlModifier);
    pressKey(view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "read\nonly");
    typeText(view, "x");
    pressKey(view, Qt::Key_Backspace, Qt::NoModifier, "\b");
    pressKey(view, Qt::Key_X, Qt::ControlModifier);
    pressKey(view, Qt::Key_V, Qt::ControlModifier);
    QInputMethodEvent composed;
    composed.setCommitString("y");
    QApplication::sendEvent(view, &composed);
    EXPECT_EQ(area->Text().bytes(), "read\ronly");
}

// What an input method composes shows at the caret but is not text until committed; the
// commit counts against LimitText like typing.
TEST_F(TextControls, InputMethodsComposeAndCommitWithinTheLimit) {
    auto window = Scratch();
    auto area = window->add<fw::TextArea>("Area", fw::Record({{"LimitText", 3}}));
    fw::TextView* view = viewOf(*area);
    QInputMethodEvent composing("ka", {});
    QApplication::sendEvent(view, &composing);
    EXPECT_EQ(area->Text().bytes(), "");
    QInputMethodEvent committed;
    committed.setCommitString(QString::fromUtf8("\xE3\x81\x8B\xE3\x81\x8B\xE3\x81\x8B\xE3\x81\x8B"));
    QApplication::sendEvent(view, &committed);
    EXPECT_EQ(area->Text().bytes(), "\xE3\x81\x8B\xE3\x81\x8B\xE3\x81\x8B");
    EXPECT_EQ(static_cast<QWidget*>(view)->inputMethodQuery(Qt::ImSurroundingText).toString(),
              QString::fromUtf8("\xE3\x81\x8B\xE3\x81\x8B\xE3\x81\x8B"));
    EXPECT_EQ(static_cast<QWidget*>(view)->inputMethodQuery(Qt::ImCursorPosition).toInt(), 3);
}

// Composed text shows at the caret as the committed text would, pushing the rest of the line on,
// whether or not the caret is blinked on; at a wrap, where the caret stands after the edge, it is
// drawn back from the edge rather than out of sight.
TEST_F(TextControls, ComposedTextShowsInFullAtTheCaret) {
    auto window = Scratch();
    auto area = window->add<fw::TextArea>("Area", fw::Record({{"Width", 208}, {"Height", 196}}));
    fw::TextView* view = viewOf(*area);
    const std::string number(3000, '7');
    QFont unkerned = view->font();
    unkerned.setKerning(false);
    const QFontMetricsF metrics(unkerned);
    area->SetText(number);
    // The first line as far as its last whole digit, and down to the baseline, above the composed
    // text's underline.
    const QRect line(0, 0, 4 + static_cast<int>(metrics.horizontalAdvance(QString(view->lineStart(1), '7'))),
                     4 + static_cast<int>(metrics.ascent()));
    const auto firstLine = [&] { return view->viewport()->grab().toImage().copy(line); };
    const auto compose = [&](const QString& text) {
        QInputMethodEvent composing(text, {});
        QApplication::sendEvent(view, &composing);
    };

    view->setCursorPosition(5);
    compose("555");
    const QImage composed = firstLine();
    compose("");
    area->SetText(number.substr(0, 5) + "555" + number.substr(5));
    EXPECT_EQ(composed, firstLine()) << "in the middle of a line";

    area->SetText(number);
    pressKey(view, Qt::Key_End);
    ASSERT_EQ(view->cursorPosition(), view->lineStart(1)) << "the caret is not at the wrap";
    const QImage plain = firstLine();
    compose("555");
    EXPECT_NE(firstLine(), plain) << "at a wrap";
}

// The context menu offers the standard commands, each enabled when it can act; a read-only pane
// offers only those that leave its text alone, as Qt's own text views do.
TEST_F(TextControls, TheContextMenuOffersTheEditCommandsThatCanAct) {
    using Offer = std::pair<std::string, bool>;
    const struct {
        bool readOnly;
        std::vector<Offer> offered;
        std::string textAfterDelete;
    } cases[] = {
        {false,
         {{"&Undo", false},
          {"&Redo", false},
          {"Cu&t", true},
          {"&Copy", true},
          {"&Paste", true},
          {"Delete", true},
          {"Select All", true}},
         "145"},
        {true, {{"&Copy", true}, {"Select All", true}}, "12345"},
    };
    for (const auto& c : cases) {
        auto window = Scratch();
        auto area = window->add<fw::TextArea>("Area", fw::Record({{"Text", "12345"}, {"ReadOnly", c.readOnly}}));
        fw::TextView* view = viewOf(*area);
        QApplication::clipboard()->setText("pasted");
        view->setCursorPosition(1);
        view->setCursorPosition(3, true);
        std::vector<Offer> offered;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu) return;
            for (QAction* action : menu->actions())
                if (!action->isSeparator()) offered.emplace_back(action->text().toStdString(), action->isEnabled());
            for (QAction* action : menu->actions())
                if (action->text() == "Delete") action->trigger();
            menu->close();
        });
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5), view->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(view->viewport(), &event);
        EXPECT_EQ(offered, c.offered) << "read-only " << c.readOnly;
        EXPECT_EQ(area->Text().bytes(), c.textAfterDelete) << "read-only " << c.readOnly;
        window->Close();
        flushDeletes();
    }
}

// The tests below cut the address space down in a child process, so that holding a long text fails
// there as it would on a machine out of memory. The sanitizers reserve address space of their
// own, which makes such a cut meaningless.
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
namespace {

// The address space the process has mapped now, and `more` bytes beyond it.
rlim_t mappedNowAnd(rlim_t more) {
    std::ifstream statm("/proc/self/statm");
    rlim_t pages = 0;
    statm >> pages;
    return static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) * pages + more;
}

}  // namespace

TEST_F(TextControls, ATextMemoryCannotHoldIsReplacedByWordsThatSaySoAndThePaneGoesOn) {
    auto window = Scratch();
    auto area = window->add<fw::TextArea>("Area", fw::Record({{"Width", 208}, {"Height", 196}}));
    area->SetText("an earlier result");
    const fw::String number(std::string(200'000'000, '7'));
    const auto holdInLittleMemory = [&] {
        const rlim_t room = mappedNowAnd(100u << 20);
        const rlimit cut{room, room};
        if (setrlimit(RLIMIT_AS, &cut) != 0) std::_Exit(2);
        area->SetText(number);
        const std::string shown = area->Text().bytes();
        if (shown.find("not enough memory") == std::string::npos) std::_Exit(3);
        area->SetText("5");
        typeText(area->widget(), "6");
        std::_Exit(area->Text().bytes() == "65" ? 0 : 4);  // typed before the 5, where the caret stands
    };
    EXPECT_EXIT(holdInLittleMemory(), testing::ExitedWithCode(0), "");
}

// Text in words of many lengths, so that no two lines in a row are alike: its lines take memory
// of their own, where a number's lines are counted.
std::string wordsOfManyLengths(std::size_t length) {
    std::string text;
    text.reserve(length + 16);
    for (std::size_t word = 0; text.size() < length; ++word) text += std::string(1 + word * 7 % 11, 'w') + ' ';
    return text;
}

// Some commands below need memory in proportion to a long text: a copy of a long part for the
// clipboard, a long text's line breaks read as LF, the lines of a long text of words. In a child
// whose address space is cut to less than that, the command must fail whole, leaving the text,
// its lines and the undo history as they were, and say so over the text; with the memory given
// back, the same command goes through and the note is gone. The others, an edit anywhere in a
// long number, its undo and redo and a paste of a long number, need no memory of that order and
// go through even in the cut.
TEST_F(TextControls, ACommandMemoryCannotCarryOutLeavesTheTextAsItWasAndSaysSo) {
    auto window = Scratch();
    auto area = window->add<fw::TextArea>("Area", fw::Record({{"Width", 208}, {"Height", 196}}));
    fw::TextView* view = viewOf(*area);
    constexpr qsizetype kDigits = 16'000'000;
    area->SetText(std::string(kDigits, '7'));
    view->setCursorPosition(0);
    typeText(view, "12");
    view->setCursorPosition(view->text().size());
    view->insertText("34");
    view->undo();
    pressKey(view, Qt::Key_A, Qt::ControlModifier);
    pressKey(view, Qt::Key_C, Qt::ControlModifier);
    const QString before(view->text().constData(), view->text().size());
    const std::vector<qsizetype> lines = lineStarts(*view);
    QMimeData dragged;
    dragged.setText("5");
    QMimeData carriageReturns;
    carriageReturns.setText(QString(kDigits, QLatin1Char('\r')));
    QMimeData words;
    words.setText(QString::fromStdString(wordsOfManyLengths(2 * kDigits)));
    const auto drop = [&](QMimeData& data) {
        QDragEnterEvent enter(QPoint(1, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &enter);
        QDropEvent dropped(QPointF(1, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &dropped);
    };

    const qsizetype middle = before.size() / 2;
    const struct {
        const char* command;
        std::function<void()> run;
        qsizetype grows;  // how the text's length changes once memory allows
        bool needsMemory;
    } commands[] = {
        {"typing", [&] { view->setCursorPosition(middle), typeText(view, "5"); }, 1, false},
        {"Return", [&] { view->setCursorPosition(middle), pressKey(view, Qt::Key_Return, {}, "\r"); }, 1, false},
        {"Backspace", [&] { view->setCursorPosition(middle), pressKey(view, Qt::Key_Backspace, {}, "\b"); }, -1, false},
        {"Ctrl+V", [&] { view->setCursorPosition(middle), pressKey(view, Qt::Key_V, Qt::ControlModifier); },
         before.size(), false},
        {"a drop", [&] { drop(dragged); }, 1, false},
        {"a drop of line breaks written CR", [&] { drop(carriageReturns); }, kDigits, true},
        {"a drop of words", [&] { drop(words); }, words.text().size(), true},
        {"an input method's commit",
         [&] {
             view->setCursorPosition(middle);
             QInputMethodEvent committed;
             committed.setCommitString("5");
             QApplication::sendEvent(view, &committed);
         },
         1, false},
        {"Ctrl+X of a long part",
         [&] {
             view->setCursorPosition(1), view->setCursorPosition(before.size() - 1, true);
             pressKey(view, Qt::Key_X, Qt::ControlModifier);
         },
         2 - before.size(), true},
        {"Ctrl+C of a long part",
         [&] {
             view->setCursorPosition(1), view->setCursorPosition(before.size() - 1, true);
             pressKey(view, Qt::Key_C, Qt::ControlModifier);
         },
         0, true},
        {"Ctrl+Z", [&] { pressKey(view, Qt::Key_Z, Qt::ControlModifier); }, -2, false},
        {"Ctrl+Shift+Z", [&] { pressKey(view, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); }, 2, false},
    };
    for (const auto& c : commands) {
        const auto inLittleMemory = [&] {
            rlimit limit{};
            if (getrlimit(RLIMIT_AS, &limit) != 0) std::_Exit(2);
            const rlim_t unlimited = limit.rlim_cur;
            limit.rlim_cur = mappedNowAnd(8u << 20);
            if (setrlimit(RLIMIT_AS, &limit) != 0) std::_Exit(2);
            const QString copied = QApplication::clipboard()->text();
            const auto done = [&] {
                return c.grows ? view->buffer().size() == before.size() + c.grows
                               : QApplication::clipboard()->text() != copied;
            };
            c.run();
            if (!c.needsMemory) std::_Exit(!done() ? 9 : view->note().isEmpty() ? 0 : 10);
            if (view->text() != before) std::_Exit(3);
            if (view->lineCount() != static_cast<qsizetype>(lines.size())) std::_Exit(4);
            for (qsizetype i = 0; i < view->lineCount(); ++i)
                if (view->lineStart(i) != lines[static_cast<std::size_t>(i)]) std::_Exit(4);
            if (!view->note().contains("not enough memory")) std::_Exit(5);
            // A screen reader finds the note where a sighted user reads it.
            if (QAccessible::queryAccessibleInterface(view)->text(QAccessible::Description) != view->note())
                std::_Exit(8);

            limit.rlim_cur = unlimited;
            if (setrlimit(RLIMIT_AS, &limit) != 0) std::_Exit(2);
            c.run();
            if (!done()) std::_Exit(6);
            std::_Exit(view->note().isEmpty() ? 0 : 7);
        };
        EXPECT_EXIT(inLittleMemory(), testing::ExitedWithCode(0), "") << c.command;
    }
}
// Another program reads a copy long after it was made, in the event loop, and as UTF-8: were the
// text converted only then, a long one that memory could not convert would end the program, for
// no guard stands there. A copy whose UTF-8 memory cannot hold is refused with the note and the
// clipboard left as it was; one that memory can hold is served as it was made, asking for no
// more than it did.
TEST_F(TextControls, AnotherProgramReadsALongCopyWithoutItNeedingMoreMemory) {
    auto window = Scratch();
    auto area = window->add<fw::TextArea>("Area", fw::Record({{"Width", 208}, {"Height", 196}}));
    fw::TextView* view = viewOf(*area);
    constexpr qsizetype kDigits = 20'000'000;
    area->SetText(std::string(kDigits, '7'));
    QApplication::clipboard()->setText("earlier");
    const struct {
        const char* what;
        rlim_t room;
        bool copied;
    } cases[] = {
        {"memory holds less than the copy's UTF-8", kDigits / 2, false},
        {"memory holds the copy's UTF-8 but not a conversion's worst case", kDigits * 3 / 2, true},
    };
    for (const auto& c : cases) {
        const auto inLittleMemory = [&] {
            const rlim_t room = mappedNowAnd(c.room);
            const rlimit cut{room, room};
            if (setrlimit(RLIMIT_AS, &cut) != 0) std::_Exit(2);
            pressKey(view, Qt::Key_A, Qt::ControlModifier);
            pressKey(view, Qt::Key_C, Qt::ControlModifier);
            // What the desktop asks of the clipboard when another program pastes.
            const QMimeData* served = QApplication::clipboard()->mimeData();
            const QByteArray utf8 = served->data("text/plain;charset=utf-8");
            const QByteArray plain = served->data("text/plain");
            if (!c.copied) std::_Exit(view->note().contains("not enough memory") && plain == "earlier" ? 0 : 3);
            const bool whole = utf8.size() == kDigits && plain.size() == kDigits && utf8.count('7') == kDigits;
            std::_Exit(whole && view->note().isEmpty() ? 0 : 4);
        };
        EXPECT_EXIT(inLittleMemory(), testing::ExitedWithCode(0), "") << c.what;
    }
}

// Turning wrapping on lays every line out anew. Where memory cannot hold the new lines (those of
// words, each of its own length), the pane keeps its lines and the way it laid them out, so that
// a later edit cannot wrap one line and leave the next unwrapped; the same setting made again
// once memory allows wraps them all.
TEST_F(TextControls, WrappingThatMemoryCannotLayOutLeavesTheLinesAsTheyWereUntilItIsAskedAgain) {
    auto window = Scratch();
    auto area = window->add<fw::TextArea>("Area", fw::Record({{"Width", 208}, {"Height", 196}}));
    fw::TextView* view = viewOf(*area);
    area->SetScrollBarHorizontal(true);
    constexpr std::size_t kDigits = 8'000'000;
    const std::string words = wordsOfManyLengths(kDigits);
    area->SetText(words + "\r" + words);
    ASSERT_EQ(view->lineCount(), 2);
    const auto inLittleMemory = [&] {
        rlimit limit{};
        if (getrlimit(RLIMIT_AS, &limit) != 0) std::_Exit(2);
        const rlim_t unlimited = limit.rlim_cur;
        limit.rlim_cur = mappedNowAnd(1u << 20);
        if (setrlimit(RLIMIT_AS, &limit) != 0) std::_Exit(2);
        area->SetScrollBarHorizontal(false);
        if (view->lineCount() != 2) std::_Exit(3);
        if (!view->note().contains("not enough memory")) std::_Exit(4);

        limit.rlim_cur = unlimited;
        if (setrlimit(RLIMIT_AS, &limit) != 0) std::_Exit(2);
        view->setCursorPosition(0);
        view->insertText("5");
        if (view->lineCount() != 2) std::_Exit(5);
        area->SetScrollBarHorizontal(false);
        std::_Exit(view->lineCount() > static_cast<qsizetype>(2 * kDigits / 100) ? 0 : 6);
    };
    EXPECT_EXIT(inLittleMemory(), testing::ExitedWithCode(0), "");
}

#endif

TEST_F(TextControls, KeyDownSeesEveryKeyAndTrueConsumesIt) {
    std::shared_ptr<fw::TextArea> area;
    ScratchWindow::createControls = [&](ScratchWindow& w) {
        area = w.add<fw::TextArea>("Area", fw::String());
        w.attachKeyDown(area);
    };
    auto window = Scratch();
    QWidget* edit = area->widget();

    ScratchWindow::consumeKeys = true;
    typeText(edit, "ab");
    EXPECT_EQ(area->Text().bytes(), "") << "consumed keys do not reach the text";
    ScratchWindow::consumeKeys = false;
    typeText(edit, "cd");
    EXPECT_EQ(area->Text().bytes(), "cd");
    EXPECT_EQ(ScratchWindow::keys, (std::vector<std::string>{"a", "b", "c", "d"}));

    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QString text;  // as the desktop gives it
        std::vector<std::string> seen;
    };
    const Case cases[] = {
        {Qt::Key_Left, Qt::NoModifier, "", {"\x1C"}},
        {Qt::Key_Down, Qt::NoModifier, "", {"\x1F"}},
        {Qt::Key_Return, Qt::NoModifier, "\r", {"\r"}},
        {Qt::Key_Backspace, Qt::NoModifier, "\b", {"\b"}},
        {Qt::Key_Delete, Qt::NoModifier, "\x7f", {"\x7F"}},
        {Qt::Key_Home, Qt::NoModifier, "", {"\x01"}},
        {Qt::Key_Shift, Qt::ShiftModifier, "", {}},
        {Qt::Key_C, Qt::ControlModifier, "\x03", {}},
        {Qt::Key_Eacute, Qt::NoModifier, "\u00e9", {"\xC3\xA9"}},
    };
    ScratchWindow::consumeKeys = true;
    for (const Case& c : cases) {
        ScratchWindow::keys.clear();
        pressKey(edit, c.key, c.modifiers, c.text);
        EXPECT_EQ(ScratchWindow::keys, c.seen) << "key " << c.key;
    }
}

TEST_F(TextControls, AKeyDownHandlerThatRaisesIsReportedAndTheKeyGoesThrough) {
    auto window = Scratch();
    auto area = window->add<fw::TextArea>("Area", fw::String());
    auto raiser = std::make_shared<Raiser>();
    fw::RuntimeAddEventHandler(*area, fw::events::TextAreaKeyDown,
                               fw::RuntimeCreateDelegate(&Raiser::KeyDown, raiser, "( TextArea, String ) as Boolean",
                                                         fw::DelegateKind::Strong));
    testing::internal::CaptureStderr();
    typeText(area->widget(), "x");
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find("handler broke"), std::string::npos) << report;
    EXPECT_EQ(area->Text().bytes(), "x");
}

TEST_F(TextControls, TypingStopsAtLimitTextButTheProgramsTextIsKeptWhole) {
    auto window = Scratch();
    auto field = window->add<fw::TextField>("Field", fw::Record({{"Text", "12345"}, {"LimitText", 3}}));
    auto* line = qobject_cast<QLineEdit*>(field->widget());
    line->end(false);
    typeText(line, "6");
    EXPECT_EQ(field->Text().bytes(), "12345");
    pressKey(line, Qt::Key_Backspace, Qt::NoModifier, "\b");
    EXPECT_EQ(field->Text().bytes(), "1234") << "the user can still shorten it";
    field->SetText("");
    typeText(line, "abcdef");
    EXPECT_EQ(field->Text().bytes(), "abc");

    auto area = window->add<fw::TextArea>("Area", fw::Record({{"LimitText", 4}}));
    typeText(area->widget(), "abcdef");
    EXPECT_EQ(area->Text().bytes(), "abcd");
    area->SetText("");
    QApplication::clipboard()->setText("123456789");
    if (QApplication::clipboard()->text() == "123456789") {
        viewOf(*area)->paste();
        EXPECT_EQ(area->Text().bytes(), "1234");
    }
    area->SetText("ab");
    QMimeData dragged;
    dragged.setText("123456789");
    // Qt delivers a drop to the widget that the drag entered.
    QDragEnterEvent enter(QPoint(1, 1), Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewOf(*area)->viewport(), &enter);
    QDropEvent drop(QPointF(1, 1), Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewOf(*area)->viewport(), &drop);
    EXPECT_EQ(area->Text().bytes(), "12ab") << "a drop is held to the limit too";
}

TEST_F(TextControls, FieldItemsReachTheLineEdit) {
    auto window = Scratch();
    auto field = window->add<fw::TextField>("Field", fw::Record({{"Password", true},
                                                                 {"CueText", "base"},
                                                                 {"ReadOnly", true},
                                                                 {"Alignment", 3},
                                                                 {"Border", false},
                                                                 {"TextColor", fw::Color::FromRGB(0x112233)},
                                                                 {"HelpTag", "The base"}}));
    auto* line = qobject_cast<QLineEdit*>(field->widget());
    EXPECT_EQ(line->echoMode(), QLineEdit::Password);
    EXPECT_EQ(line->placeholderText(), "base");
    EXPECT_TRUE(line->isReadOnly());
    EXPECT_TRUE(line->alignment() & Qt::AlignRight);
    EXPECT_FALSE(line->hasFrame());
    EXPECT_EQ(line->palette().color(QPalette::Text), QColor(0x11, 0x22, 0x33));
    EXPECT_EQ(line->toolTip(), "The base");
    const std::string longNumber(100000, '1');
    field->SetText(longNumber);
    EXPECT_EQ(field->Text().bytes(), longNumber) << "no built-in length limit";
}

TEST_F(TextControls, FontsFollowTheFontItemsWithSystemAsTheDesktopsFont) {
    auto window = Scratch();
    auto label = window->New(fw::Label::Lookup());
    label->Constructor();
    window->AddControl("Label", label);
    auto found = fw::RuntimeCheckCast<fw::Label>(window->ControlByName("Label"), fw::Label::Lookup());
    found->SetTextSize(14.0f);
    found->SetTextUnit(fw::FontUnits::Default);
    fw::SetProperties(found, fw::Record({{"TextFont", "System"},
                                         {"Bold", true},
                                         {"Italic", true},
                                         {"Underline", false},
                                         {"Selectable", false},
                                         {"Multiline", true}}));
    const QFont font = found->widget()->font();
    EXPECT_EQ(font.family(), QApplication::font().family());
    EXPECT_EQ(font.pixelSize(), 14);
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(font.italic());
    auto* shown = qobject_cast<QLabel*>(found->widget());
    EXPECT_TRUE(shown->wordWrap());
    EXPECT_EQ(shown->textInteractionFlags(), Qt::NoTextInteraction);
    found->SetTextSize(0);
    EXPECT_EQ(found->widget()->font().pointSizeF(), QApplication::font().pointSizeF());

    struct Unit {
        fw::FontUnits unit;
        float size;
        int pixels;
        double points;  // -1 where the size is given in pixels
    };
    const Unit units[] = {
        {fw::FontUnits::Default, 14, 14, -1},
        {fw::FontUnits::Pixel, 9, 9, -1},
        {fw::FontUnits::Point, 14, -1, 14},
        {fw::FontUnits::Inch, 0.5f, -1, 36},
    };
    for (const Unit& u : units) {
        found->SetTextUnit(u.unit);
        found->SetTextSize(u.size);
        const QFont sized = found->widget()->font();
        EXPECT_EQ(sized.pixelSize(), u.pixels) << "unit " << int(u.unit);
        EXPECT_EQ(sized.pointSizeF(), u.points) << "unit " << int(u.unit);
    }
}

using Buttons = WidgetTest;

TEST_F(Buttons, AClickRunsTheActionOnceWithTheButtonAndADisabledButtonNothing) {
    std::shared_ptr<fw::PushButton> button;
    ScratchWindow::createControls = [&](ScratchWindow& w) {
        button = w.add<fw::PushButton>("PushButton1", fw::Record({{"Name", "PushButton1"}, {"Caption", "->"}}));
        w.attachPressed(button);
    };
    auto window = Scratch();
    qobject_cast<QPushButton*>(button->widget())->click();
    EXPECT_EQ(ScratchWindow::pressed, (std::vector<std::string>{"PushButton1"}));
    button->Push();
    EXPECT_EQ(ScratchWindow::pressed.size(), 2u);
    button->SetEnabled(false);
    button->Push();
    qobject_cast<QPushButton*>(button->widget())->click();
    EXPECT_EQ(ScratchWindow::pressed.size(), 2u);
}

TEST_F(Buttons, AWeakActionWhoseWindowIsGoneRaisesIsReportedAndRunsNothing) {
    std::shared_ptr<fw::PushButton> button;
    ScratchWindow::createControls = [&](ScratchWindow& w) {
        button = w.add<fw::PushButton>("PushButton1", fw::String());
        w.attachPressed(button);
    };
    std::weak_ptr<ScratchWindow> window = Scratch();
    window.lock()->Close();
    flushDeletes();
    ASSERT_TRUE(window.expired());
    testing::internal::CaptureStderr();
    button->Push();
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find("NilObjectException"), std::string::npos) << report;
    EXPECT_TRUE(ScratchWindow::pressed.empty());
}

TEST_F(Buttons, AttachingRefusesADelegateOfTheWrongTypeOrEvent) {
    auto window = Scratch();
    auto button = window->add<fw::PushButton>("Button", fw::String());
    auto area = window->add<fw::TextArea>("Area", fw::String());
    auto label = window->add<fw::Label>("Label", fw::String());
    auto raiser = std::make_shared<Raiser>();
    std::shared_ptr<fw::DelegateBase> keyDown =
        fw::RuntimeCreateDelegate(&Raiser::KeyDown, raiser, "( TextArea, String ) as Boolean", fw::DelegateKind::Weak);
    std::shared_ptr<fw::DelegateBase> action =
        fw::RuntimeCreateDelegate(&Raiser::Action, raiser, "( PushButton )", fw::DelegateKind::Weak);
    const struct {
        fw::RectControl& control;
        int event;
        std::shared_ptr<fw::DelegateBase> delegate;
        const char* message;
    } refused[] = {
        {*button, fw::events::PushButtonAction, keyDown,
         "RuntimeException: event 15 of PushButton: Action takes a delegate \"( PushButton )\", not \"( TextArea, "
         "String ) as Boolean\""},
        {*area, fw::events::TextAreaKeyDown, action,
         "RuntimeException: event 13 of TextArea: KeyDown takes a delegate \"( TextArea, String ) as Boolean\", not "
         "\"( PushButton )\""},
        {*area, fw::events::PushButtonAction, action,
         "RuntimeException: event 15 of TextArea: only a PushButton has the Action event"},
        {*button, fw::events::TextAreaKeyDown, keyDown,
         "RuntimeException: event 13 of PushButton: only a TextArea has the KeyDown event"},
        {*label, fw::events::PushButtonAction, action,
         "RuntimeException: event 15 of Label: only a PushButton has the Action event"},
        {*button, 99, action, "RuntimeException: event 99 of PushButton: the control has no such event"},
    };
    for (const auto& c : refused) {
        try {
            fw::RuntimeAddEventHandler(c.control, c.event, c.delegate);
            ADD_FAILURE() << "taken: " << c.message;
        } catch (const fw::RuntimeException& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
    EXPECT_THROW(fw::RuntimeAddEventHandler(*button, fw::events::PushButtonAction, nullptr), fw::NilObjectException);
    EXPECT_FALSE(area->KeyDown("x")) << "nothing refused is attached: the key goes through";
    EXPECT_NO_THROW(fw::RuntimeAddEventHandler(*button, fw::events::PushButtonAction, action));
    EXPECT_NO_THROW(fw::RuntimeAddEventHandler(*area, fw::events::TextAreaKeyDown, keyDown));
    EXPECT_THROW(area->KeyDown("x"), fw::RuntimeException) << "the attached KeyDown runs";
}

// A kind of button made from PushButton has PushButton's events, and is pressed as one.
TEST_F(Buttons, AKindOfButtonMadeFromPushButtonTakesTheActionEvent) {
    std::shared_ptr<OwnButton> own;
    ScratchWindow::createControls = [&](ScratchWindow& w) {
        own = w.add<OwnButton>("OwnButton1", fw::String());
        w.attachPressed(own);
    };
    auto window = Scratch();
    ASSERT_TRUE(own);
    own->Push();
    EXPECT_EQ(ScratchWindow::pressed, (std::vector<std::string>{"OwnButton1"}));
}

using Drawing = WidgetTest;

TEST_F(Drawing, ACanvasDrawsItsBackdropAtTheTopLeftOrNothing) {
    QImage red(4, 4, QImage::Format_RGB32);
    red.fill(Qt::red);
    auto window = Scratch();
    auto canvas = window->add<fw::Canvas>("Canvas1", fw::Record({{"Width", 10}, {"Height", 10}}));
    EXPECT_NE(canvas->widget()->grab().toImage().pixelColor(1, 1), QColor(Qt::red));
    canvas->SetBackdrop(fw::Picture::FromImage(red));
    const QImage shown = canvas->widget()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(1, 1), QColor(Qt::red));
    EXPECT_NE(shown.pixelColor(8, 8), QColor(Qt::red));
    canvas->SetBackdrop(nullptr);
    EXPECT_NE(canvas->widget()->grab().toImage().pixelColor(1, 1), QColor(Qt::red));
}

TEST_F(Drawing, ARoundRectangleDrawsItsFillBorderAndRoundedCorners) {
    auto window = Scratch();
    auto box =
        window->add<fw::RoundRectangle>("RoundRectangle1", fw::Record({{"Width", 100},
                                                                       {"Height", 50},
                                                                       {"FillColor", fw::Color::FromRGB(0x00FF00)},
                                                                       {"BorderWidth", 3},
                                                                       {"BorderColor", fw::Color::FromRGB(0x0000FF)},
                                                                       {"OvalWidth", 16},
                                                                       {"OvalHeight", 16}}));
    const QImage shown = box->widget()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(50, 25), QColor(0, 255, 0));
    EXPECT_EQ(shown.pixelColor(1, 25), QColor(0, 0, 255));
    EXPECT_EQ(shown.pixelColor(50, 48), QColor(0, 0, 255));
    EXPECT_NE(shown.pixelColor(0, 0), QColor(0, 0, 255)) << "the corner is cut by the oval";
    EXPECT_NE(shown.pixelColor(0, 0), QColor(0, 255, 0));
}
