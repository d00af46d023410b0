// What a window shows while work runs off the event loop: a busy pane that takes no edits, the
// note over it that is no part of its text, the window's first look at the keys, and the busy
// pointer over the window.

#include "WidgetTestSupport.hpp"

#include "framework/BusyCursor.hpp"
#include "framework/KeyPreview.hpp"
#include "framework/TextField.hpp"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>

#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace widgettest;

namespace {

const char* const kNote = "Converting\u2026 3 s. Escape stops it.";

// The notes shown over the pane's text, as the user sees them.
std::vector<QLabel*> ShownNotes(const fw::TextArea& area) {
    std::vector<QLabel*> shown;
    for (QLabel* label : viewOf(area)->viewport()->findChildren<QLabel*>())
        if (label->isVisible()) shown.push_back(label);
    return shown;
}

// Every way the user has of changing a pane's text, tried at its end.
void TryEveryEdit(fw::TextView* view) {
    view->setFocus();
    pressKey(view, Qt::Key_End, Qt::ControlModifier);
    typeText(view, "x");
    pressKey(view, Qt::Key_Return, Qt::NoModifier, "\r");
    pressKey(view, Qt::Key_Backspace, Qt::NoModifier, "\b");
    pressKey(view, Qt::Key_Z, Qt::ControlModifier);
    QApplication::clipboard()->setText("pasted");
    pressKey(view, Qt::Key_V, Qt::ControlModifier);
    pressKey(view, Qt::Key_A, Qt::ControlModifier);
    pressKey(view, Qt::Key_X, Qt::ControlModifier);
    pressKey(view, Qt::Key_Delete, Qt::NoModifier);
    QInputMethodEvent composed;
    composed.setCommitString("y");
    QApplication::sendEvent(view, &composed);
    QMimeData dropped;
    dropped.setText("dropped");
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &drop);
}

using BusyPanes = WidgetTest;

TEST_F(BusyPanes, ABusyPaneTakesNoEditsButIsStillSelectedCopiedAndSetByTheProgram) {
    auto window = Scratch();
    auto area = window->add<fw::TextArea>("Area", fw::Record({{"Width", 208}, {"Height", 196}}));
    fw::TextView* view = viewOf(*area);
    area->SetText("an earlier\rresult");
    area->SetBusy(true);
    EXPECT_TRUE(area->Busy());
    EXPECT_FALSE(area->ReadOnly()) << "the design's ReadOnly is the area's own";
    EXPECT_TRUE(view->isReadOnly());
    TryEveryEdit(view);
    EXPECT_EQ(area->Text().bytes(), "an earlier\rresult");
    pressKey(view, Qt::Key_A, Qt::ControlModifier);
    pressKey(view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "an earlier\nresult");

    area->SetText("the result");
    EXPECT_EQ(area->Text().bytes(), "the result");
    area->SetBusy(false);
    EXPECT_FALSE(view->isReadOnly());
    pressKey(view, Qt::Key_End, Qt::ControlModifier);
    typeText(view, "s");
    EXPECT_EQ(area->Text().bytes(), "the results");

    auto readOnly = window->add<fw::TextArea>("ReadOnly", fw::Record({{"ReadOnly", true}}));
    readOnly->SetBusy(true);
    readOnly->SetBusy(false);
    EXPECT_TRUE(viewOf(*readOnly)->isReadOnly()) << "ending busy made a read-only area editable";
}

TEST_F(BusyPanes, TheBusyNoteStandsOverThePaneApartFromItsText) {
    auto window = Scratch();
    auto area = window->add<fw::TextArea>("Area", fw::Record({{"Width", 208}, {"Height", 196}}));
    fw::TextView* view = viewOf(*area);
    area->SetText(fw::String(std::string(5000, '7')));

    area->SetBusyNote(kNote);
    EXPECT_TRUE(ShownNotes(*area).empty()) << "a note shown over a pane that is not busy";
    area->SetBusy(true);
    area->SetBusyNote(kNote);
    area->SetBusyNote("Converting\u2026 4 s. Escape stops it.");
    auto notes = ShownNotes(*area);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0]->text().toStdString(), "Converting\u2026 4 s. Escape stops it.");
    EXPECT_EQ(area->BusyNote().bytes(), "Converting\u2026 4 s. Escape stops it.");
    EXPECT_TRUE(notes[0]->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_TRUE(view->viewport()->rect().contains(notes[0]->geometry()));

    // Neither the text nor what Select All and Copy take hold the note.
    EXPECT_EQ(area->Text().bytes(), std::string(5000, '7'));
    view->setFocus();
    pressKey(view, Qt::Key_A, Qt::ControlModifier);
    pressKey(view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), std::string(5000, '7'));

    // It follows the pane's size.
    area->SetWidth(300);
    QApplication::processEvents();
    notes = ShownNotes(*area);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_GT(notes[0]->width(), 250);
    EXPECT_TRUE(view->viewport()->rect().contains(notes[0]->geometry()));

    area->SetBusyNote("");
    EXPECT_TRUE(ShownNotes(*area).empty());
    area->SetBusyNote(kNote);
    area->SetBusy(false);
    flushDeletes();
    EXPECT_TRUE(ShownNotes(*area).empty());
    EXPECT_EQ(area->BusyNote().bytes(), "");
}

using KeyPreviews = WidgetTest;

TEST_F(KeyPreviews, TheWindowSeesEachKeyInAnyControlFirstAndTakesWhatItWants) {
    auto window = Scratch();
    auto field = window->add<fw::TextField>("Field", fw::Record({{"Width", 80}, {"Height", 22}}));
    auto area = window->add<fw::TextArea>("Area", fw::Record({{"Top", 40}, {"Width", 208}, {"Height", 100}}));
    auto button = window->add<fw::PushButton>("Button", fw::Record({{"Top", 150}, {"Caption", "->"}}));
    window->attachKeyDown(area);
    window->attachPressed(button);
    QWidget* const controls[] = {field->widget(), viewOf(*area), button->widget()};

    std::vector<std::string> previewed;
    auto preview = std::make_unique<fw::KeyPreview>(*window, [&](const fw::String& key) {
        previewed.push_back(key.bytes());
        return key == fw::String("\x1B");
    });
    for (QWidget* control : controls) {
        previewed.clear();
        ScratchWindow::keys.clear();
        control->setFocus();
        pressKey(control, Qt::Key_Escape);
        EXPECT_EQ(previewed, std::vector<std::string>{"\x1B"}) << control->metaObject()->className();
        EXPECT_TRUE(ScratchWindow::keys.empty()) << "a key the window took went on to the pane";
    }

    // A key it leaves goes on to the control; command keys are the menus'.
    previewed.clear();
    ScratchWindow::keys.clear();
    typeText(viewOf(*area), "7");
    EXPECT_EQ(previewed.front(), "7");
    EXPECT_EQ(ScratchWindow::keys, std::vector<std::string>{"7"});
    EXPECT_EQ(area->Text().bytes(), "7");
    previewed.clear();
    pressKey(viewOf(*area), Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(previewed.empty());
    pressKey(button->widget(), Qt::Key_Space, Qt::NoModifier, " ");
    EXPECT_EQ(ScratchWindow::pressed, std::vector<std::string>{"Button"});

    // Gone, it sees nothing more.
    preview.reset();
    previewed.clear();
    ScratchWindow::keys.clear();
    pressKey(viewOf(*area), Qt::Key_Escape);
    EXPECT_TRUE(previewed.empty());
    EXPECT_EQ(ScratchWindow::keys, std::vector<std::string>{"\x1B"});
}

TEST_F(KeyPreviews, APreviewMayEndItselfAndSeesNoOtherWindowsKeys) {
    auto window = Scratch();
    auto area = window->add<fw::TextArea>("Area", fw::Record({{"Width", 208}, {"Height", 100}}));
    std::unique_ptr<fw::KeyPreview> preview;
    int seen = 0;
    preview = std::make_unique<fw::KeyPreview>(*window, [&](const fw::String&) {
        ++seen;
        preview.reset();
        return true;
    });
    pressKey(viewOf(*area), Qt::Key_Escape);
    pressKey(viewOf(*area), Qt::Key_Escape);
    flushDeletes();
    EXPECT_EQ(seen, 1);

    QLineEdit elsewhere;
    elsewhere.show();
    int seenElsewhere = 0;
    fw::KeyPreview other(*window, [&](const fw::String&) { return ++seenElsewhere, true; });
    pressKey(&elsewhere, Qt::Key_Escape);
    typeText(&elsewhere, "a");
    EXPECT_EQ(seenElsewhere, 0);
    EXPECT_EQ(elsewhere.text().toStdString(), "a");
}

using BusyCursors = WidgetTest;

TEST_F(BusyCursors, ThePointerShowsBusyOverTheWholeWindowAndEachControlGetsItsOwnBack) {
    auto window = Scratch();
    auto field = window->add<fw::TextField>("Field", fw::Record({{"Width", 80}, {"Height", 22}}));
    auto area = window->add<fw::TextArea>("Area", fw::Record({{"Top", 40}, {"Width", 208}, {"Height", 100}}));
    QWidget* frame = window->widget();
    QWidget* edit =
        field->widget()->findChild<QLineEdit*>() ? field->widget()->findChild<QLineEdit*>() : field->widget();
    QWidget* text = viewOf(*area)->viewport();
    const Qt::CursorShape frameBefore = frame->cursor().shape();
    const Qt::CursorShape editBefore = edit->cursor().shape();
    const Qt::CursorShape textBefore = text->cursor().shape();
    ASSERT_EQ(textBefore, Qt::IBeamCursor);
    {
        fw::BusyCursor busy(*window);
        for (QWidget* widget : {frame, edit, text, static_cast<QWidget*>(viewOf(*area))})
            EXPECT_EQ(widget->cursor().shape(), Qt::BusyCursor) << widget->metaObject()->className();
    }
    EXPECT_EQ(frame->cursor().shape(), frameBefore);
    EXPECT_EQ(edit->cursor().shape(), editBefore);
    EXPECT_EQ(text->cursor().shape(), textBefore);
}

}  // namespace
