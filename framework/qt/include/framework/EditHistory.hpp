#pragma once
// The undo and redo history of a text view (framework use).

#include "TextBuffer.hpp"

#include <optional>
#include <vector>

namespace fw {

// The changes a view's text went through, as undo and redo put them back. Changes in a row join
// one step as in Qt's editors: characters typed one after another, a paste and the typing right
// after it, a run of Backspaces, a run of Deletes; a line break, a cut or a move of the caret
// between them ends a step.
//
// A change is made ready before the text changes, which is where memory may run short, and
// recorded after it without fail.
class EditHistory {
public:
    // How a change came about, which decides what it joins.
    enum class Kind {
        Other,
        Typing,          // one character typed, over the selection or not
        Pasting,         // what typing right after it joins, but which joins nothing before it
        ErasingBack,     // a character taken by Backspace
        ErasingForward,  // a character taken by Delete
    };

    // At `position`, `added` characters replaced `removed`.
    struct Change {
        qsizetype position = 0;
        TextBuffer removed;
        qsizetype added = 0;
        Kind kind = Kind::Other;
    };

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    const Change& nextUndo() const { return undo_.back(); }
    const Change& nextRedo() const { return redo_.back(); }

    // Makes a change ready to record, joined to the last step where it continues it. Raises
    // std::bad_alloc when memory cannot hold it, and then records nothing.
    void prepare(qsizetype position, TextBuffer removed, qsizetype added, Kind kind);
    // Records the change made ready, and drops what could be redone.
    void commit() noexcept;
    // Forgets the change made ready: the edit was not made.
    void abandon() noexcept { pending_.reset(); }

    // Makes room to move the next change over to the other side.
    void prepareUndo() { makeRoom(redo_); }
    void prepareRedo() { makeRoom(undo_); }
    // The next change was undone or redone; `taken` is what that took out of the text.
    void undone(TextBuffer taken) noexcept { step(undo_, redo_, std::move(taken)); }
    void redone(TextBuffer taken) noexcept { step(redo_, undo_, std::move(taken)); }

    void clear();

private:
    static void makeRoom(std::vector<Change>& changes);
    static void step(std::vector<Change>& from, std::vector<Change>& to, TextBuffer taken) noexcept;

    std::vector<Change> undo_;
    std::vector<Change> redo_;
    std::optional<Change> pending_;
    bool joins_ = false;  // whether the pending change takes the last one's place
};

}  // namespace fw
