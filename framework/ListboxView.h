#pragma once

// Toolkit side of Listbox; only framework sources include this.

#include <QAbstractScrollArea>
#include <QHeaderView>
#include <QStandardItemModel>

#include <memory>
#include <vector>

#include "framework/Core.h"

namespace fw {

class Listbox;

// Draws the rows of a Listbox that meet the view and forwards the user's input to it. Holds no
// rows of its own.
class ListboxView : public QAbstractScrollArea {
public:
    explicit ListboxView(QWidget* parent);

    void SetOwner(const std::shared_ptr<Listbox>& owner);
    // Rows, columns or their look changed.
    void ModelChanged();
    // Rows were added, removed or reordered.
    void RowsChanged();
    void InvalidateCell(Int32 row, Int32 column);
    void ScrollToRow(Int32 row);

    QHeaderView* Header() const { return header_; }
    // Where a cell lies in the viewport.
    QRect CellRect(Int32 row, Int32 column) const;
    // Paints the visible rows into a painter on the viewport's coordinates (also for benchmarks).
    void PaintRows(QPainter& painter, const QRect& exposed);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    std::shared_ptr<Listbox> Owner() const { return owner_.lock(); }
    void PaintCell(QPainter& painter, Listbox& list, Int32 row, Int32 column, const QRect& rect);
    void UpdateHeader();
    void ApplyColumnWidths();
    void UpdateScrollRange();
    void Press(QMouseEvent* event);
    std::vector<Int32> ColumnLefts() const;
    std::vector<Int32> ColumnWidths() const;
    std::vector<std::shared_ptr<class FolderItem>> AcceptableFiles(
        const class QMimeData* mime) const;
    void AcceptDrag(class QDragMoveEvent* event);
    void ApplyPendingRows();

    std::weak_ptr<Listbox> owner_;
    QHeaderView* header_ = nullptr;
    QStandardItemModel headings_;
    bool applyingWidths_ = false;
    std::vector<double> userFractions_;  // column shares once the user has resized a column

    bool dragCandidate_ = false;
    bool dragging_ = false;
    QPoint pressPos_;
    Int32 pendingPlainClick_ = -1;
    Int32 dropBefore_ = -1;
    // The first press of a double-click was taken by a cell object (a star, a delete button):
    // the second must not click the cell again, which could remove the row that moved up.
    bool pressTakenByCell_ = false;
    bool rowsPending_ = false;
    bool dragAcceptable_ = false;
};

}  // namespace fw
