#pragma once

#include <cassert>
#include <cstddef>
#include <memory>
#include <vector>

namespace fw {

// The rows of a list in a gap buffer: indexing is constant time, and removals that walk from the
// last row to the first cost one move per surviving row in all, instead of one per row removed,
// so removing many rows stays linear. Appending after such a walk closes the gap once.
template <class T>
class RowStore {
public:
    std::size_t size() const { return items_.size() - (gapEnd_ - gapStart_); }
    bool empty() const { return size() == 0; }

    T& operator[](std::size_t i) { return *items_[Physical(i)]; }
    const T& operator[](std::size_t i) const { return *items_[Physical(i)]; }

    void push_back(std::unique_ptr<T> item) { insert(size(), std::move(item)); }

    void insert(std::size_t i, std::unique_ptr<T> item) {
        MoveGapTo(i);
        if (gapStart_ == gapEnd_) {
            Grow();
        }
        items_[gapStart_++] = std::move(item);
    }

    // Removes row i and gives it back, so that the caller decides when it is destroyed.
    std::unique_ptr<T> take(std::size_t i) {
        MoveGapTo(i + 1);
        --gapStart_;
        return std::move(items_[gapStart_]);
    }

    // All rows in order, the gap closed; for sorting and reordering.
    std::vector<std::unique_ptr<T>> release() {
        MoveGapTo(size());
        items_.resize(gapStart_);
        std::vector<std::unique_ptr<T>> out = std::move(items_);
        items_.clear();
        gapStart_ = gapEnd_ = 0;
        return out;
    }
    void assign(std::vector<std::unique_ptr<T>> rows) {
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
        std::vector<std::unique_ptr<T>> grown(oldSize + extra);
        for (std::size_t k = 0; k < gapStart_; ++k) {
            grown[k] = std::move(items_[k]);
        }
        const std::size_t tail = oldSize - gapEnd_;
        for (std::size_t k = 0; k < tail; ++k) {
            grown[gapStart_ + extra + (gapEnd_ - gapStart_) + k] = std::move(items_[gapEnd_ + k]);
        }
        gapEnd_ = gapStart_ + extra + (gapEnd_ - gapStart_);
        items_ = std::move(grown);
    }

    std::vector<std::unique_ptr<T>> items_;
    std::size_t gapStart_ = 0;
    std::size_t gapEnd_ = 0;
};

}  // namespace fw
