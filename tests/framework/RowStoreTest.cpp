#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "framework/RowStore.h"

namespace {

// Rows are held by value; a move-only row shows that the store only ever moves them.
using Store = fw::RowStore<std::unique_ptr<int>>;

void ExpectSame(const Store& store, const std::vector<int>& reference) {
    ASSERT_EQ(store.size(), reference.size());
    EXPECT_EQ(store.empty(), reference.empty());
    for (std::size_t i = 0; i < reference.size(); ++i) {
        if (store[i] == nullptr || *store[i] != reference[i]) {
            ADD_FAILURE() << "row " << i << " is wrong, expected " << reference[i];
            return;
        }
    }
}

Store Filled(int count) {
    Store store;
    for (int i = 0; i < count; ++i) {
        store.push_back(std::make_unique<int>(i));
    }
    return store;
}

TEST(RowStoreTest, MatchesAVectorUnderRandomOperations) {
    for (const unsigned seed : {1u, 2u, 20240601u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        Store store;
        std::vector<int> reference;
        int next = 0;
        auto pick = [&](std::size_t bound) {
            return std::uniform_int_distribution<std::size_t>(0, bound)(rng);
        };
        for (int step = 0; step < 6000; ++step) {
            const int op = std::uniform_int_distribution<int>(0, 99)(rng);
            std::string what;
            if (op < 30) {
                what = "push_back";
                store.push_back(std::make_unique<int>(next));
                reference.push_back(next++);
            } else if (op < 55) {
                const std::size_t at = pick(reference.size());
                what = "insert at " + std::to_string(at);
                store.insert(at, std::make_unique<int>(next));
                reference.insert(reference.begin() + static_cast<std::ptrdiff_t>(at), next++);
            } else if (op < 90) {
                if (reference.empty()) {
                    continue;
                }
                const std::size_t at = pick(reference.size() - 1);
                what = "take " + std::to_string(at);
                std::unique_ptr<int> taken = store.take(at);
                ASSERT_NE(taken, nullptr) << what;
                EXPECT_EQ(*taken, reference[at]) << what;
                reference.erase(reference.begin() + static_cast<std::ptrdiff_t>(at));
            } else if (op < 97) {
                // The list sorts and drags this way: all rows out, reordered, back in.
                what = "release and assign reversed";
                auto rows = store.release();
                ASSERT_EQ(rows.size(), reference.size()) << what;
                EXPECT_TRUE(store.empty());
                for (std::size_t i = 0; i < rows.size(); ++i) {
                    ASSERT_NE(rows[i], nullptr) << what;
                    EXPECT_EQ(*rows[i], reference[i]) << what;
                }
                std::reverse(rows.begin(), rows.end());
                std::reverse(reference.begin(), reference.end());
                store.assign(std::move(rows));
            } else if (op < 99) {
                what = "assign new rows";
                Store::Rows rows;
                reference.clear();
                for (std::size_t i = pick(40); i > 0; --i) {
                    rows.push_back(std::make_unique<int>(next));
                    reference.push_back(next++);
                }
                store.assign(std::move(rows));
            } else {
                what = "clear";
                store.clear();
                reference.clear();
            }
            SCOPED_TRACE("step " + std::to_string(step) + ": " + what);
            ExpectSame(store, reference);
            if (HasFailure()) {
                return;
            }
        }
    }
}

TEST(RowStoreTest, TakingEveryOtherRowFromTheLastKeepsTheRestInOrder) {
    Store store = Filled(10000);
    for (int i = 9999; i >= 0; i -= 2) {
        std::unique_ptr<int> taken = store.take(static_cast<std::size_t>(i));
        ASSERT_NE(taken, nullptr);
        ASSERT_EQ(*taken, i);
    }
    std::vector<int> reference;
    for (int i = 0; i < 10000; i += 2) {
        reference.push_back(i);
    }
    ExpectSame(store, reference);

    // Adding after such a walk puts rows where they belong.
    store.push_back(std::make_unique<int>(-1));
    store.insert(0, std::make_unique<int>(-2));
    store.insert(2, std::make_unique<int>(-3));
    reference.push_back(-1);
    reference.insert(reference.begin(), -2);
    reference.insert(reference.begin() + 2, -3);
    ExpectSame(store, reference);
}

TEST(RowStoreTest, TakingEveryOtherRowFromTheLastStaysLinear) {
    // With a plain array each removal shifts every row after it: about 5e9 moves for 200,000
    // rows, far beyond the bound; the gap buffer makes about 100,000.
    constexpr int kRows = 200000;
    Store store = Filled(kRows);
    const auto start = std::chrono::steady_clock::now();
    for (int i = kRows - 1; i >= 0; i -= 2) {
        store.take(static_cast<std::size_t>(i));
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(elapsed, std::chrono::seconds(2));
    ASSERT_EQ(store.size(), static_cast<std::size_t>(kRows / 2));
    EXPECT_EQ(*store[0], 0);
    EXPECT_EQ(*store[store.size() - 1], kRows - 2);
}

TEST(RowStoreTest, TakeHandsOverTheRowItself) {
    Store store;
    auto first = std::make_unique<int>(1);
    int* const address = first.get();
    store.push_back(std::move(first));
    store.push_back(std::make_unique<int>(2));
    std::unique_ptr<int> taken = store.take(0);
    EXPECT_EQ(taken.get(), address);
    ExpectSame(store, {2});
}

TEST(RowStoreTest, ReleaseClosesTheGapAndEmptiesTheStore) {
    Store store = Filled(8);
    store.take(3);
    store.take(3);
    auto rows = store.release();
    EXPECT_TRUE(store.empty());
    std::vector<int> values;
    for (const auto& r : rows) {
        ASSERT_NE(r, nullptr);
        values.push_back(*r);
    }
    EXPECT_EQ(values, (std::vector<int>{0, 1, 2, 5, 6, 7}));
    // An emptied store takes rows again.
    store.push_back(std::make_unique<int>(9));
    ExpectSame(store, {9});
}

}  // namespace

namespace {

// Rows are vectors in the list, and a vector moved onto itself comes out empty: taking a row
// right after assigning (no gap yet) must move no row onto itself.
TEST(RowStoreTest, RowsSurviveTakingRightAfterAssign) {
    fw::RowStore<std::vector<int>> store;
    store.assign({{1, 1}, {2, 2}, {3, 3}});
    EXPECT_EQ(store.take(0), (std::vector<int>{1, 1}));
    ASSERT_EQ(store.size(), 2u);
    EXPECT_EQ(store[0], (std::vector<int>{2, 2}));
    EXPECT_EQ(store[1], (std::vector<int>{3, 3}));
    store.insert(1, {4});
    EXPECT_EQ(store[1], (std::vector<int>{4}));
    EXPECT_EQ(store[2], (std::vector<int>{3, 3}));
}

}  // namespace
