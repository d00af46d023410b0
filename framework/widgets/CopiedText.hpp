#pragma once
// What a text view puts on the clipboard.

#include "TextBuffer.hpp"

#include <QByteArray>
#include <QMimeData>

namespace fw {

// Text copied from a view, as the clipboard serves it. Another program asks for it later, in the
// event loop, as UTF-8: converting a long text then would need memory that nothing guards, and a
// text of a hundred million digits that memory could not convert would end the program. So the
// UTF-8 is made at the copy, where a want of memory is answered with the view's note and the
// clipboard left as it was, and served as it stands. A paste in this program takes the
// characters themselves, which share the view's strings.
class CopiedText : public QMimeData {
    Q_OBJECT
public:
    // Raises std::bad_alloc when memory cannot hold the text's UTF-8.
    explicit CopiedText(TextBuffer text);

    // The characters copied, for a paste in this program.
    const TextBuffer& characters() const { return text_; }

    QStringList formats() const override;
    bool hasFormat(const QString& mimeType) const override;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    TextBuffer text_;
    QByteArray utf8_;
};

}  // namespace fw
