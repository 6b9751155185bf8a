#include <gtest/gtest.h>

#include <memory>

#include "framework/MenuItem.h"
#include "framework/ModalUI.h"

namespace {

TEST(MenuItem, EntriesAreCountedFromZeroAndBadOnesRaise) {
    fw::MenuItem root;
    EXPECT_EQ(root.Text(), "");
    root.Append(std::make_shared<fw::MenuItem>("first", fw::Variant("tag")));
    root.Append(std::make_shared<fw::MenuItem>("second"));
    EXPECT_EQ(root.Count(), 2);
    EXPECT_EQ(root.Item(1)->Text(), "second");
    EXPECT_TRUE(root.Item(0)->Tag().IsText());
    EXPECT_THROW(root.Item(2), fw::OutOfBoundsException);
    EXPECT_THROW(root.Item(-1), fw::OutOfBoundsException);
    EXPECT_THROW(root.Append(nullptr), fw::NilObjectException);
}

TEST(MenuItem, PopUpGivesTheChosenEntryOrNothing) {
    auto ui = std::make_shared<fw::ScriptedModalUI>();
    fw::SetModalUI(ui);
    fw::MenuItem root;
    for (const char* text : {"a", "-", "b", "c"}) {
        root.Append(std::make_shared<fw::MenuItem>(text));
    }
    root.Item(3)->SetEnabled(false);
    struct Case {
        std::optional<int> answer;
        const char* chosen;  // null: nothing
    };
    for (const Case& c : {Case{0, "a"}, Case{2, "b"}, Case{std::nullopt, nullptr}, Case{1, nullptr},
                          Case{3, nullptr}, Case{9, nullptr}}) {
        ui->menuAnswers.push_back(c.answer);
        const auto chosen = root.PopUp();
        if (c.chosen) {
            ASSERT_NE(chosen, nullptr);
            EXPECT_EQ(chosen->Text(), c.chosen);
        } else {
            EXPECT_EQ(chosen, nullptr);
        }
    }
    ASSERT_FALSE(ui->requests.empty());
    EXPECT_FALSE(ui->requests.back().menu[3].enabled);
    EXPECT_TRUE(ui->requests.back().menu[2].enabled);
    fw::SetModalUI(nullptr);
}

}  // namespace
