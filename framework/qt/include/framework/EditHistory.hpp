#pragma once
// The undo and redo history of a text view (framework use).

#include "TextBuffer.hpp"

#include <vector>

namespace fw {

// The changes a view's text went through, as undo and redo put them back. A change is recorded
// after the text has changed, which must not fail then: room for it is made beforehand.
class EditHistory {
public:
    // How a change came about: characters typed in a row are undone together.
    enum class Kind { Other, Typing };

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

    // Whether a change would join the last one rather than stand as a change of its own.
    bool continues(qsizetype position, qsizetype removed, Kind kind) const;
    // Makes room for the change that record() will take, unless it continues the last one.
    void prepare(qsizetype position, qsizetype removed, Kind kind);
    // Records a change just made, after prepare(); drops what could be redone.
    void record(qsizetype position, TextBuffer removed, qsizetype added, Kind kind) noexcept;

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
};

}  // namespace fw
