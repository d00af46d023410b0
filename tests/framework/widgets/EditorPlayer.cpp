#include "EditorPlayer.hpp"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QWindow>

#include <stdexcept>

namespace sidebyside {

namespace {

// The gap between two clicks of one double or triple click, and the pause between two
// gestures, long enough that the platform takes them for separate clicks.
constexpr int kWithinGesture = 80;
constexpr int kBetweenGestures = 2000;

QWidget* keyTarget(EditorStage& stage) {
    QWidget* focused = QApplication::focusWidget();
    return focused ? focused : stage.editor();
}

// The text the X keyboard gives with a key: control characters with Ctrl, the letter's case
// with Shift, nothing with keys that write nothing.
QString keyText(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    switch (key) {
    case Qt::Key_Backspace: return QStringLiteral("\b");
    case Qt::Key_Tab: return QStringLiteral("\t");
    case Qt::Key_Return:
    case Qt::Key_Enter: return QStringLiteral("\r");
    case Qt::Key_Escape: return QStringLiteral("\x1b");
    case Qt::Key_Delete: return QStringLiteral("\x7f");
    default: break;
    }
    if (key < Qt::Key_Space || key > Qt::Key_AsciiTilde) return QString();
    const auto ascii = static_cast<char16_t>(key);
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        if (modifiers & Qt::ControlModifier) return QString(QChar(ascii - u'A' + 1));
        return QString(QChar(modifiers & Qt::ShiftModifier ? ascii : ascii - u'A' + u'a'));
    }
    return QString(QChar(ascii));
}

void pressKey(EditorStage& stage, QKeyCombination combination, int times) {
    const QString text = keyText(combination.key(), combination.keyboardModifiers());
    for (int i = 0; i < times; ++i)
        QTest::sendKeyEvent(QTest::Click, keyTarget(stage), combination.key(), text, combination.keyboardModifiers());
}

// Each character typed as the keyboard gives it: its key code is the character's own, as the
// platform names a key it has no name for, and its text the character.
void typeText(EditorStage& stage, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString typed = text.mid(i, length);
        const auto code = static_cast<Qt::Key>(typed.toUpper().toUcs4().value(0));
        QTest::sendKeyEvent(QTest::Click, keyTarget(stage), code, typed, Qt::NoModifier);
        i += length - 1;
    }
}

// The mouse as the window system reports it, with times that the platform reads double and
// triple clicks from. QTest's own mouse functions move the clock a double-click interval on after
// each release, so that a press after a release is never part of a double click, and a double
// click followed by a drag cannot be made with them.
class Mouse {
public:
    explicit Mouse(EditorStage& stage) : stage_(stage), window_(stage.window()->windowHandle()) {}

    // The button goes down where the text puts the point now; it comes up where the hand is.
    void press(const Where& where, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        at_ = stage_.pointAt(where);
        send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, modifiers);
    }
    void release(Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        send(QEvent::MouseButtonRelease, Qt::NoButton, Qt::LeftButton, modifiers);
    }
    // Moves in steps, as a hand does, with the button down.
    void moveTo(const Where& where) {
        const QPoint from = at_;
        const QPoint to = stage_.pointAt(where);
        for (int step = 1; step <= 3; ++step) {
            at_ = from + (to - from) * step / 3;
            send(QEvent::MouseMove, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        }
    }
    void click(const Where& where, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        press(where, modifiers);
        release(modifiers);
    }
    void pause() { QTest::lastMouseTimestamp += kBetweenGestures; }

private:
    // `buttons` are those held once the event is done, `button` the one it presses or releases.
    void send(QEvent::Type type, Qt::MouseButtons buttons, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
        QTest::lastMouseTimestamp += kWithinGesture;
        const QPoint local = stage_.editor()->viewport()->mapTo(stage_.window(), at_);
        qt_handleMouseEvent(window_, local, window_->mapToGlobal(local), buttons, button, type, modifiers,
                            QTest::lastMouseTimestamp);
        QApplication::processEvents();
    }

    EditorStage& stage_;
    QWindow* window_;
    QPoint at_;
};

void perform(EditorStage& stage, const Action& a) {
    Mouse mouse(stage);
    switch (a.kind) {
    case Action::StandardKey: pressKey(stage, QKeySequence::keyBindings(a.standard).at(a.binding)[0], a.times); break;
    case Action::Key: pressKey(stage, QKeyCombination(a.modifiers, static_cast<Qt::Key>(a.key)), a.times); break;
    case Action::Type: typeText(stage, a.text); break;
    case Action::Click:
        mouse.pause();
        mouse.click(a.from, a.modifiers);
        break;
    case Action::DoubleClick:
    case Action::TripleClick:
        mouse.pause();
        mouse.click(a.from);
        mouse.click(a.from);
        if (a.kind == Action::TripleClick) mouse.click(a.from);
        break;
    case Action::Drag:
    case Action::DoubleClickDrag:
        mouse.pause();
        if (a.kind == Action::DoubleClickDrag) mouse.click(a.from);
        mouse.press(a.from);
        mouse.moveTo(a.to);
        mouse.release();
        break;
    case Action::ScrollTo: stage.scrollTo(a.row); break;
    case Action::Record: stage.record(); break;
    }
    QApplication::processEvents();
}

}  // namespace

std::optional<std::string> whyNotHere(const Case& c) {
    for (const Action& a : c.actions)
        if (a.kind == Action::StandardKey && QKeySequence::keyBindings(a.standard).size() <= a.binding)
            return "this platform binds no key to " + describe(a);
    if (c.setup.primarySelection && !QApplication::clipboard()->supportsSelection())
        return std::string("this platform has no primary selection");
    return std::nullopt;
}

Outcome play(EditorStage::Kind kind, const Case& c) {
    std::unique_ptr<EditorStage> stage = EditorStage::make(kind, c.setup);
    stage->show();
    stage->activateWindow();
    if (!QTest::qWaitForWindowActive(stage.get()))
        throw std::runtime_error(std::string("the window of ") + stage->editorName() + " did not become active");
    stage->start(c.setup);
    QApplication::processEvents();
    for (const Action& a : c.actions) perform(*stage, a);
    return stage->outcome();
}

}  // namespace sidebyside
