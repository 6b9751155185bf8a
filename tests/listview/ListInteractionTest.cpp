#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QRegion>
#include <QScrollBar>
#include <QTest>
#include <QUrl>

#include <algorithm>
#include <functional>

#include "listview/RatingCell.h"
#include "support/ListTestUtil.h"
#include "support/MainFixture.h"

namespace {

using listtest::SelectedRows;
using listtest::View;

class ListInteractionTest : public MainFixture {
protected:
    void DoubleClickCell(fw::Int32 row, fw::Int32 column, int x, int y) {
        listtest::DoubleClickCell(List(), row, column, x, y);
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

// A rating cell that counts the clicks it is given.
class CountingRatingCell : public RatingCell {
public:
    CountingRatingCell() : RatingCell(1, 3) {}
    bool cellClick(fw::Int32 row, fw::Int32 column, fw::Int32 x, fw::Int32 y) override {
        ++clicks;
        return RatingCell::cellClick(row, column, x, y);
    }
    int clicks = 0;
};

TEST_F(ListInteractionTest, DoubleClickOnAStarSetsTheRatingOnce) {
    AddRows({"a.wav", "b.wav"});
    // A second click on the same star would set the same rating: count the clicks instead.
    auto cell = std::make_shared<CountingRatingCell>();
    List().SetCellTag(0, 3, fw::Variant(std::static_pointer_cast<fw::Object>(cell)));
    DoubleClickCell(0, 3, 35, 9);
    EXPECT_EQ(cell->clicks, 1);
    EXPECT_EQ(cell->getValue(), 3);
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

// Records the parts of the list's viewport that are painted.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget* viewport) { viewport->installEventFilter(this); }
    QRegion painted;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted += static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }
};

// Rows that come or go in one handler tell the view once; what it then repaints must still be
// all that changed, and a cell written later is repainted on its own, where it can be seen.
TEST_F(ListInteractionTest, ViewRepaintsWhatRowsAndCellsChanged) {
    auto* view = View(List());
    view->viewport()->repaint();
    QCoreApplication::processEvents();
    PaintRecorder recorder(view->viewport());
    AddRows({"a.wav", "b.wav", "c.wav"});
    QCoreApplication::processEvents();
    const QRect rows(0, 0, view->viewport()->width(), 3 * List().DefaultRowHeight());
    EXPECT_TRUE(recorder.painted.contains(rows)) << "rows added";

    recorder.painted = QRegion();
    List().SetCell(1, 7, "Complete");
    QCoreApplication::processEvents();
    EXPECT_TRUE(recorder.painted.contains(view->CellRect(1, 7))) << "a cell written";
    EXPECT_FALSE(recorder.painted.contains(view->CellRect(0, 0))) << "only that cell";

    recorder.painted = QRegion();
    List().RemoveRow(2);
    List().RemoveRow(0);
    QCoreApplication::processEvents();
    EXPECT_TRUE(recorder.painted.contains(rows)) << "rows removed";
    EXPECT_EQ(listtest::ColumnTexts(List(), 0), (std::vector<std::string>{"b.wav"}));

    // Rows added, and a cell of an earlier row written, in one handler.
    recorder.painted = QRegion();
    List().AddRow("d.wav");
    List().SetCell(0, 7, "Failed");
    QCoreApplication::processEvents();
    EXPECT_TRUE(recorder.painted.contains(view->CellRect(0, 7))) << "a cell with rows pending";

    // A paint that comes while rows are pending, and a cell written after it, before the view
    // has caught up with the rows.
    List().AddRow("e.wav");
    view->viewport()->repaint();
    recorder.painted = QRegion();
    List().SetCell(0, 7, "Complete");
    QCoreApplication::processEvents();
    EXPECT_TRUE(recorder.painted.contains(view->CellRect(0, 7))) << "a cell after a paint";
}

// A drag with the mouse, as the user makes it: press on a row, move in two steps while the button
// is held, release.
void DragRow(fw::Listbox& list, fw::Int32 row, QPoint to) {
    QCoreApplication::processEvents();
    auto* viewport = View(list)->viewport();
    const QPoint from = View(list)->CellRect(row, 0).center();
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(viewport, (from + to) / 2);
    QTest::mouseMove(viewport, to);
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, to);
    QCoreApplication::processEvents();
}

TEST_F(ListInteractionTest, DraggingARowDropsItAtTheNearestRowBoundary) {
    struct Case {
        const char* what;
        fw::Int32 row;
        std::function<QPoint(fw::ListboxView&)> to;
        std::vector<std::string> order;
    };
    const std::vector<Case> cases = {
        {"b into the lower half of d",
         1,
         [](fw::ListboxView& v) { return v.CellRect(3, 0).bottomLeft() + QPoint(10, -2); },
         {"a.wav", "c.wav", "d.wav", "b.wav", "e.wav"}},
        {"d into the upper half of b",
         3,
         [](fw::ListboxView& v) { return v.CellRect(1, 0).topLeft() + QPoint(10, 2); },
         {"a.wav", "d.wav", "b.wav", "c.wav", "e.wav"}},
        {"b below the last row",
         1,
         [](fw::ListboxView& v) { return v.CellRect(4, 0).bottomLeft() + QPoint(10, 8); },
         {"a.wav", "c.wav", "d.wav", "e.wav", "b.wav"}},
        {"e to the top",
         4,
         [](fw::ListboxView&) { return QPoint(10, 1); },
         {"e.wav", "a.wav", "b.wav", "c.wav", "d.wav"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        List().DeleteAllRows();
        AddRows({"a.wav", "b.wav", "c.wav", "d.wav", "e.wav"});
        DragRow(List(), c.row, c.to(*View(List())));
        EXPECT_EQ(listtest::ColumnTexts(List(), 0), c.order);
        // The moved row goes on being the selected one.
        const auto at =
            std::find(c.order.begin(), c.order.end(), List().Cell(List().ListIndex(), 0));
        EXPECT_EQ(List().SelCount(), 1);
        EXPECT_EQ(*at, std::string(1, static_cast<char>('a' + c.row)) + ".wav");
    }
}

// Pressing on a row of a multiple selection keeps the selection until release, so that all of it
// can be dragged; a press and release without a drag then selects that row alone.
TEST_F(ListInteractionTest, AMultipleSelectionIsDraggedWhole) {
    AddRows({"a.wav", "b.wav", "c.wav", "d.wav", "e.wav"});
    listtest::ClickCell(List(), 1, 0, 10, 9);
    listtest::ClickCell(List(), 2, 0, 10, 9, Qt::ShiftModifier);
    ASSERT_EQ(SelectedRows(List()), (std::vector<fw::Int32>{1, 2}));
    DragRow(List(), 2, QPoint(10, 1));
    EXPECT_EQ(listtest::ColumnTexts(List(), 0),
              (std::vector<std::string>{"b.wav", "c.wav", "a.wav", "d.wav", "e.wav"}));
    EXPECT_EQ(SelectedRows(List()), (std::vector<fw::Int32>{0, 1}));
    EXPECT_EQ(Status(), "2 / 5 선택됨");

    listtest::ClickCell(List(), 1, 0, 10, 9);
    EXPECT_EQ(SelectedRows(List()), (std::vector<fw::Int32>{1}));
    EXPECT_EQ(listtest::ColumnTexts(List(), 0),
              (std::vector<std::string>{"b.wav", "c.wav", "a.wav", "d.wav", "e.wav"}));
    EXPECT_EQ(Status(), "1 / 5 선택됨");
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
