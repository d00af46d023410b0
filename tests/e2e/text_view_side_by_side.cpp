// Qt's QPlainTextEdit and our text view side by side in one window, for the key cases of the
// widget tests' table, so that the same keys can reach both through a real X server and its
// keyboard (keys_on_x.sh sends them with xdotool).
//
// Driven by lines on standard input, each answered by lines ending in "ok":
//   list             the cases that keys alone play, each as "case NAME" and its steps, each as
//                    "step KEYS WHAT": how many keys it presses, and "key NAME" or "type TEXT"
//                    for xdotool or "record" or "scroll ROW" for the program
//   start NAME       both editors set up as the case starts
//   side left|right  the clipboard as the case starts and the focus on that side's editor; the
//                    left side's outcome is taken when the right side begins
//   wait N           answers once N keys (other than modifiers) have reached the window
//   record, scroll R a case's steps that are not keys, on the current side
//   report           both outcomes, "same NAME" or "differs NAME" and what differs
//   quit
// With --offscreen it plays the same cases itself through Qt's own event path instead, as the
// widget tests do, and prints the same reports.

#include "EditorCases.hpp"
#include "EditorPlayer.hpp"
#include "EditorStage.hpp"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMetaEnum>
#include <QSocketNotifier>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace sidebyside;

namespace {

// The name xdotool gives a key with its modifiers, as "ctrl+shift+Left".
std::optional<std::string> xdotoolName(QKeyCombination combination) {
    static const std::map<int, const char*> named = {
        {Qt::Key_Left, "Left"},       {Qt::Key_Right, "Right"},   {Qt::Key_Up, "Up"},
        {Qt::Key_Down, "Down"},       {Qt::Key_Home, "Home"},     {Qt::Key_End, "End"},
        {Qt::Key_PageUp, "Prior"},    {Qt::Key_PageDown, "Next"}, {Qt::Key_Backspace, "BackSpace"},
        {Qt::Key_Delete, "Delete"},   {Qt::Key_Insert, "Insert"}, {Qt::Key_Return, "Return"},
        {Qt::Key_Enter, "KP_Enter"},  {Qt::Key_Tab, "Tab"},       {Qt::Key_Backtab, "Tab"},
        {Qt::Key_Escape, "Escape"},   {Qt::Key_Space, "space"},   {Qt::Key_Copy, "XF86Copy"},
        {Qt::Key_Paste, "XF86Paste"}, {Qt::Key_Cut, "XF86Cut"},
    };
    const int key = combination.key();
    std::string name;
    if (auto found = named.find(key); found != named.end()) name = found->second;
    else if (key >= Qt::Key_F1 && key <= Qt::Key_F35) name = "F" + std::to_string(key - Qt::Key_F1 + 1);
    else if (key >= Qt::Key_A && key <= Qt::Key_Z) name = std::string(1, static_cast<char>('a' + (key - Qt::Key_A)));
    else if (key >= Qt::Key_0 && key <= Qt::Key_9) name = std::string(1, static_cast<char>(key));
    else return std::nullopt;
    const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
    std::string prefix;
    if (modifiers & Qt::ControlModifier) prefix += "ctrl+";
    if (modifiers & Qt::AltModifier) prefix += "alt+";
    if (modifiers & Qt::MetaModifier) prefix += "super+";
    if (modifiers & Qt::ShiftModifier) prefix += "shift+";
    return prefix + name;
}

struct Step {
    std::string line;  // what the script does: "key NAME", "type TEXT", "record" or "scroll ROW"
    int keys = 0;      // how many keys it presses
};

// A case's steps as keys and commands, or nothing when the mouse plays a part in it, a key has
// no X name or the case cannot be played here.
std::optional<std::vector<Step>> stepsOf(const Case& c) {
    if (whyNotHere(c)) return std::nullopt;
    std::vector<Step> steps;
    for (const Action& a : c.actions) {
        switch (a.kind) {
        case Action::StandardKey:
        case Action::Key: {
            const QKeyCombination combination = a.kind == Action::StandardKey
                                                    ? QKeySequence::keyBindings(a.standard).at(a.binding)[0]
                                                    : QKeyCombination(a.modifiers, static_cast<Qt::Key>(a.key));
            const std::optional<std::string> name = xdotoolName(combination);
            if (!name) return std::nullopt;
            for (int i = 0; i < a.times; ++i) steps.push_back({"key " + *name, 1});
            break;
        }
        case Action::Type:
            steps.push_back({"type " + a.text.toStdString(), static_cast<int>(a.text.toUcs4().size())});
            break;
        case Action::Record: steps.push_back({"record", 0}); break;
        case Action::ScrollTo: steps.push_back({"scroll " + std::to_string(a.row), 0}); break;
        default: return std::nullopt;
        }
    }
    return steps;
}

void printReport(const std::string& name, const Outcome& ours, const Outcome& qt) {
    const std::vector<std::string> found = differences(ours, qt);
    std::cout << (found.empty() ? "same " : "differs ") << name << "\n";
    for (const std::string& difference : found) std::cout << "  " << difference << "\n";
    std::cout << "  ours: " << describe(ours) << "\n  Qt's: " << describe(qt) << "\n";
}

bool isModifier(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta ||
           key == Qt::Key_AltGr || key == Qt::Key_Super_L || key == Qt::Key_Super_R;
}

// Counts the keys that reach the window: each once, before the window hands it to a widget.
class KeyCounter : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && !isModifier(static_cast<QKeyEvent*>(event)->key())) ++count;
        return QObject::eventFilter(watched, event);
    }
};

class SideBySide : public QWidget {
public:
    SideBySide() {
        setWindowTitle(QStringLiteral("Text views side by side"));
        new QHBoxLayout(this);
        for (const NamedCase& named : allCases())
            if (stepsOf(named.c)) cases_.push_back(named);
    }

    void command(const std::string& line) {
        const std::string verb = line.substr(0, line.find(' '));
        const std::string rest = line.size() > verb.size() ? line.substr(verb.size() + 1) : std::string();
        if (verb == "list") list();
        else if (verb == "start") start(rest);
        else if (verb == "side") side(rest == "left" ? 0 : 1);
        else if (verb == "wait") return waitFor(std::stoi(rest));
        else if (verb == "record") stages_[side_]->record();
        else if (verb == "scroll") stages_[side_]->scrollTo(std::stoi(rest));
        else if (verb == "report") report();
        else if (verb == "quit") QApplication::quit();
        else std::cout << "unknown command: " << line << "\n";
        std::cout << "ok" << std::endl;
    }

private:
    void list() {
        for (const NamedCase& named : cases_) {
            std::cout << "case " << named.name << "\n";
            const std::vector<Step> steps = *stepsOf(named.c);
            for (const Step& step : steps) std::cout << "step " << step.keys << " " << step.line << "\n";
        }
    }

    void start(const std::string& name) {
        current_ = nullptr;
        for (const NamedCase& named : cases_)
            if (named.name == name) current_ = &named;
        if (!current_) {
            std::cout << "no key case " << name << "\n";
            return;
        }
        for (auto& stage : stages_) stage.reset();
        const EditorStage::Kind kinds[] = {EditorStage::Kind::Qt, EditorStage::Kind::Ours};
        for (int i = 0; i < 2; ++i) {
            stages_[i] = EditorStage::make(kinds[i], current_->c.setup, this);
            layout()->addWidget(stages_[i].get());
        }
        show();
        if (!counter_) {
            counter_ = std::make_unique<KeyCounter>();
            windowHandle()->installEventFilter(counter_.get());
        }
        QApplication::processEvents();
        for (auto& stage : stages_) stage->start(current_->c.setup);
        QApplication::processEvents();
    }

    void side(int which) {
        if (which == 1) qtOutcome_ = stages_[0]->outcome();
        side_ = which;
        QApplication::clipboard()->setText(current_->c.setup.clipboard);
        activateWindow();
        stages_[side_]->editor()->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
        counter_->count = 0;
    }

    void waitFor(int keys) {
        QTimer* poll = new QTimer(this);
        const auto started = std::make_shared<int>(0);
        connect(poll, &QTimer::timeout, this, [this, poll, keys, started] {
            if (counter_->count < keys && ++*started < 200) return;
            if (counter_->count < keys) std::cout << "only " << counter_->count << " of " << keys << " keys came\n";
            std::cout << "ok" << std::endl;
            poll->deleteLater();
        });
        poll->start(25);
    }

    void report() { printReport(current_->name, stages_[1]->outcome(), qtOutcome_); }

    std::vector<NamedCase> cases_;
    const NamedCase* current_ = nullptr;
    std::unique_ptr<EditorStage> stages_[2];
    int side_ = 0;
    Outcome qtOutcome_;
    std::unique_ptr<KeyCounter> counter_;
};

int playOffscreen() {
    for (const NamedCase& named : allCases()) {
        if (!stepsOf(named.c)) continue;
        const Outcome qt = play(EditorStage::Kind::Qt, named.c);
        printReport(named.name, play(EditorStage::Kind::Ours, named.c), qt);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc > 1 && std::string(argv[1]) == "--offscreen") return playOffscreen();
    SideBySide window;
    QSocketNotifier input(fileno(stdin), QSocketNotifier::Read);
    // Lines that arrived together wait in the stream's buffer, where the notifier does not see them.
    QObject::connect(&input, &QSocketNotifier::activated, &window, [&] {
        do {
            std::string line;
            if (!std::getline(std::cin, line)) return QApplication::quit();
            window.command(line);
        } while (std::cin.rdbuf()->in_avail() > 0);
    });
    return QApplication::exec();
}
