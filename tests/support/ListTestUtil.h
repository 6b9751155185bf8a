#pragma once

#include <QCoreApplication>
#include <QHeaderView>
#include <QImage>
#include <QMouseEvent>
#include <QPoint>
#include <QTest>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Listbox.h"
#include "framework/ListboxView.h"
#include "framework/Variant.h"
#include "listview/CustomCellListbox.h"
#include "listview/CustomListboxCell.h"

// Helpers for driving a list through its real widget and for reading what it holds.
namespace listtest {

inline fw::ListboxView* View(fw::Listbox& list) {
    return static_cast<fw::ListboxView*>(list.Widget());
}

// A left click at x, y relative to the cell's top-left corner, as the user makes it.
inline void ClickCell(fw::Listbox& list, fw::Int32 row, fw::Int32 column, int x, int y,
                      Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QCoreApplication::processEvents();
    auto* view = View(list);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers,
                      view->CellRect(row, column).topLeft() + QPoint(x, y));
    QCoreApplication::processEvents();
}

// A click in the middle of a cell's heading.
// The events of a real double-click at x, y inside a cell: press, release, double-click,
// release, with the keys given held.
inline void DoubleClickCell(fw::Listbox& list, fw::Int32 row, fw::Int32 column, int x, int y,
                            Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QCoreApplication::processEvents();
    auto* viewport = View(list)->viewport();
    const QPointF at = View(list)->CellRect(row, column).topLeft() + QPoint(x, y);
    const QPointF global = viewport->mapToGlobal(at);
    for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                      QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, global, Qt::LeftButton, held, modifiers);
        QCoreApplication::sendEvent(viewport, &event);
    }
    QCoreApplication::processEvents();
}

inline void ClickHeading(fw::Listbox& list, fw::Int32 column) {
    QCoreApplication::processEvents();
    QHeaderView* header = View(list)->Header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(header->sectionViewportPosition(column) + 5, 5));
    QCoreApplication::processEvents();
}

// The texts of one column, top to bottom.
inline std::vector<std::string> ColumnTexts(const fw::Listbox& list, fw::Int32 column) {
    std::vector<std::string> out;
    for (fw::Int32 r = 0; r < list.ListCount(); ++r) {
        out.push_back(list.Cell(r, column));
    }
    return out;
}

// The rows that are selected, top to bottom.
inline std::vector<fw::Int32> SelectedRows(const fw::Listbox& list) {
    std::vector<fw::Int32> out;
    for (fw::Int32 r = 0; r < list.ListCount(); ++r) {
        if (list.Selected(r)) {
            out.push_back(r);
        }
    }
    return out;
}

inline void SelectOnly(fw::Listbox& list, const std::vector<fw::Int32>& rows) {
    list.SetListIndex(-1);
    for (auto r : rows) {
        list.SetSelected(r, true);
    }
}

// The cell object in a tag, or null when the tag holds something else.
template <class T = CustomListboxCell>
std::shared_ptr<T> CellAt(const fw::Listbox& list, fw::Int32 row, fw::Int32 column) {
    return std::dynamic_pointer_cast<T>(list.CellTag(row, column).SharedObject());
}

// A cell object that records what the list asks of it and answers as told.
class ProbeCell : public CustomListboxCell {
public:
    struct Click {
        fw::Int32 row, column, x, y;
    };

    explicit ProbeCell(fw::Int32 value = 0, bool consumes = false)
        : value_(value), consumes_(consumes) {}

    bool cellClick(fw::Int32 row, fw::Int32 column, fw::Int32 x, fw::Int32 y) override {
        clicks.push_back({row, column, x, y});
        if (onClick) {
            onClick(row, column);
        }
        return consumes_;
    }
    void cellPaint(fw::Graphics& g, fw::Int32 row) override {
        paintedRows.push_back(row);
        paintedOn.push_back(&g);
        if (log != nullptr) {
            log->push_back("cellPaint");
        }
        g.DrawString("probe", 0, 0);
    }
    fw::Int32 compareValue() override {
        ++compareCalls;
        return value_;
    }
    void owner(CustomCellListbox& list) override { owners.push_back(&list); }
    void setValue(fw::Int32 value) override { value_ = value; }
    fw::Int32 getValue() override { return value_; }

    std::vector<Click> clicks;
    std::vector<fw::Int32> paintedRows;
    std::vector<const fw::Graphics*> paintedOn;
    std::vector<const CustomCellListbox*> owners;
    int compareCalls = 0;
    std::vector<std::string>* log = nullptr;
    std::function<void(fw::Int32 row, fw::Int32 column)> onClick;

private:
    fw::Int32 value_;
    bool consumes_;
};

// A pixel of a widget grab, in the widget's logical coordinates.
inline QRgb PixelAt(const QImage& image, int x, int y) {
    const qreal ratio = image.devicePixelRatio();
    return image.pixel(static_cast<int>(x * ratio), static_cast<int>(y * ratio)) & 0xFFFFFF;
}

}  // namespace listtest
