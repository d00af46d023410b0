#include "MenuFixture.hpp"
#include "QtTestProgram.hpp"
#include "TestSupport.hpp"

#include "framework/Exceptions.hpp"
#include "framework/MenuPresenter.hpp"
#include "framework/Runtime.hpp"
#include "framework/TextView.hpp"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeySequence>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// QtGui's own entry for a key press on its way to the focus object: it sends the
// ShortcutOverride event and then lets the shortcut map dispatch, as a real key press does.
bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods, const QString& text,
                                  bool autorep, ushort count);

namespace {

using coretest::ActionOf;
using coretest::NewEntry;
using coretest::NewProgramBar;

class MenuTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qttest::Application(); }
    void TearDown() override {
        fw::RuntimeRegisterAppObject(nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A shown, active window that presents the bar, with a text field, a text area and a button.
    struct Shown {
        QMainWindow window;
        QLineEdit* line = nullptr;
        fw::TextView* area = nullptr;
        QPushButton* button = nullptr;

        explicit Shown(const std::shared_ptr<fw::MenuBar>& bar) {
            window.setMenuBar(fw::CreateQMenuBar(bar, &window));
            auto* content = new QWidget(&window);
            auto* layout = new QVBoxLayout(content);
            layout->addWidget(line = new QLineEdit);
            layout->addWidget(area = new fw::TextView);
            layout->addWidget(button = new QPushButton("OK"));
            window.setCentralWidget(content);
            window.show();
            window.activateWindow();
            QApplication::processEvents();
        }
        // Either kind of text control, through the calls the tests make on it.
        struct TextControl {
            const char* kind;
            QWidget* widget;
            std::function<QString()> text;
            std::function<void(const QString&)> setText;
            std::function<void(bool)> setReadOnly;
            std::function<QString()> selected;
            std::function<int()> cursor;
            std::function<void(int anchor, int cursor)> select;
        };
        std::vector<TextControl> textControls() {
            return {
                {"QLineEdit", line, [this] { return line->text(); }, [this](const QString& t) { line->setText(t); },
                 [this](bool r) { line->setReadOnly(r); }, [this] { return line->selectedText(); },
                 [this] { return line->cursorPosition(); },
                 [this](int anchor, int cursor) { line->setSelection(anchor, cursor - anchor); }},
                {"TextView", area, [this] { return area->text(); }, [this](const QString& t) { area->setText(t); },
                 [this](bool r) { area->setReadOnly(r); }, [this] { return area->selectedText(); },
                 [this] { return static_cast<int>(area->cursorPosition()); },
                 [this](int anchor, int cursor) {
                     area->setCursorPosition(anchor);
                     area->setCursorPosition(cursor, true);
                 }},
            };
        }
        // The offscreen platform leaves a closed popup's window active.
        bool focus(QWidget* w) {
            window.activateWindow();
            w->setFocus();
            QApplication::processEvents();
            return QApplication::focusWidget() == w;
        }
    };
};

TEST_F(MenuTest, ChildIsDirectAndLookupSearchesEveryLevel) {
    auto bar = NewProgramBar();
    auto edit = bar->Child("EditMenu");
    ASSERT_TRUE(edit);
    EXPECT_EQ(bar->Child("EditCopy"), nullptr);
    EXPECT_EQ(bar->Lookup("EditCopy"), edit->Item(3));
    EXPECT_EQ(bar->Lookup("UntitledMenu1"), edit->Item(1));
    EXPECT_EQ(bar->Lookup("UntitledMenu0"), edit->Item(6));
    EXPECT_EQ(bar->Lookup("editcopy"), nullptr);
    EXPECT_EQ(bar->Lookup("Nowhere"), nullptr);
    EXPECT_EQ(edit->Lookup("EditMenu"), nullptr);  // below the entry, not the entry itself

    auto about = fw::RuntimeCheckCast<fw::AppleMenuItem>(bar->Lookup("AppleAbout"), fw::AppleMenuItem::Lookup());
    ASSERT_TRUE(about);
    EXPECT_EQ(about->Parent().lock(), bar->Child("FileMenu"));
    EXPECT_TRUE(fw::RuntimeCheckCast<fw::QuitMenuItem>(bar->Lookup("FileQuit"), fw::QuitMenuItem::Lookup()));
    EXPECT_THROW(fw::RuntimeCheckCast<fw::QuitMenuItem>(bar->Lookup("EditCopy"), fw::QuitMenuItem::Lookup()),
                 fw::IllegalCastException);

    std::vector<std::string> names;
    for (std::size_t i = 0; i < bar->Count(); ++i) names.push_back(bar->Item(i)->Name().bytes());
    EXPECT_EQ(names, (std::vector<std::string>{"FileMenu", "EditMenu", "HelpMenu"}));
    EXPECT_EQ(edit->Count(), 8u);
    EXPECT_EQ(bar->Item(3), nullptr);
}

// Depth first in order: a match deep in an earlier menu comes before a shallow one later.
TEST_F(MenuTest, LookupIsDepthFirstInOrder) {
    auto root = NewEntry(fw::MenuBar::Lookup(), "Root", "");
    auto first = NewEntry(fw::MenuItem::Lookup(), "First", "First");
    auto inner = NewEntry(fw::MenuItem::Lookup(), "Inner", "Inner");
    auto deep = NewEntry(fw::MenuItem::Lookup(), "Twin", "deep");
    auto shallow = NewEntry(fw::MenuItem::Lookup(), "Twin", "shallow");
    root->Append(first);
    first->Append(inner);
    inner->Append(deep);
    root->Append(shallow);
    EXPECT_EQ(root->Lookup("Twin"), deep);
    EXPECT_EQ(root->Child("Twin"), shallow);
}

TEST_F(MenuTest, DeepTreesAreSearchedAndReleasedWithoutRecursion) {
    auto root = NewEntry(fw::MenuBar::Lookup(), "Root", "");
    auto tip = root;
    for (int i = 0; i < 200000; ++i) {
        auto next = NewEntry(fw::MenuItem::Lookup(), "Level", "x");
        tip->Append(next);
        tip = next;
    }
    tip->SetName("Tip");
    std::weak_ptr<fw::MenuItem> watch = tip;
    tip.reset();
    EXPECT_FALSE(watch.expired());
    EXPECT_EQ(root->Lookup("Tip"), watch.lock());
    root.reset();
    EXPECT_TRUE(watch.expired());
}

TEST_F(MenuTest, AppendRefusesNilAndCyclesAndMovesAnEntry) {
    auto bar = NewProgramBar();
    auto edit = bar->Child("EditMenu");
    auto help = bar->Child("HelpMenu");
    EXPECT_THROW(edit->Append(nullptr), fw::NilObjectException);
    EXPECT_THROW(edit->Append(edit), fw::RuntimeException);
    EXPECT_THROW(edit->Append(bar), fw::RuntimeException);
    EXPECT_EQ(bar->Count(), 3u);
    EXPECT_EQ(edit->Count(), 8u);

    auto copy = bar->Lookup("EditCopy");
    help->Append(copy);
    EXPECT_EQ(edit->Count(), 7u);
    EXPECT_EQ(help->Count(), 2u);
    EXPECT_EQ(help->Item(1), copy);
    EXPECT_EQ(copy->Parent().lock(), help);
}

// An entry kept elsewhere outlives the tree it was taken from: it no longer has a parent, and
// it can stand in another tree, whose walks up from it stop at the new root.
TEST_F(MenuTest, AnEntryThatOutlivesItsParentHasNoneAndCanBeAppendedAgain) {
    auto bar = NewProgramBar();
    auto edit = bar->Child("EditMenu");
    auto copy = bar->Lookup("EditCopy");
    ASSERT_EQ(copy->Parent().lock(), edit);
    edit.reset();
    bar.reset();
    EXPECT_EQ(copy->Parent().lock(), nullptr);

    auto other = NewEntry(fw::MenuItem::Lookup(), "OtherMenu", "&Other");
    other->Append(copy);
    EXPECT_EQ(copy->Parent().lock(), other);
    EXPECT_EQ(other->Child("EditCopy"), copy);
    EXPECT_THROW(copy->Append(other), fw::RuntimeException);
}

// A shown entry that moves to another menu is shown there, and no longer where it was.
TEST_F(MenuTest, AShownEntryThatMovesLeavesTheMenuItStoodIn) {
    auto bar = NewProgramBar();
    Shown shown(bar);
    QAction* copy = ActionOf(bar->Lookup("EditCopy"));
    QMenu* edit = ActionOf(bar->Child("EditMenu"))->menu();
    QMenu* help = ActionOf(bar->Child("HelpMenu"))->menu();
    ASSERT_TRUE(edit->actions().contains(copy));
    bar->Child("HelpMenu")->Append(bar->Lookup("EditCopy"));
    EXPECT_FALSE(edit->actions().contains(copy));
    EXPECT_EQ(help->actions().indexOf(copy), 1);
    EXPECT_EQ(ActionOf(bar->Lookup("EditCopy")), copy);
}

TEST_F(MenuTest, ShownBarCarriesCaptionsSeparatorsMnemonicsAndShortcuts) {
    auto bar = NewProgramBar();
    Shown shown(bar);
    QMenuBar* qbar = shown.window.menuBar();
    ASSERT_EQ(qbar->actions().size(), 3);

    const struct {
        const char* name;
        const char* text;  // "" for a separator
        QKeySequence keys;
        QKeySequence mnemonic;
    } rows[] = {
        {"FileMenu", "&File", {}, QKeySequence(Qt::ALT | Qt::Key_F)},
        {"AppleAbout", "About Radixel...", {}, {}},
        {"FileQuit", "&Quit", QKeySequence(Qt::CTRL | Qt::Key_Q), QKeySequence(Qt::ALT | Qt::Key_Q)},
        {"EditMenu", "&Edit", {}, QKeySequence(Qt::ALT | Qt::Key_E)},
        {"EditUndo", "&Undo", QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_U)},
        {"UntitledMenu1", "", {}, {}},
        {"EditCut", "Cu&t", QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::ALT | Qt::Key_T)},
        {"EditCopy", "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::ALT | Qt::Key_C)},
        {"EditPaste", "&Paste", QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::ALT | Qt::Key_P)},
        {"EditClear", "&Delete", {}, QKeySequence(Qt::ALT | Qt::Key_D)},
        {"UntitledMenu0", "", {}, {}},
        {"EditSelectAll", "Select &All", QKeySequence(Qt::CTRL | Qt::Key_A), QKeySequence(Qt::ALT | Qt::Key_A)},
        {"HelpMenu", "Help", {}, {}},
        {"HelpRadixelHelp", "Radixel Help", {}, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto entry = bar->Child(row.name) ? bar->Child(row.name) : bar->Lookup(row.name);
        ASSERT_TRUE(entry);
        QAction* action = ActionOf(entry);
        const bool separator = std::string(row.text).empty();
        EXPECT_EQ(action->isSeparator(), separator);
        EXPECT_EQ(entry->IsSeparator(), separator);
        EXPECT_EQ(action->text().toStdString(), row.text);
        EXPECT_EQ(action->shortcut(), row.keys);
        EXPECT_EQ(QKeySequence::mnemonic(action->text()), row.mnemonic);
        EXPECT_EQ(entry->KeyboardShortcutWasSet(), !separator);

        // Where Qt shows it: the menus on the bar, the commands in their menu, in order.
        auto parent = entry->Parent().lock();
        const QList<QAction*> shownBeside = parent == bar ? qbar->actions() : ActionOf(parent)->menu()->actions();
        EXPECT_TRUE(shownBeside.contains(action));
        if (parent == bar) {
            EXPECT_TRUE(action->menu());
        }
    }
    EXPECT_EQ(ActionOf(bar->Child("EditMenu"))->menu()->actions().indexOf(ActionOf(bar->Lookup("UntitledMenu0"))), 6);
}

TEST_F(MenuTest, ShortcutTextsBecomeQtKeys) {
    const struct {
        const char* text;
        QKeySequence keys;
    } good[] = {
        {"Cmd+Q", QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {"cmd+q", QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {"Command+Shift+Z", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
        {"Option+Cmd+F", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_F)},
        {"Cmd++", QKeySequence(Qt::CTRL | Qt::Key_Plus)},
        {"F1", QKeySequence(Qt::Key_F1)},
        {"+", QKeySequence(Qt::Key_Plus)},
        {"", QKeySequence()},
    };
    auto entry = NewEntry(fw::MenuItem::Lookup(), "Entry", "Entry");
    for (const auto& c : good) {
        entry->SetKeyboardShortcut(c.text);
        EXPECT_EQ(ActionOf(entry)->shortcut(), c.keys) << '"' << c.text << '"';
        EXPECT_EQ(entry->KeyboardShortcut().bytes(), c.text);
    }

    entry->SetKeyboardShortcut("Cmd+Z");
    for (const char* bad : {"Cmd+", "Cmd+Frobnicate", "Hyper+Q", "Cmd+Q, Cmd+W", "Shift"}) {
        try {
            entry->SetKeyboardShortcut(bad);
            ADD_FAILURE() << '"' << bad << "\" was taken";
        } catch (const fw::RuntimeException& e) {
            EXPECT_NE(std::string(e.what()).find(std::string("\"") + bad + "\""), std::string::npos) << e.what();
        }
        EXPECT_EQ(entry->KeyboardShortcut().bytes(), "Cmd+Z") << '"' << bad << '"';
        EXPECT_EQ(ActionOf(entry)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z)) << '"' << bad << '"';
    }
}

TEST_F(MenuTest, OneTreeStandsInSeveralBarsAndTheyFollowItsChanges) {
    auto bar = NewProgramBar();
    auto first = std::make_unique<Shown>(bar);
    Shown second(bar);
    QAction* quit = ActionOf(bar->Lookup("FileQuit"));
    for (QMenuBar* qbar : {first->window.menuBar(), second.window.menuBar()})
        EXPECT_TRUE(qbar->actions().at(0)->menu()->actions().contains(quit));

    auto tools = NewEntry(fw::MenuItem::Lookup(), "ToolsMenu", "&Tools", "");
    bar->Append(tools);
    tools->Append(NewEntry(fw::MenuItem::Lookup(), "ToolsRun", "&Run", "Cmd+R"));
    bar->Child("HelpMenu")->SetText("&Help");
    bar->Lookup("EditPaste")->SetEnabled(false);
    for (QMenuBar* qbar : {first->window.menuBar(), second.window.menuBar()}) {
        ASSERT_EQ(qbar->actions().size(), 4);
        EXPECT_EQ(qbar->actions().at(2)->text(), "&Help");
        ASSERT_TRUE(qbar->actions().at(3)->menu());
        EXPECT_EQ(qbar->actions().at(3)->menu()->actions().size(), 1);
    }
    EXPECT_FALSE(ActionOf(bar->Lookup("EditPaste"))->isEnabled());

    first.reset();  // a window that goes takes its Qt bar, not the entries
    bar->Append(NewEntry(fw::MenuItem::Lookup(), "WindowMenu", "&Window", ""));
    EXPECT_EQ(second.window.menuBar()->actions().size(), 5);
    EXPECT_EQ(ActionOf(bar->Lookup("FileQuit")), quit);
}

TEST_F(MenuTest, ChoosingAnEntryRunsTheHandlerRegisteredUnderItsName) {
    auto bar = NewProgramBar();
    Shown shown(bar);
    auto app = coretest::RegisterRecordingApp();
    int help = 0, replaced = 0;
    app->AddMenuHandler("AppleAbout", [](fw::Object*) { return true; });
    app->AddMenuHandler("HelpRadixelHelp", [&](fw::Object*) { return ++help, true; });
    ActionOf(bar->Lookup("HelpRadixelHelp"))->trigger();
    EXPECT_EQ(help, 1);

    app->AddMenuHandler("HelpRadixelHelp", [&](fw::Object*) { return ++replaced, true; });
    ASSERT_EQ(app->MenuHandlers().size(), 2u);
    EXPECT_EQ(app->MenuHandlers()[0].first.bytes(), "AppleAbout");
    EXPECT_EQ(app->MenuHandlers()[1].first.bytes(), "HelpRadixelHelp");
    ActionOf(bar->Lookup("HelpRadixelHelp"))->trigger();
    EXPECT_EQ(help, 1);
    EXPECT_EQ(replaced, 1);

    EXPECT_FALSE(bar->Child("HelpMenu")->Action());  // no handler, no standard command
}

// A handler may drop the last reference to the very tree whose entry is being chosen from
// an open menu; the menu, the entry and its action all go while Qt is still inside them.
TEST_F(MenuTest, AHandlerMayReleaseTheTreeOfItsOwnEntry) {
    auto bar = NewProgramBar();
    std::weak_ptr<fw::MenuBar> watch = bar;
    auto window = std::make_unique<Shown>(bar);
    auto app = coretest::RegisterRecordingApp();
    int ran = 0;
    app->AddMenuHandler("HelpRadixelHelp", [&](fw::Object*) {
        ++ran;
        bar.reset();
        return true;
    });
    QMenu* menu = window->window.menuBar()->actions().at(2)->menu();
    menu->popup(QPoint(0, 0));
    QApplication::processEvents();
    menu->setActiveAction(menu->actions().at(0));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(menu, &press);
    EXPECT_EQ(ran, 1);
    EXPECT_TRUE(watch.expired());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // what the loop does next
    EXPECT_TRUE(window->window.menuBar()->actions().isEmpty());
}

// One script over both kinds of text control: what each Edit entry leaves in the control and
// on the clipboard.
TEST_F(MenuTest, EditEntriesActOnTheFocusedTextControl) {
    auto bar = NewProgramBar();
    Shown shown(bar);
    const struct {
        const char* entry;
        const char* text;       // in the control afterwards
        const char* clipboard;  // on the clipboard afterwards
    } script[] = {
        {"EditSelectAll", "12345", "-"}, {"EditCopy", "12345", "12345"},       {"EditClear", "", "12345"},
        {"EditUndo", "12345", "12345"},  {"EditSelectAll", "12345", "12345"},  {"EditCut", "", "12345"},
        {"EditPaste", "12345", "12345"}, {"EditPaste", "1234512345", "12345"},
    };
    const struct {
        const char* entry;
        const char* clipboard;
    } readOnlyScript[] = {
        {"EditSelectAll", "-"}, {"EditCut", "abc"}, {"EditPaste", "abc"}, {"EditClear", "abc"}, {"EditUndo", "abc"},
    };
    QClipboard* clipboard = QGuiApplication::clipboard();
    for (const auto& control : shown.textControls()) {
        SCOPED_TRACE(control.kind);
        control.setReadOnly(false);
        control.setText("12345");
        ASSERT_TRUE(shown.focus(control.widget));
        clipboard->setText("-");
        for (const auto& step : script) {
            EXPECT_TRUE(bar->Lookup(step.entry)->Action()) << step.entry;
            EXPECT_EQ(control.text().toStdString(), step.text) << "after " << step.entry;
            EXPECT_EQ(clipboard->text().toStdString(), step.clipboard) << "after " << step.entry;
        }

        control.setText("abc");
        control.setReadOnly(true);
        clipboard->setText("-");
        for (const auto& step : readOnlyScript) {
            ActionOf(bar->Lookup(step.entry))->trigger();
            EXPECT_EQ(control.text().toStdString(), "abc") << "read-only, after " << step.entry;
            EXPECT_EQ(clipboard->text().toStdString(), step.clipboard) << "read-only, after " << step.entry;
        }
    }

    // No text control in focus: the commands do nothing.
    shown.line->setReadOnly(false);
    shown.line->setText("kept");
    ASSERT_TRUE(shown.focus(shown.button));
    for (const char* entry : {"EditSelectAll", "EditCut", "EditPaste", "EditClear", "EditUndo"})
        EXPECT_FALSE(bar->Lookup(entry)->Action()) << entry;
    EXPECT_EQ(shown.line->text(), "kept");

    // A handler that the application registers for an Edit entry comes first.
    auto app = coretest::RegisterRecordingApp();
    int copies = 0;
    app->AddMenuHandler("EditCopy", [&](fw::Object*) { return ++copies, true; });
    ASSERT_TRUE(shown.focus(shown.line));
    shown.line->selectAll();
    clipboard->setText("-");
    ActionOf(bar->Lookup("EditCopy"))->trigger();
    EXPECT_EQ(copies, 1);
    EXPECT_EQ(clipboard->text(), "-");
}

// A key as the keyboard gives it: a shortcut when one matches, else pressed on the receiver.
void pressKey(QObject* receiver, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    static ulong timestamp = 100;
    if (qt_sendShortcutOverrideEvent(receiver, ++timestamp, key, modifiers, text, false, 1)) return;
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(receiver, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(receiver, &release);
}

// Alt+E gives the menu bar the keyboard focus, and a one-line field drops its selection as it
// loses the focus; the Edit entries still act on the selection the field had.
TEST_F(MenuTest, EditEntriesChosenFromTheKeyboardActOnTheSelectionTheMenuBarFoundThere) {
    auto bar = NewProgramBar();
    Shown shown(bar);
    const struct {
        const char* entry;
        int key;  // the entry's access key in the Edit menu
        const char* text;
        const char* clipboard;
        const char* selected;
    } steps[] = {
        {"EditCopy", Qt::Key_C, "12345", "234", "234"},
        {"EditCut", Qt::Key_T, "15", "234", ""},
        {"EditClear", Qt::Key_D, "15", "-", ""},
    };
    QClipboard* clipboard = QGuiApplication::clipboard();
    for (const auto& control : shown.textControls()) {
        for (const auto& step : steps) {
            SCOPED_TRACE(std::string(control.kind) + ", Alt+E then " + step.entry);
            ASSERT_TRUE(shown.focus(control.widget));
            control.setText("12345");
            control.select(4, 1);  // "234", the cursor at its start
            clipboard->setText("-");
            pressKey(control.widget, Qt::Key_E, Qt::AltModifier, "e");
            QWidget* menu = QApplication::activePopupWidget();
            ASSERT_NE(menu, nullptr) << "Alt+E opened no menu";
            pressKey(menu, step.key, Qt::NoModifier, QString(QChar(step.key).toLower()));
            EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
            EXPECT_EQ(QApplication::focusWidget(), control.widget);
            EXPECT_EQ(control.text().toStdString(), step.text);
            EXPECT_EQ(clipboard->text().toStdString(), step.clipboard);
            EXPECT_EQ(control.selected().toStdString(), step.selected);
            EXPECT_EQ(control.cursor(), 1);
        }
    }

    // While the menu bar keeps the focus the entries reach the field too (as a shortcut would
    // choose them), and leaving the bar with Escape hands the field back as it was.
    ASSERT_TRUE(shown.focus(shown.line));
    shown.line->setText("12345");
    shown.line->setSelection(1, 3);
    clipboard->setText("-");
    pressKey(shown.line, Qt::Key_E, Qt::AltModifier, "e");
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    pressKey(QApplication::activePopupWidget(), Qt::Key_Escape, Qt::NoModifier, QString());
    ASSERT_EQ(QApplication::focusWidget(), shown.window.menuBar());
    EXPECT_TRUE(bar->Lookup("EditCopy")->Action());
    EXPECT_EQ(clipboard->text().toStdString(), "234");
    pressKey(shown.window.menuBar(), Qt::Key_Escape, Qt::NoModifier, QString());
    EXPECT_EQ(QApplication::focusWidget(), shown.line);
    EXPECT_EQ(shown.line->selectedText().toStdString(), "234");
    EXPECT_EQ(shown.line->cursorPosition(), 4);

    // Once the user has turned back to the field, its own selection counts: none here.
    pressKey(shown.line, Qt::Key_End, Qt::NoModifier, QString());
    clipboard->setText("-");
    EXPECT_TRUE(bar->Lookup("EditCopy")->Action());
    EXPECT_EQ(clipboard->text().toStdString(), "-");
}

TEST_F(MenuTest, MenusAreBroughtUpToDateBeforeAMenuOpens) {
    auto bar = NewProgramBar();
    Shown shown(bar);
    auto app = coretest::RegisterRecordingApp();
    auto clear = bar->Lookup("EditClear");
    auto paste = bar->Lookup("EditPaste");
    clear->SetAutoEnable(false);
    paste->SetEnabled(false);  // the program's own choice on an AutoEnable entry lasts
    bool clearWasDisabled = false;
    app->onEnable = [&] {
        clearWasDisabled = !ActionOf(clear)->isEnabled();
        clear->SetEnabled(true);
    };

    QMenu* edit = ActionOf(bar->Child("EditMenu"))->menu();
    edit->popup(QPoint(0, 0));
    QApplication::processEvents();
    edit->hide();
    EXPECT_EQ(app->log, std::vector<std::string>{"enable"});
    EXPECT_TRUE(clearWasDisabled);
    EXPECT_TRUE(ActionOf(clear)->isEnabled());
    EXPECT_FALSE(ActionOf(paste)->isEnabled());
}

TEST_F(MenuTest, MenusAreBroughtUpToDateBeforeAShortcutIsDispatched) {
    auto bar = NewProgramBar();
    auto help = bar->Lookup("HelpRadixelHelp");
    help->SetKeyboardShortcut("Cmd+H");
    help->SetAutoEnable(false);  // disabled until EnableMenuItems enables it
    Shown shown(bar);
    ASSERT_TRUE(shown.focus(shown.button));
    auto app = coretest::RegisterRecordingApp();
    app->onEnable = [&] { help->SetEnabled(true); };
    app->AddMenuHandler("HelpRadixelHelp", [&](fw::Object*) { return app->log.push_back("help"), true; });

    EXPECT_TRUE(qt_sendShortcutOverrideEvent(shown.button, 1, Qt::Key_H, Qt::ControlModifier, "h", false, 1));
    EXPECT_EQ(app->log, (std::vector<std::string>{"enable", "help"}));

    app->log.clear();
    qt_sendShortcutOverrideEvent(shown.button, 2, Qt::Key_A, Qt::NoModifier, "a", false, 1);
    EXPECT_TRUE(app->log.empty()) << "a key that is no shortcut updated the menus";
}

}  // namespace
