#include "EditHistory.hpp"

#include <utility>

namespace fw {

void EditHistory::prepare(qsizetype position, TextBuffer removed, qsizetype added, Kind kind) {
    pending_.reset();
    joins_ = false;
    if (!undo_.empty()) {
        const Change& last = undo_.back();
        const bool inserted = last.kind == Kind::Typing || last.kind == Kind::Pasting;
        if (kind == Kind::Typing && removed.isEmpty() && inserted && last.position + last.added == position) {
            Change joined = last;
            joined.added += added;
            pending_ = std::move(joined);
            joins_ = true;
        } else if (kind == Kind::ErasingBack && last.kind == kind && position + removed.size() == last.position) {
            Change joined{position, removed, 0, kind};
            joined.removed.replace(removed.size(), 0, last.removed);
            pending_ = std::move(joined);
            joins_ = true;
        } else if (kind == Kind::ErasingForward && last.kind == kind && position == last.position) {
            Change joined = last;
            joined.removed.replace(joined.removed.size(), 0, removed);
            pending_ = std::move(joined);
            joins_ = true;
        }
    }
    if (!joins_) {
        makeRoom(undo_);
        pending_ = Change{position, std::move(removed), added, kind};
    }
}

void EditHistory::commit() noexcept {
    if (!pending_) return;
    if (joins_) undo_.back() = std::move(*pending_);
    else undo_.push_back(std::move(*pending_));
    pending_.reset();
    redo_.clear();
}

void EditHistory::clear() {
    undo_.clear();
    redo_.clear();
    pending_.reset();
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
