#include "MenuShortcut.hpp"

#include <QStringList>

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

namespace {

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

}  // namespace

// The program writes shortcuts the way its desktop of origin does ("Cmd+Q"); Qt's portable
// text names the same keys differently. Nothing is read that Qt would turn into an unknown key.
std::optional<QKeySequence> ParseMenuShortcut(const String& text) {
    if (text.empty()) return QKeySequence();
    const std::string_view s = text.view();

    std::vector<std::string_view> tokens;
    std::size_t start = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '+' || i == start) continue;  // a '+' right after a separator is the key itself
        tokens.push_back(s.substr(start, i - start));
        start = i + 1;
    }
    if (start >= s.size()) return std::nullopt;  // "Cmd+" names no key
    tokens.push_back(s.substr(start));

    QStringList parts;
    for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
        const std::string modifier = lower(tokens[i]);
        if (modifier == "cmd" || modifier == "command" || modifier == "ctrl" || modifier == "control") parts << "Ctrl";
        else if (modifier == "option" || modifier == "opt" || modifier == "alt") parts << "Alt";
        else if (modifier == "shift") parts << "Shift";
        else if (modifier == "meta") parts << "Meta";
        else return std::nullopt;
    }
    const QString key = QString::fromUtf8(tokens.back().data(), static_cast<qsizetype>(tokens.back().size()));
    if (key.isEmpty() || key.contains(QLatin1Char(','))) return std::nullopt;
    parts << key;

    const QKeySequence sequence = QKeySequence::fromString(parts.join(QLatin1Char('+')), QKeySequence::PortableText);
    if (sequence.count() != 1) return std::nullopt;
    const Qt::Key k = sequence[0].key();
    if (k == Qt::Key_unknown || k == 0 || k == Qt::Key_Control || k == Qt::Key_Shift || k == Qt::Key_Alt ||
        k == Qt::Key_Meta)
        return std::nullopt;
    return sequence;
}

}  // namespace fw
