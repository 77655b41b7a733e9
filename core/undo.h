// The document's undo history: each step keeps only the points it took out and put in, so its
// memory follows the size of the change, not of the document. A step that replaced the whole
// document (delete all, an import) keeps the other side whole: its points, description and
// file name.
#pragma once
#include "core/ext_float.h"

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

struct UndoStep {
    // Both ascending in volume. Undo takes `added` out and puts `removed` back; redo the reverse.
    std::vector<ext_float_pair> removed;
    std::vector<ext_float_pair> added;
    // A whole replacement: the state that is not in the document now, swapped in by undo and redo.
    bool whole = false;
    std::string description;
    std::string file_name;
    bool name_automatic = true;
};

class UndoHistory {
public:
    static constexpr std::size_t DEPTH = 100;

    // A new step after the current one; the steps undone before it can no longer be redone.
    void Record(UndoStep step);
    bool CanUndo() const { return position_ > 0; }
    bool CanRedo() const { return position_ < steps_.size(); }
    // The step to undo or redo; the caller applies it and then calls Undone() or Redone().
    UndoStep& ToUndo() { return steps_[position_ - 1]; }
    UndoStep& ToRedo() { return steps_[position_]; }
    void Undone() { --position_; }
    void Redone() { ++position_; }
    // The document as it is now is the saved one.
    void MarkSaved() { saved_ = static_cast<long>(position_); }
    bool AtSaved() const { return saved_ == static_cast<long>(position_); }
    // A new or opened document: no steps, and the state is the saved one.
    void Clear();
    std::size_t size() const { return steps_.size(); }

private:
    std::deque<UndoStep> steps_;
    std::size_t position_ = 0;  // steps applied
    long saved_ = 0;            // steps applied when last saved; -1 when no longer reachable
};
