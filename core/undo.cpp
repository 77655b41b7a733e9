#include "core/undo.h"

#include <utility>

void UndoHistory::Record(UndoStep step) {
    if (saved_ > static_cast<long>(position_)) saved_ = -1;
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(position_), steps_.end());
    steps_.push_back(std::move(step));
    ++position_;
    if (steps_.size() > DEPTH) {
        steps_.pop_front();
        --position_;
        saved_ = saved_ > 0 ? saved_ - 1 : -1;
    }
}

void UndoHistory::Clear() {
    steps_.clear();
    position_ = 0;
    saved_ = 0;
}
