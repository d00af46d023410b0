#include "WindowWidgets.hpp"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QResizeEvent>

namespace fw::qtbridge {

void WindowFrame::closeEvent(QCloseEvent* event) {
    event->accept();
    // The callback may end the Window, which clears onClose: run a copy.
    if (auto callback = onClose) callback();
}

void WindowFrame::paintEvent(QPaintEvent* event) {
    reachedScreen_ = true;
    QMainWindow::paintEvent(event);
}

void ContentWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (auto callback = onResize) callback(event->size().width(), event->size().height());
}

void ContentWidget::keyPressEvent(QKeyEvent* event) {
    if (auto callback = onKey; callback && callback(event->key())) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace fw::qtbridge
