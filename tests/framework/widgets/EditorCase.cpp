#include "EditorCase.hpp"

#include <QMetaEnum>

#include <algorithm>
#include <cstdio>

namespace sidebyside {

MarkedText parseMarks(const QString& marked) {
    MarkedText parsed;
    qsizetype cursor = -1, anchor = -1;
    for (QChar c : marked) {
        if (c == QLatin1Char('|')) cursor = parsed.text.size();
        else if (c == QLatin1Char('^')) anchor = parsed.text.size();
        else parsed.text.append(c);
    }
    parsed.cursor = cursor < 0 ? 0 : cursor;
    parsed.anchor = anchor < 0 ? parsed.cursor : anchor;
    return parsed;
}

Action key(QKeySequence::StandardKey standard, int times) {
    Action a;
    a.kind = Action::StandardKey;
    a.standard = standard;
    a.times = times;
    return a;
}

Action binding(QKeySequence::StandardKey standard, int index) {
    Action a = key(standard);
    a.binding = index;
    return a;
}

Action key(int key, Qt::KeyboardModifiers modifiers, int times) {
    Action a;
    a.kind = Action::Key;
    a.key = key;
    a.modifiers = modifiers;
    a.times = times;
    return a;
}

Action type(const QString& text) {
    Action a;
    a.kind = Action::Type;
    a.text = text;
    return a;
}

Action click(Where where, Qt::KeyboardModifiers modifiers) {
    Action a;
    a.kind = Action::Click;
    a.from = where;
    a.modifiers = modifiers;
    return a;
}

Action doubleClick(Where where) {
    Action a;
    a.kind = Action::DoubleClick;
    a.from = where;
    return a;
}

Action tripleClick(Where where) {
    Action a;
    a.kind = Action::TripleClick;
    a.from = where;
    return a;
}

Action drag(Where from, Where to) {
    Action a;
    a.kind = Action::Drag;
    a.from = from;
    a.to = to;
    return a;
}

Action doubleClickDrag(Where from, Where to) {
    Action a = drag(from, to);
    a.kind = Action::DoubleClickDrag;
    return a;
}

Action scrollTo(int row) {
    Action a;
    a.kind = Action::ScrollTo;
    a.row = row;
    return a;
}

Action record() {
    Action a;
    a.kind = Action::Record;
    return a;
}

namespace {

// Escapes what would not read on one line: line breaks, tabs, and everything beyond ASCII.
std::string escaped(const QString& text) {
    std::string out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char32_t c = text.at(i).isHighSurrogate() && i + 1 < text.size()
                               ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1))
                               : text.at(i).unicode();
        if (c > 0xFFFF) ++i;
        if (c == u'\n') out += "\\n";
        else if (c == u'\t') out += "\\t";
        else if (c == u'\\') out += "\\\\";
        else if (c >= 0x20 && c < 0x7F) out += static_cast<char>(c);
        else {
            char code[16];
            std::snprintf(code, sizeof code, c > 0xFFFF ? "\\U%08X" : "\\u%04X", static_cast<unsigned>(c));
            out += code;
        }
    }
    return out;
}

std::string describe(const Where& where) {
    const std::string row = std::to_string(where.row);
    const std::string column = std::to_string(where.column);
    switch (where.place) {
    case Where::Column: return "row " + row + " column " + column;
    case Where::RightOfRow: return "right of row " + row;
    case Where::TopMargin: return "top margin over column " + column;
    case Where::BelowText: return "below the text at column " + column;
    }
    return "?";
}

std::string keyName(int key, Qt::KeyboardModifiers modifiers) {
    return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(key))).toString().toStdString();
}

}  // namespace

std::string describe(const Action& a) {
    std::string said;
    switch (a.kind) {
    case Action::StandardKey: {
        said = QMetaEnum::fromType<QKeySequence::StandardKey>().valueToKey(a.standard);
        if (a.binding > 0) said += " #" + std::to_string(a.binding + 1);
        const QList<QKeySequence> bindings = QKeySequence::keyBindings(a.standard);
        said += " (" +
                (a.binding < bindings.size() ? bindings.at(a.binding).toString().toStdString() : "no binding here") +
                ")";
        break;
    }
    case Action::Key: said = keyName(a.key, a.modifiers); break;
    case Action::Type: return "type \"" + escaped(a.text) + "\"";
    case Action::Click: return (a.modifiers & Qt::ShiftModifier ? "shift+click " : "click ") + describe(a.from);
    case Action::DoubleClick: return "double click " + describe(a.from);
    case Action::TripleClick: return "triple click " + describe(a.from);
    case Action::Drag: return "drag from " + describe(a.from) + " to " + describe(a.to);
    case Action::DoubleClickDrag: return "double click at " + describe(a.from) + " and drag to " + describe(a.to);
    case Action::ScrollTo: return "scroll row " + std::to_string(a.row) + " to the top";
    case Action::Record: return "record";
    }
    return a.times > 1 ? said + " x" + std::to_string(a.times) : said;
}

std::string describe(const std::vector<Action>& actions) {
    std::string said;
    for (const Action& a : actions) said += (said.empty() ? "" : ", ") + describe(a);
    return said;
}

std::string markedText(const QString& text, std::optional<qsizetype> cursor, qsizetype anchor) {
    if (!cursor) return '"' + escaped(text) + '"';
    QString marked = text;
    const qsizetype caret = std::clamp<qsizetype>(*cursor, 0, text.size());
    const qsizetype other = anchor < 0 ? caret : std::clamp<qsizetype>(anchor, 0, text.size());
    // The later mark first, so that the earlier one keeps its place.
    if (other > caret) marked.insert(other, QLatin1Char('^'));
    marked.insert(caret, QLatin1Char('|'));
    if (other < caret) marked.insert(other, QLatin1Char('^'));
    return '"' + escaped(marked) + '"';
}

namespace {

std::string rowsText(const std::vector<qsizetype>& rows) {
    std::string said;
    for (qsizetype start : rows) said += (said.empty() ? "" : " ") + std::to_string(start);
    return "[" + said + "]";
}

std::string recordsText(const std::vector<QString>& recorded) {
    std::string said;
    for (const QString& text : recorded) said += (said.empty() ? "" : ", ") + markedText(text);
    return "[" + said + "]";
}

}  // namespace

std::vector<std::string> differences(const Outcome& ours, const Outcome& qt) {
    std::vector<std::string> found;
    auto differ = [&](const char* field, const std::string& a, const std::string& b) {
        if (a != b) found.push_back(std::string(field) + ": ours " + a + ", Qt's " + b);
    };
    differ("text", markedText(ours.text), markedText(qt.text));
    differ("caret and anchor", markedText(ours.text, ours.cursor, ours.anchor),
           markedText(qt.text, qt.cursor, qt.anchor));
    differ("caret row", std::to_string(ours.caretRow), std::to_string(qt.caretRow));
    differ("first row shown", std::to_string(ours.topRow), std::to_string(qt.topRow));
    differ("scrolled sideways", std::to_string(ours.left), std::to_string(qt.left));
    differ("row starts", rowsText(ours.rows), rowsText(qt.rows));
    differ("focus", ours.focus.toStdString(), qt.focus.toStdString());
    differ("clipboard", markedText(ours.clipboard), markedText(qt.clipboard));
    differ("recorded", recordsText(ours.recorded), recordsText(qt.recorded));
    return found;
}

std::string describe(const Outcome& o) {
    return markedText(o.text, o.cursor, o.anchor) + ", caret on row " + std::to_string(o.caretRow) + ", row " +
           std::to_string(o.topRow) + " at the top, " + std::to_string(o.left) + " px sideways, rows " +
           rowsText(o.rows) + ", focus on " + o.focus.toStdString() + ", clipboard " + markedText(o.clipboard) +
           ", recorded " + recordsText(o.recorded);
}

}  // namespace sidebyside
