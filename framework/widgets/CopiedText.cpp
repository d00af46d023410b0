#include "CopiedText.hpp"

#include <QStringList>

namespace fw {

namespace {

const QString& plainText() {
    static const QString format = QStringLiteral("text/plain");
    return format;
}

const QString& plainTextInUtf8() {
    static const QString format = QStringLiteral("text/plain;charset=utf-8");
    return format;
}

}  // namespace

CopiedText::CopiedText(TextBuffer text) : text_(std::move(text)), utf8_(text_.toUtf8()) {}

QStringList CopiedText::formats() const { return {plainText(), plainTextInUtf8()}; }

bool CopiedText::hasFormat(const QString& mimeType) const {
    return mimeType == plainText() || mimeType == plainTextInUtf8();
}

QVariant CopiedText::retrieveData(const QString& mimeType, QMetaType type) const {
    if (!hasFormat(mimeType)) return QVariant();
    if (type.id() == QMetaType::QString) return text_.toString();
    return utf8_;
}

}  // namespace fw
