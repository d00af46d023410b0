#pragma once
// An event filter on the Qt application object, installed once per object (framework use).

#include <QCoreApplication>
#include <QPointer>

namespace fw {

// Installs a Watch, a QObject whose eventFilter sees every event of the application, unless the
// application object has one already; without an application object, nothing.
template <class Watch>
void WatchApplication() {
    static QPointer<Watch> watch;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || watch) return;
    watch = new Watch(app);
    app->installEventFilter(watch);
}

}  // namespace fw
