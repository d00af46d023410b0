#pragma once
// Words shown over a scrolling area's text and apart from it (framework use): a label in the
// colours of a tool tip along the bottom edge of the area's viewport. It follows the viewport's
// size, lets every click through to the text below it, and is no part of the text: selecting
// and copying the text never takes it along.

#include <QLabel>

class QAbstractScrollArea;

namespace fw {

class NoteOverlay : public QLabel {
public:
    explicit NoteOverlay(QAbstractScrollArea* area);
    void setNote(const QString& note);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place();
};

}  // namespace fw
