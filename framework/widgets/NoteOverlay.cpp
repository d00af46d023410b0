#include "NoteOverlay.hpp"

#include <QAbstractScrollArea>
#include <QEvent>

namespace fw {

namespace {

// As far from the viewport's edges as the text view keeps its text, and its own words as far
// from its frame.
constexpr int kMargin = 4;

}  // namespace

NoteOverlay::NoteOverlay(QAbstractScrollArea* area) : QLabel(area->viewport()) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setMargin(kMargin);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::ToolTipBase));
    colours.setColor(QPalette::WindowText, colours.color(QPalette::ToolTipText));
    setPalette(colours);
    parentWidget()->installEventFilter(this);
}

void NoteOverlay::setNote(const QString& note) {
    setText(note);
    place();
    show();
    raise();
}

bool NoteOverlay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) place();
    return QLabel::eventFilter(watched, event);
}

void NoteOverlay::place() {
    const QRect room = parentWidget()->rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
    const int height = std::min(room.height(), heightForWidth(room.width()));
    setGeometry(room.left(), room.bottom() + 1 - height, room.width(), height);
}

}  // namespace fw
