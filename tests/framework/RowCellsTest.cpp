#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/RowCells.h"

namespace {

class Counted : public fw::Object {};

// The same writes to a row at its exact size, to a row opened for filling, and to one closed
// after a few writes: texts are written in place or rebuilt, never mixed up.
TEST(RowCellsTest, TextsKeepTheirCellsWhateverTheOrderAndLengthOfWrites) {
    for (const int closeAfter : {-1, 0, 3, 100}) {
        SCOPED_TRACE("closed after write " + std::to_string(closeAfter));
        fw::RowCells cells;
        if (closeAfter >= 0) {
            cells.Open();
        }
        EXPECT_EQ(cells.Text(0), "");
        EXPECT_EQ(cells.Text(7), "");
        struct Write {
            std::size_t column;
            std::string text;
        };
        const std::vector<Write> writes = {
            {0, ""},
            {0, "track 000123 - some artist - a song title.wav"},
            {6, "17"},  // past the end: cells 1 to 5 come empty
            {2, "/home/listener/Music/Artist 3/Album number 9"},
            {0, "short"},  // shorter than before, in front of others
            {7, "Ready"},
            {6, "a much longer number text than before"},
            {2, ""},
            {3, std::string("nul\0inside", 10)},
        };
        std::vector<std::string> expected(9);
        int written = 0;
        for (const auto& w : writes) {
            cells.SetText(w.column, w.text);
            expected[w.column] = w.text;
            if (written++ == closeAfter) {
                cells.Close();
            }
            for (std::size_t c = 0; c < expected.size(); ++c) {
                EXPECT_EQ(cells.Text(c), expected[c])
                    << "column " << c << " after writing " << w.column;
            }
        }
    }
}

TEST(RowCellsTest, TagsAreStoredReplacedAndClearedPerColumn) {
    fw::RowCells cells;
    auto a = std::make_shared<Counted>();
    auto b = std::make_shared<Counted>();
    EXPECT_TRUE(cells.SetTag(3, a).IsNil());
    EXPECT_TRUE(cells.SetTag(5, "text").IsNil());
    EXPECT_EQ(cells.Tag(3).ObjectValue(), a.get());
    EXPECT_TRUE(cells.Tag(4).IsNil());
    EXPECT_TRUE(cells.Tag(5).IsText());

    const fw::Variant old = cells.SetTag(3, b);
    EXPECT_EQ(old.ObjectValue(), a.get());  // handed back, still alive, for the caller
    EXPECT_EQ(cells.Tag(3).ObjectValue(), b.get());
    EXPECT_EQ(b.use_count(), 2);

    EXPECT_EQ(cells.SetTag(3, fw::Variant()).ObjectValue(), b.get());
    EXPECT_TRUE(cells.Tag(3).IsNil());
    EXPECT_EQ(b.use_count(), 1);  // an emptied tag holds nothing
    EXPECT_TRUE(cells.Tag(5).IsText());
}

// More tags than a row keeps in itself, written, replaced and cleared in an order that empties
// slots in front of others: every column reads its own tag after each write, a replaced or
// cleared tag is handed back, and a row holds no reference that no cell reads.
TEST(RowCellsTest, ManyTagsKeepTheirColumnsThroughReplacesAndClears) {
    std::vector<std::shared_ptr<Counted>> objects;
    for (int k = 0; k < 8; ++k) {
        objects.push_back(std::make_shared<Counted>());
    }
    struct Write {
        std::size_t column;
        int object;  // -1: cleared
    };
    const std::vector<Write> writes = {
        {3, 0},  {4, 1},  {5, 2},  {0, 3},  {7, 4},  // two past what the row keeps in itself
        {4, -1},                                     // a slot in front of the others is freed
        {7, 5},                                      // replaced, wherever it lives now
        {1, 6},  {3, -1}, {0, -1}, {9, -1},          // the last clears a column that held nothing
        {2, 7},  {5, -1}, {1, -1}, {7, -1}, {2, -1}, {6, 0}, {3, 1},
    };
    fw::RowCells cells;
    std::map<std::size_t, int> expected;
    for (const auto& w : writes) {
        SCOPED_TRACE("column " + std::to_string(w.column) + " gets " + std::to_string(w.object));
        const auto was = expected.find(w.column);
        const fw::Object* before = was == expected.end() ? nullptr : objects[was->second].get();
        fw::Variant tag;
        if (w.object >= 0) {
            tag = objects[static_cast<std::size_t>(w.object)];
            expected[w.column] = w.object;
        } else {
            expected.erase(w.column);
        }
        EXPECT_EQ(cells.SetTag(w.column, std::move(tag)).ObjectValue(), before);
        for (std::size_t c = 0; c < 10; ++c) {
            const auto it = expected.find(c);
            const fw::Object* want = it == expected.end() ? nullptr : objects[it->second].get();
            EXPECT_EQ(cells.Tag(c).ObjectValue(), want) << "column " << c;
            EXPECT_EQ(cells.Tag(c).IsNil(), want == nullptr) << "column " << c;
        }
        cells.Close();
        for (std::size_t k = 0; k < objects.size(); ++k) {
            long held = 0;
            for (const auto& [c, object] : expected) {
                held += object == static_cast<int>(k) ? 1 : 0;
            }
            EXPECT_EQ(objects[k].use_count(), 1 + held) << "object " << k;
        }
    }
}

}  // namespace
