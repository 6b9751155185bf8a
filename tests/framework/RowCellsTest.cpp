#include <gtest/gtest.h>

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

}  // namespace
