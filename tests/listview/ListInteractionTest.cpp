#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QUrl>

#include "support/ListTestUtil.h"
#include "support/MainFixture.h"

namespace {

using listtest::SelectedRows;
using listtest::View;

class ListInteractionTest : public MainFixture {
protected:
    // The events of a real double-click: press, release, double-click, release.
    void DoubleClickCell(fw::Int32 row, fw::Int32 column, int x, int y) {
        QCoreApplication::processEvents();
        auto* viewport = View(List())->viewport();
        const QPointF at = View(List())->CellRect(row, column).topLeft() + QPoint(x, y);
        const QPointF global = viewport->mapToGlobal(at);
        for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                          QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
            const Qt::MouseButtons held =
                type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
            QMouseEvent event(type, at, global, Qt::LeftButton, held, Qt::NoModifier);
            QCoreApplication::sendEvent(viewport, &event);
        }
        QCoreApplication::processEvents();
    }
};

// The second press of a double-click must not press the button of the row that moved up.
TEST_F(ListInteractionTest, DoubleClickOnADeleteButtonRemovesOneRow) {
    AddRows({"a.wav", "b.wav", "c.wav", "d.wav", "e.wav"});
    DoubleClickCell(1, 5, 18, 9);
    EXPECT_EQ(listtest::ColumnTexts(List(), 0),
              (std::vector<std::string>{"a.wav", "c.wav", "d.wav", "e.wav"}));
    EXPECT_EQ(Status(), "0 / 4 선택됨");
}

TEST_F(ListInteractionTest, DoubleClickOnAStarSetsTheRatingOnce) {
    AddRows({"a.wav", "b.wav"});
    DoubleClickCell(0, 3, 35, 9);
    EXPECT_EQ(listtest::CellAt(List(), 0, 3)->getValue(), 3);
    EXPECT_TRUE(SelectedRows(List()).empty());
}

TEST_F(ListInteractionTest, DoubleClickOnTextReportsTheDoubleClickWithTheRowSelected) {
    AddRows({"a.wav", "b.wav"});
    int doubleClicks = 0;
    fw::Int32 selectedThen = -2;
    List().Connect("DoubleClick", "(  )", std::function<void(fw::Listbox&)>([&](fw::Listbox& l) {
                       ++doubleClicks;
                       selectedThen = l.ListIndex();
                   }));
    DoubleClickCell(1, 0, 10, 9);
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(selectedThen, 1);
}

TEST_F(ListInteractionTest, ShiftArrowGrowsTheSelectionRowByRow) {
    AddRows({"a.wav", "b.wav", "c.wav", "d.wav", "e.wav"});
    listtest::ClickCell(List(), 1, 0, 10, 9);
    auto* view = View(List());
    QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(SelectedRows(List()), (std::vector<fw::Int32>{1, 2, 3}));
    QTest::keyClick(view, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(SelectedRows(List()), (std::vector<fw::Int32>{1, 2}));
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(SelectedRows(List()), (std::vector<fw::Int32>{3}));
    EXPECT_EQ(Status(), "1 / 5 선택됨");
}

// Rows added in one go set the scroll range once, afterwards; it must still come out right.
TEST_F(ListInteractionTest, ScrollRangeFollowsTheRowsOnceTheHandlerReturns) {
    for (int i = 0; i < 200; ++i) {
        window->AddAudioRow(std::make_shared<fw::FolderItem>("/m/" + std::to_string(i) + ".wav"));
    }
    QCoreApplication::processEvents();
    auto* view = View(List());
    const int rowsHeight = 200 * List().DefaultRowHeight();
    EXPECT_EQ(view->verticalScrollBar()->maximum(), rowsHeight - view->viewport()->height());
    for (fw::Int32 i = 199; i >= 10; --i) {
        List().RemoveRow(i);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(view->verticalScrollBar()->maximum(),
              std::max(0, 10 * List().DefaultRowHeight() - view->viewport()->height()));
}

// A file manager offers to move what it drags; the list only lists files and must not let
// the source be deleted.
TEST_F(ListInteractionTest, DropsAreTakenAsCopies) {
    auto file = MakeFile("song.wav");
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(file->NativePath()))});
    auto* viewport = View(List())->viewport();
    const QPoint at(20, 20);
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
    QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                    Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &drop);
    EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
    EXPECT_EQ(List().ListCount(), 1);
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(file->NativePath())));
}

}  // namespace
