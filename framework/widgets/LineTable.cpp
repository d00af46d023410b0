#include "LineTable.hpp"

#include <algorithm>

namespace fw {

LineTable::LineTable(std::vector<qsizetype> laterStarts) {
    laterStarts.insert(laterStarts.begin(), 0);
    starts_ = std::move(laterStarts);
}

qsizetype LineTable::lineOf(qsizetype position) const {
    return static_cast<qsizetype>(std::upper_bound(starts_.begin(), starts_.end(), position) - starts_.begin()) - 1;
}

// The room is made before the table changes, so that it changes whole or not at all.
void LineTable::replace(qsizetype first, qsizetype end, const std::vector<qsizetype>& starts, qsizetype shift) {
    const auto needed = static_cast<std::size_t>(lineCount() - (end - first - 1)) + starts.size();
    if (needed > starts_.capacity()) starts_.reserve(std::max(needed, 2 * starts_.capacity()));
    starts_.erase(starts_.begin() + first + 1, starts_.begin() + end);
    starts_.insert(starts_.begin() + first + 1, starts.begin(), starts.end());
    for (auto it = starts_.begin() + first + 1 + static_cast<qsizetype>(starts.size()); it != starts_.end(); ++it)
        *it += shift;
}

}  // namespace fw
