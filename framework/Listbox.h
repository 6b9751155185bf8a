#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/RectControl.h"
#include "framework/RowCells.h"
#include "framework/RowStore.h"
#include "framework/Variant.h"

namespace fw {

class DragItem;
class Graphics;

// A list of rows of text cells, each cell also holding a tag. The rows live here; the widget
// only draws them and forwards input. Rows and columns are numbered from 0.
class Listbox : public RectControl {
public:
    Listbox();
    ~Listbox() override;

    // Rows.
    void AddRow(const std::string& text);
    void RemoveRow(Int32 row);
    void DeleteAllRows();
    Int32 ListCount() const { return static_cast<Int32>(rows_.size()); }
    Int32 LastIndex() const { return lastIndex_; }
    // Reading or writing a cell of a row or column that does not exist raises
    // OutOfBoundsException.
    std::string Cell(Int32 row, Int32 column) const;
    // The first row from `from` on whose cell in the column holds exactly this text, or -1: the
    // loop over Cell that a search by a cell's text would be, without a copy per row.
    Int32 FindRow(Int32 column, std::string_view text, Int32 from = 0) const;
    void SetCell(Int32 row, Int32 column, const std::string& text);
    Variant CellTag(Int32 row, Int32 column) const;
    // The tag itself, not a copy: for handlers that only look (painting, sorting).
    const Variant& CellTagRef(Int32 row, Int32 column) const;
    void SetCellTag(Int32 row, Int32 column, Variant tag);
    // Has the cell repainted; a row that does not exist is ignored.
    void InvalidateCell(Int32 row, Int32 column);

    // Selection. Selected of a row that does not exist is False.
    bool Selected(Int32 row) const;
    void SetSelected(Int32 row, bool selected);
    // The first selected row, -1 when none; setting it selects that row alone (below 0: none).
    Int32 ListIndex() const;
    void SetListIndex(Int32 row);
    Int32 SelCount() const { return selectedCount_; }
    Int32 SelectionType() const { return selectionType_; }

    // Columns and headings.
    Int32 ColumnCount() const { return columnCount_; }
    void SetColumnCount(Int32 count);
    std::string Heading(Int32 column) const;
    void SetHeading(Int32 column, const std::string& text);
    bool HasHeading() const { return hasHeading_; }
    // Widths as given, e.g. "27%,8%,0%"; a plain number is pixels.
    void SetColumnWidths(const std::string& widths);
    // The width of each column in pixels for a list this wide inside.
    std::vector<Int32> ColumnPixelWidths(Int32 innerWidth) const;
    Int32 DefaultRowHeight() const { return rowHeight_; }
    const std::string& TextFont() const { return textFont_; }
    Int32 TextSize() const { return textSize_; }
    bool Bold() const { return bold_; }
    bool ColumnsResizable() const { return columnsResizable_; }
    bool EnableDragReorder() const { return dragReorder_; }

    // Sorting: stable; CompareRows first, the cells' texts otherwise.
    void SortByColumn(Int32 column, bool ascending);
    Int32 SortedColumn() const { return sortColumn_; }
    bool SortAscending() const { return sortAscending_; }
    // What a click on a heading does: sort by it, turning the direction on a second click.
    void HeadingPressed(Int32 column);

    // Dragging rows: moves the rows at `rows` (any order) so that they stand, in their present
    // order, before the row that is now at `before` (ListCount for the end). Tags go along.
    void MoveRows(std::vector<Int32> rows, Int32 before);

    // Files of these registered types may be dropped on the list.
    void AcceptFileDrop(const std::string& typeName);
    const std::vector<std::string>& AcceptedFileTypes() const { return acceptedTypes_; }

    // What the user's clicks and keys do to the selection; each raises Change once when the
    // selection changed.
    enum class ClickKind { Plain, Toggle, Extend };
    void UserClick(Int32 row, ClickKind kind);
    void UserSelectAll();
    void UserMoveSelection(Int32 delta, bool extend);

    // The events that the window connects to, raised by the widget.
    void RaiseOpen() override;
    void RaiseDropObject(DragItem& items, Int32 action);
    void RaiseDoubleClick();
    bool RaiseMouseDown(Int32 x, Int32 y);
    bool RaiseKeyDown(const std::string& key);
    void RaiseChange();

    // Events that a subclass implements.
    virtual bool Event_CellBackgroundPaint(Graphics& g, Int32 row, Int32 column);
    virtual bool Event_CellTextPaint(Graphics& g, Int32 row, Int32 column, Int32 x, Int32 y);
    virtual bool Event_CellClick(Int32 row, Int32 column, Int32 x, Int32 y);
    virtual bool Event_CompareRows(Int32 row1, Int32 row2, Int32 column, Int32& result);
    // A subclass whose CompareRows orders two rows by a key of each row when both rows have one
    // and answers False otherwise may say so, and give the keys through RowSortKey: a sort then
    // reads each row's key once instead of raising CompareRows for every pair, which on a long
    // list costs far more than the sort itself. Keys are ordered by their value, so two keys
    // whose difference leaves the Int32 range still come in their true order.
    virtual bool SortsByRowKeys() const { return false; }
    virtual bool RowSortKey(Int32 row, Int32 column, Int32& key);

    const PropertyTable& Properties() const override;

    // Has the rows that lie in the view repainted.
    void RequestRepaint();

protected:
    QWidget* CreateWidget(QWidget* parent) override;

private:
    struct Row {
        // The flag fits in what the cells leave free at their end, so a row is 128 bytes, not
        // 136: a walk over every row's flag, as selecting all does, reads every row.
        [[no_unique_address]] RowCells cells;
        bool selected = false;
    };

    const Row& RowAt(Int32 row) const;
    Row& RowAt(Int32 row);
    void CheckColumn(Int32 column) const;
    bool SetSelectedQuietly(Int32 row, bool selected);
    bool ClearSelectionQuietly();
    void SetInitialValue(const std::string& value);
    void SyncView();
    // Only the number or order of rows changed: cheaper than SyncView.
    void RowsChanged();

    RowStore<Row> rows_;
    Int32 lastIndex_ = -1;
    Int32 selectedCount_ = 0;
    mutable Int32 firstSelected_ = -1;
    mutable bool firstSelectedKnown_ = true;
    Int32 anchor_ = -1;  // where an extended selection starts
    Int32 cursor_ = -1;  // where the keyboard moves from

    Int32 columnCount_ = 1;
    std::vector<std::string> headings_;
    std::vector<std::string> widthSpecs_;
    bool hasHeading_ = false;
    Int32 rowHeight_ = 18;
    std::string textFont_ = "System";
    Int32 textSize_ = 12;
    bool bold_ = false;
    bool columnsResizable_ = false;
    bool dragReorder_ = false;
    Int32 selectionType_ = 0;
    Int32 sortColumn_ = -1;
    bool sortAscending_ = true;
    std::vector<std::string> acceptedTypes_;

    friend class ListboxView;
};

}  // namespace fw
