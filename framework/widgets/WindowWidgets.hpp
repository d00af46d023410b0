#pragma once
// The Qt widgets behind a Window (framework use only). They report to the Window through
// callbacks, which the Window clears before it lets go of them: a widget can outlive its
// Window by one trip through the event loop.

#include <QMainWindow>
#include <QWidget>

#include <functional>

class QCloseEvent;
class QKeyEvent;
class QPaintEvent;
class QResizeEvent;

namespace fw::qtbridge {

class WindowFrame : public QMainWindow {
public:
    std::function<void()> onClose;
    // Whether the window has been painted on the screen: shown and hidden again before the
    // event loop ran, it never was.
    bool reachedScreen() const { return reachedScreen_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool reachedScreen_ = false;
};

// The content area: the parent of the controls' widgets, below the menu bar.
class ContentWidget : public QWidget {
public:
    std::function<void(int width, int height)> onResize;
    std::function<bool(int key)> onKey;  // true: the key was taken

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace fw::qtbridge
