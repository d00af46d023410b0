#include "EditHistory.hpp"

#include <utility>

namespace fw {

bool EditHistory::continues(qsizetype position, qsizetype removed, Kind kind) const {
    if (kind != Kind::Typing || removed != 0 || undo_.empty()) return false;
    const Change& last = undo_.back();
    return last.kind == Kind::Typing && last.position + last.added == position;
}

void EditHistory::prepare(qsizetype position, qsizetype removed, Kind kind) {
    if (!continues(position, removed, kind)) makeRoom(undo_);
}

void EditHistory::record(qsizetype position, TextBuffer removed, qsizetype added, Kind kind) noexcept {
    if (continues(position, removed.size(), kind)) undo_.back().added += added;
    else undo_.push_back({position, std::move(removed), added, kind});
    redo_.clear();
}

void EditHistory::clear() {
    undo_.clear();
    redo_.clear();
}

// Grows a side ahead of the change it will take, so that taking it cannot fail once the text
// has changed.
void EditHistory::makeRoom(std::vector<Change>& changes) {
    if (changes.size() == changes.capacity()) changes.reserve(2 * changes.size() + 8);
}

void EditHistory::step(std::vector<Change>& from, std::vector<Change>& to, TextBuffer taken) noexcept {
    Change change = std::move(from.back());
    from.pop_back();
    to.push_back({change.position, std::move(taken), change.removed.size(), Kind::Other});
}

}  // namespace fw
