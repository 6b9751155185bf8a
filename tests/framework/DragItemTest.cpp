#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/DragItem.h"
#include "framework/FolderItem.h"

namespace {

std::shared_ptr<fw::FolderItem> Item(const std::string& path) {
    return std::make_shared<fw::FolderItem>(path);
}

// The loop a drop handler runs: look at the current item, then move on while there is one.
std::vector<std::string> Visit(fw::DragItem& drag) {
    std::vector<std::string> seen;
    do {
        if (drag.FolderItemAvailable()) {
            seen.push_back(drag.FolderItem()->Name());
        } else {
            seen.push_back("-");
        }
    } while (drag.NextItem());
    return seen;
}

TEST(DragItemTest, VisitsEveryItemOnceInOrder) {
    struct Case {
        const char* name;
        std::vector<std::shared_ptr<fw::FolderItem>> items;
        std::vector<std::string> seen;
    };
    const std::vector<Case> cases = {
        {"one file", {Item("/tmp/a.wav")}, {"a.wav"}},
        {"three files",
         {Item("/tmp/a.wav"), Item("/tmp/파일 이름.mp3"), Item("/tmp/c d.ogg")},
         {"a.wav", "파일 이름.mp3", "c d.ogg"}},
        {"an item without a file",
         {Item("/tmp/a.wav"), nullptr, Item("/tmp/c.wav")},
         {"a.wav", "-", "c.wav"}},
        {"nothing", {}, {"-"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fw::DragItem drag(c.items);
        EXPECT_EQ(Visit(drag), c.seen);
        // At the end it stays at the end.
        EXPECT_FALSE(drag.NextItem());
    }
}

TEST(DragItemTest, NullItemIsNotAvailable) {
    fw::DragItem drag({nullptr, Item("/tmp/x.wav")});
    EXPECT_FALSE(drag.FolderItemAvailable());
    EXPECT_EQ(drag.FolderItem(), nullptr);
    ASSERT_TRUE(drag.NextItem());
    EXPECT_TRUE(drag.FolderItemAvailable());
    EXPECT_EQ(drag.FolderItem()->NativePath(), "/tmp/x.wav");

    fw::DragItem empty({});
    EXPECT_FALSE(empty.FolderItemAvailable());
    EXPECT_EQ(empty.FolderItem(), nullptr);
    EXPECT_FALSE(empty.NextItem());
}

}  // namespace
