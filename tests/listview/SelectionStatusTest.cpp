#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/ListTestUtil.h"
#include "support/MainFixture.h"

using listtest::ClickCell;
using listtest::ColumnTexts;
using listtest::SelectedRows;

namespace {

constexpr fw::Int32 kStatus = 7;
const std::string kRefusal = "변환중인 파일은 삭제할 수 없습니다.";

using Rows = std::vector<fw::Int32>;
using Names = std::vector<std::string>;

class SelectionStatusTest : public MainFixture {
protected:
    // Rows named a.wav, b.wav, ... with the given status texts.
    void MakeRows(const std::vector<std::string>& statuses) {
        List().DeleteAllRows();
        for (std::size_t i = 0; i < statuses.size(); ++i) {
            window->AddAudioRow(MakeFile(std::string(1, static_cast<char>('a' + i)) + ".wav"));
            List().SetCell(List().LastIndex(), kStatus, statuses[i]);
        }
    }
};

TEST_F(SelectionStatusTest, EmptyListShowsZeroOfZero) {
    EXPECT_EQ(Status(), "0 / 0 선택됨");
    window->PrintStatus();
    EXPECT_EQ(Status(), "0 / 0 선택됨");
}

// Every selection change the user makes on the list rewrites the status line.
TEST_F(SelectionStatusTest, FollowsSelectionChangesMadeWithTheMouse) {
    AddRows({"a.wav", "b.mp3", "c.ogg", "d.wav", "e.m4a"});
    struct Step {
        const char* what;
        fw::Int32 row;
        Qt::KeyboardModifiers modifiers;
        Rows selected;
        std::string status;
    };
    const std::vector<Step> steps = {
        {"click row 1", 1, Qt::NoModifier, {1}, "1 / 5 선택됨"},
        {"shift-click row 3", 3, Qt::ShiftModifier, {1, 2, 3}, "3 / 5 선택됨"},
        {"ctrl-click row 0", 0, Qt::ControlModifier, {0, 1, 2, 3}, "4 / 5 선택됨"},
        {"ctrl-click row 2 off", 2, Qt::ControlModifier, {0, 1, 3}, "3 / 5 선택됨"},
        {"click row 4", 4, Qt::NoModifier, {4}, "1 / 5 선택됨"},
        {"shift-click row 0", 0, Qt::ShiftModifier, {0, 1, 2, 3, 4}, "5 / 5 선택됨"},
        {"ctrl-click row 4 off", 4, Qt::ControlModifier, {0, 1, 2, 3}, "4 / 5 선택됨"},
        {"click the empty part below the rows", 7, Qt::NoModifier, {}, "0 / 5 선택됨"},
        {"click row 2 again", 2, Qt::NoModifier, {2}, "1 / 5 선택됨"},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.what);
        ClickCell(List(), s.row, 0, 30, 9, s.modifiers);
        EXPECT_EQ(SelectedRows(List()), s.selected);
        EXPECT_EQ(Status(), s.status);
    }
}

TEST_F(SelectionStatusTest, SelectAllFromTheKeyboardRewritesTheStatus) {
    AddRows({"a.wav", "b.mp3", "c.ogg"});
    ClickCell(List(), 1, 0, 10, 9);
    ASSERT_EQ(Status(), "1 / 3 선택됨");
    QTest::keyClick(listtest::View(List()), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(SelectedRows(List()), (Rows{0, 1, 2}));
    EXPECT_EQ(Status(), "3 / 3 선택됨");
}

TEST_F(SelectionStatusTest, RemoveWithNothingSelectedDoesNothingAtAll) {
    MakeRows({"Ready", "Converting...", "Complete"});
    List().SetListIndex(-1);
    window->StatusBar().SetText("left alone");
    window->Remove();
    EXPECT_EQ(ColumnTexts(List(), 0), (Names{"a.wav", "b.wav", "c.wav"}));
    EXPECT_EQ(Status(), "left alone");
    EXPECT_TRUE(ui->requests.empty());
}

TEST_F(SelectionStatusTest, RemoveTakesSelectedRowsExceptTheConvertingOne) {
    struct Case {
        const char* name;
        std::vector<std::string> statuses;
        Rows selected;
        Names remaining;
        Rows selectedAfter;
        std::size_t messages;
        std::string status;
    };
    const std::vector<Case> cases = {
        {"only the converting row",
         {"Ready", "Ready", "Converting...", "Ready"},
         {2},
         {"a.wav", "b.wav", "c.wav", "d.wav"},
         {2},
         1,
         "1 / 4 선택됨"},
        {"the converting row and three others",
         {"Complete", "Ready", "Converting...", "Ready", "Complete"},
         {0, 2, 3, 4},
         {"b.wav", "c.wav"},
         {1},
         1,
         "1 / 2 선택됨"},
        {"ready and complete rows go without a word",
         {"Ready", "Complete", "Ready", "Complete"},
         {1, 2},
         {"a.wav", "d.wav"},
         {},
         0,
         "0 / 2 선택됨"},
        {"any other status goes too",
         {"", "Failed", "converting...", "Ready"},
         {0, 1, 2},
         {"d.wav"},
         {},
         0,
         "0 / 1 선택됨"},
        {"two converting rows, still one message",
         {"Converting...", "Ready", "Converting...", "Complete"},
         {0, 1, 2, 3},
         {"a.wav", "c.wav"},
         {0, 1},
         1,
         "2 / 2 선택됨"},
        {"the selection that stays is counted",
         {"Ready", "Ready", "Ready", "Converting...", "Ready"},
         {1, 3},
         {"a.wav", "c.wav", "d.wav", "e.wav"},
         {2},
         1,
         "1 / 4 선택됨"},
        {"every row", {"Ready", "Complete", "Ready"}, {0, 1, 2}, {}, {}, 0, "0 / 0 선택됨"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MakeRows(c.statuses);
        listtest::SelectOnly(List(), c.selected);
        ui->requests.clear();
        window->Remove();
        EXPECT_EQ(ColumnTexts(List(), 0), c.remaining);
        EXPECT_EQ(SelectedRows(List()), c.selectedAfter);
        EXPECT_EQ(ui->Messages(), std::vector<std::string>(c.messages, kRefusal));
        EXPECT_EQ(Status(), c.status);
    }
}

// Sees the window when the refusal is shown: after the removals, before the status line.
class WitnessUI : public fw::ScriptedModalUI {
public:
    explicit WitnessUI(Main& window) : window_(window) {}
    void ShowMessage(const std::string& text) override {
        rowsAtMessage.push_back(window_.AlternatingList1().ListCount());
        statusAtMessage.push_back(window_.StatusBar().Text());
        ScriptedModalUI::ShowMessage(text);
    }
    std::vector<fw::Int32> rowsAtMessage;
    std::vector<std::string> statusAtMessage;

private:
    Main& window_;
};

TEST_F(SelectionStatusTest, RefusalComesAfterTheRemovalsAndBeforeTheStatusLine) {
    MakeRows({"Ready", "Converting...", "Ready", "Complete"});
    ClickCell(List(), 0, 0, 30, 9);
    ClickCell(List(), 3, 0, 30, 9, Qt::ShiftModifier);
    ASSERT_EQ(Status(), "4 / 4 선택됨");
    auto witness = std::make_shared<WitnessUI>(*window);
    fw::SetModalUI(witness);

    window->Remove();

    EXPECT_EQ(witness->Messages(), std::vector<std::string>{kRefusal});
    EXPECT_EQ(witness->rowsAtMessage, std::vector<fw::Int32>{1});
    EXPECT_EQ(witness->statusAtMessage, std::vector<std::string>{"4 / 4 선택됨"});
    EXPECT_EQ(Status(), "1 / 1 선택됨");
}

}  // namespace
