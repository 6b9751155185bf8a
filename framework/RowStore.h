#pragma once

#include <cassert>
#include <cstddef>
#include <utility>
#include <vector>

#include "framework/LargePages.h"

namespace fw {

// The rows of a list in a gap buffer: indexing is constant time, and removals that walk from the
// last row to the first cost one move per surviving row in all, instead of one per row removed,
// so removing many rows stays linear. Appending after such a walk closes the gap once. Rows are
// held by value, so that reading a row's cells, as sorting does a million times, is one hop
// less. The rows lie in large pages once there are many.
template <class T>
class RowStore {
public:
    using Rows = std::vector<T, LargePageAllocator<T>>;

    std::size_t size() const { return items_.size() - (gapEnd_ - gapStart_); }
    bool empty() const { return size() == 0; }

    T& operator[](std::size_t i) { return items_[Physical(i)]; }
    const T& operator[](std::size_t i) const { return items_[Physical(i)]; }

    void push_back(T item) { insert(size(), std::move(item)); }

    void insert(std::size_t i, T item) {
        MoveGapTo(i);
        if (gapStart_ == gapEnd_) {
            Grow();
        }
        items_[gapStart_++] = std::move(item);
    }

    // Removes row i and gives it back, so that the caller decides when it is destroyed.
    T take(std::size_t i) {
        MoveGapTo(i + 1);
        --gapStart_;
        T item = std::move(items_[gapStart_]);
        items_[gapStart_] = T();
        return item;
    }

    // All rows in order, the gap closed; for sorting and reordering.
    Rows release() {
        MoveGapTo(size());
        items_.resize(gapStart_);
        Rows out = std::move(items_);
        items_.clear();
        gapStart_ = gapEnd_ = 0;
        return out;
    }
    void assign(Rows rows) {
        items_ = std::move(rows);
        gapStart_ = gapEnd_ = items_.size();
    }
    void clear() {
        items_.clear();
        gapStart_ = gapEnd_ = 0;
    }

private:
    std::size_t Physical(std::size_t i) const {
        assert(i < size());
        return i < gapStart_ ? i : i + (gapEnd_ - gapStart_);
    }

    void MoveGapTo(std::size_t i) {
        // An empty gap moves without moving rows, and must: a row moved onto itself is lost.
        if (gapStart_ == gapEnd_) {
            gapStart_ = gapEnd_ = i;
            return;
        }
        while (gapStart_ > i) {
            items_[--gapEnd_] = std::move(items_[--gapStart_]);
        }
        while (gapStart_ < i) {
            items_[gapStart_++] = std::move(items_[gapEnd_++]);
        }
    }

    void Grow() {
        const std::size_t oldSize = items_.size();
        const std::size_t extra = std::max<std::size_t>(16, oldSize);
        const std::size_t tail = oldSize - gapEnd_;
        Rows grown(oldSize + extra);
        for (std::size_t k = 0; k < gapStart_; ++k) {
            grown[k] = std::move(items_[k]);
        }
        const std::size_t newGapEnd = gapEnd_ + extra;
        for (std::size_t k = 0; k < tail; ++k) {
            grown[newGapEnd + k] = std::move(items_[gapEnd_ + k]);
        }
        gapEnd_ = newGapEnd;
        items_ = std::move(grown);
    }

    Rows items_;
    std::size_t gapStart_ = 0;
    std::size_t gapEnd_ = 0;
};

}  // namespace fw
