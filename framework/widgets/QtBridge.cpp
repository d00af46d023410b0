#include "QtBridge.hpp"

#include "Exceptions.hpp"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <string>

namespace fw::qtbridge {

QString toQString(const String& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

String toString(const QString& text) {
    QByteArray bytes = text.toUtf8();
    return String(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

std::string crToLineFeeds(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            out += text[i];
        } else {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        }
    }
    return out;
}

QColor toQColor(Color colour) { return QColor(colour.red, colour.green, colour.blue); }

String keyText(const QKeyEvent& key) {
    switch (key.key()) {
    case Qt::Key_Home: return String("\x01");
    case Qt::Key_Enter: return String("\x03");
    case Qt::Key_End: return String("\x04");
    case Qt::Key_Backspace: return String("\x08");
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return String("\x09");
    case Qt::Key_PageUp: return String("\x0B");
    case Qt::Key_PageDown: return String("\x0C");
    case Qt::Key_Return: return String("\x0D");
    case Qt::Key_Escape: return String("\x1B");
    case Qt::Key_Left: return String("\x1C");
    case Qt::Key_Right: return String("\x1D");
    case Qt::Key_Up: return String("\x1E");
    case Qt::Key_Down: return String("\x1F");
    case Qt::Key_Delete: return String("\x7F");
    default: return toString(key.text());
    }
}

Qt::Alignment horizontalAlignment(std::int32_t code) {
    switch (code) {
    case 2: return Qt::AlignHCenter;
    case 3: return Qt::AlignRight;
    default: return Qt::AlignLeft;
    }
}

void requireWidgets(const char* what) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        throw RuntimeException(String(std::string("RuntimeException: ") + what +
                                      " needs the framework's runtime (RuntimeInit) to be started first"));
}

void releaseWidget(QWidget* widget) {
    if (!widget || !QCoreApplication::instance()) return;
    widget->hide();
    widget->deleteLater();
}

}  // namespace fw::qtbridge
