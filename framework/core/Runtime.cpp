#include "Runtime.hpp"

#include "AppleMenuItem.hpp"
#include "Application.hpp"
#include "Canvas.hpp"
#include "Delegate.hpp"
#include "Exceptions.hpp"
#include "FolderItem.hpp"
#include "Graphics.hpp"
#include "Label.hpp"
#include "MenuBar.hpp"
#include "MenuItem.hpp"
#include "Picture.hpp"
#include "PrinterSetup.hpp"
#include "PushButton.hpp"
#include "QuitMenuItem.hpp"
#include "RectControl.hpp"
#include "RoundRectangle.hpp"
#include "StyledTextPrinter.hpp"
#include "TextArea.hpp"
#include "TextControl.hpp"
#include "TextEdit.hpp"
#include "TextField.hpp"
#include "Window.hpp"

#include <QApplication>
#include <QByteArray>
#include <QEvent>
#include <QIcon>
#include <QImage>
#include <QMessageLogContext>
#include <QMetaObject>
#include <QPixmap>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace fw {

namespace {

struct RunState {
    QApplication* ownedApp = nullptr;
    bool startupRan = false;
    bool startupFailed = false;
    bool openDelivered = false;
    bool quitRequested = false;
    int loopStatus = 0;
};

RunState& run() {
    static RunState state;
    return state;
}

// Counts the runs, so that an Open posted in one run and never delivered (its loop ended
// first) cannot reach the application object of the next.
unsigned runNumber = 0;

std::vector<std::function<void()>>& shutdownRoutines() {
    static std::vector<std::function<void()>> routines;
    return routines;
}

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

// Qt's messages while the platform starts are held back: when it fails, Qt would print a
// paragraph and abort; instead the first reason goes into one line and the process ends
// with status 1. When it succeeds they are passed on unchanged.
struct HeldMessage {
    QtMsgType type;
    std::string category;
    QString text;
};
std::vector<HeldMessage> heldMessages;

void holdStartupMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        QString reason = heldMessages.empty() ? text : heldMessages.front().text;
        reason = reason.section(QLatin1Char('\n'), 0, 0).trimmed();
        std::fprintf(stderr, "radixel: cannot open windows on this display (%s)\n", reason.toLocal8Bit().constData());
        std::fflush(stderr);
        std::_Exit(1);
    }
    heldMessages.push_back({type, context.category ? context.category : "", text});
}

void passOnHeldMessages() {
    for (const HeldMessage& m : heldMessages) {
        QMessageLogger logger(nullptr, 0, nullptr, m.category.c_str());
        const QByteArray text = m.text.toLocal8Bit();
        switch (m.type) {
        case QtDebugMsg: logger.debug("%s", text.constData()); break;
        case QtInfoMsg: logger.info("%s", text.constData()); break;
        case QtWarningMsg: logger.warning("%s", text.constData()); break;
        default: logger.critical("%s", text.constData()); break;
        }
    }
    heldMessages.clear();
}

// Every window carries the program's icon: the picture in the bundle's Resources folder named
// after the executable, the same file that a desktop entry's Icon names. A bundle without one
// leaves the platform's default.
void useBundleIcon() {
    auto executable = AppFolderItemGetter();
    if (!executable || !executable->Parent() || !executable->Parent()->Parent()) return;
    auto resources = GetApplicationBundleResources();
    auto file = resources ? resources->Child(executable->path().filename().string() + ".png") : nullptr;
    if (!file) return;
    const QImage icon(QString::fromStdString(file->path().string()));
    if (!icon.isNull()) QApplication::setWindowIcon(QIcon(QPixmap::fromImage(icon)));
}

void deliverOpen(unsigned postedInRun) {
    RunState& state = run();
    if (postedInRun != runNumber || state.openDelivered) return;
    state.openDelivered = true;
    if (auto app = GetAppObject()) CallGuarded([&] { app->CallOpen(); });
}

}  // namespace

void RuntimeInit() {
    if (QCoreApplication* existing = QCoreApplication::instance()) {
        if (!qobject_cast<QApplication*>(existing))
            throw RuntimeException("RuntimeException: the process has a Qt application object without widgets");
        useBundleIcon();
        return;
    }
    if (!isSet("QT_QPA_PLATFORM") && !isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY")) {
        std::fputs("radixel: no display to open windows on (DISPLAY is not set)\n", stderr);
        std::fflush(stderr);
        std::exit(1);
    }
    // QApplication keeps references to both for its whole life.
    static int argc = 1;
    static char name[] = "radixel";
    static char* argv[] = {name, nullptr};
    QtMessageHandler previous = qInstallMessageHandler(holdStartupMessage);
    run().ownedApp = new QApplication(argc, argv);
    qInstallMessageHandler(previous);
    passOnHeldMessages();
    useBundleIcon();
}

void RunFrameworkInitialization(void (*startup)()) {
    RunState& state = run();
    if (state.startupRan) return;
    state.startupRan = true;
    RuntimeInit();
    RuntimeInitExternalClasses();
    state.startupFailed = !CallGuarded([startup] {
        if (!startup) RaiseNilObjectException();
        startup();
    });
}

void RuntimeInitExternalClasses() { FrameworkClassTables(); }

const std::vector<const ClassTable*>& FrameworkClassTables() {
    // Parents before children, so that each table finds its parent built.
    static const std::vector<const ClassTable*> tables = {
        &Object::Lookup(),
        &RuntimeException::Lookup(),
        &NilObjectException::Lookup(),
        &IllegalCastException::Lookup(),
        &DelegateBase::Lookup(),
        &Application::Lookup(),
        &MenuItem::Lookup(),
        &MenuBar::Lookup(),
        &AppleMenuItem::Lookup(),
        &QuitMenuItem::Lookup(),
        &Window::Lookup(),
        &RectControl::Lookup(),
        &TextControl::Lookup(),
        &TextEdit::Lookup(),
        &Label::Lookup(),
        &TextField::Lookup(),
        &TextArea::Lookup(),
        &PushButton::Lookup(),
        &Canvas::Lookup(),
        &RoundRectangle::Lookup(),
        &FolderItem::Lookup(),
        &Picture::Lookup(),
        &Graphics::Lookup(),
        &PrinterSetup::Lookup(),
        &StyledTextPrinter::Lookup(),
    };
    return tables;
}

void RuntimeRun() {
    RunState& state = run();
    if (state.startupFailed) {
        std::fputs("radixel: start-up did not finish; quitting\n", stderr);
        std::fflush(stderr);
        return;
    }
    if (!QCoreApplication::instance()) {
        std::fputs("radixel: the event loop cannot run before the runtime is initialised\n", stderr);
        std::fflush(stderr);
        state.loopStatus = 1;
        return;
    }
    if (state.quitRequested) return;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [posted = runNumber] { deliverOpen(posted); }, Qt::QueuedConnection);
    state.loopStatus = QApplication::exec();
}

int RuntimeExit() {
    RunState& state = run();
    const int status = state.startupFailed ? 1 : state.loopStatus;

    RuntimeRegisterAppObject(nullptr);
    const auto& routines = shutdownRoutines();
    for (auto it = routines.rbegin(); it != routines.rend(); ++it) CallGuarded(*it);

    if (state.ownedApp) {
        // Objects handed to the loop for deletion go while Qt still stands.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        delete state.ownedApp;
    }
    state = RunState();
    ++runNumber;
    return status;
}

void RuntimeAddShutdownRoutine(std::function<void()> routine) {
    if (routine) shutdownRoutines().push_back(std::move(routine));
}

bool QuitMenuAction() {
    if (!QCoreApplication::instance()) return false;
    run().quitRequested = true;
    run().loopStatus = 0;
    QCoreApplication::exit(0);
    return true;
}

}  // namespace fw
