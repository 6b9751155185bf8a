#include "framework/ListboxView.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOption>
#include <QUrl>

#include "framework/Dispatch.h"
#include "framework/DragItem.h"
#include "framework/FileType.h"
#include "framework/FolderItem.h"
#include "framework/Int32Math.h"
#include "framework/Listbox.h"
#include "framework/ListboxGeometry.h"
#include "framework/Mouse.h"
#include "framework/QtGraphics.h"

namespace fw {

namespace {

// Headings shortened by whole letters to the room that the style leaves them beside the sort
// indicator. The toolkit's own header measures that room before it knows the section's size and
// so leaves some headings too long, for the label's clip to cut through a letter.
class HeadingView : public QHeaderView {
public:
    explicit HeadingView(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
        if (!rect.isValid()) {
            return;
        }
        QStyleOptionHeaderV2 option;
        initStyleOption(&option);
        initStyleOptionForIndex(&option, logicalIndex);
        option.rect = rect;
        const QRect label = style()->subElementRect(QStyle::SE_HeaderLabel, &option, this);
        option.text = option.fontMetrics.elidedText(option.text, Qt::ElideRight, label.width());
        option.textElideMode = Qt::ElideNone;
        style()->drawControl(QStyle::CE_Header, &option, painter, this);
    }
};

}  // namespace

ListboxView::ListboxView(QWidget* parent) : QAbstractScrollArea(parent) {
    setObjectName("Listbox");
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setAutoFillBackground(false);
    // The list's colours are its own, whatever the desktop's theme: cells that paint no
    // background show white, under black text.
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    setPalette(colours);
    header_ = new HeadingView(this);
    header_->setModel(&headings_);
    header_->setSectionsClickable(true);
    header_->setSortIndicatorShown(false);
    header_->setHighlightSections(false);
    header_->setStretchLastSection(false);
    header_->setMinimumSectionSize(0);
    header_->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(header_, &QHeaderView::sectionClicked, this, [this](int section) {
        if (auto list = Owner()) {
            Dispatch([&] { list->HeadingPressed(section); });
        }
    });
    connect(header_, &QHeaderView::sectionResized, this, [this](int, int, int) {
        if (applyingWidths_) {
            return;
        }
        // The user's widths become shares of the width, so they follow the window's size.
        const int total = std::max(viewport()->width(), 1);
        userFractions_.clear();
        for (int c = 0; c < header_->count(); ++c) {
            userFractions_.push_back(static_cast<double>(header_->sectionSize(c)) / total);
        }
        viewport()->update();
    });
}

void ListboxView::SetOwner(const std::shared_ptr<Listbox>& owner) {
    owner_ = owner;
    ModelChanged();
}

void ListboxView::ModelChanged() {
    UpdateHeader();
    UpdateScrollRange();
    viewport()->update();
}

void ListboxView::RowsChanged() {
    // Many rows may come or go in one handler: the view hears of the first alone, and sets its
    // scroll range and repaints once the handler has returned.
    if (rowsPending_) {
        return;
    }
    rowsPending_ = true;
    viewport()->update();
    QMetaObject::invokeMethod(
        this, [this] { ApplyPendingRows(); }, Qt::QueuedConnection);
}

void ListboxView::ApplyPendingRows() {
    if (rowsPending_) {
        rowsPending_ = false;
        UpdateScrollRange();
        viewport()->update();
    }
}

void ListboxView::UpdateHeader() {
    auto list = Owner();
    if (!list) {
        return;
    }
    const int columns = list->ColumnCount();
    if (headings_.columnCount() != columns) {
        headings_.setColumnCount(columns);
        userFractions_.clear();
    }
    for (int c = 0; c < columns; ++c) {
        const QString text = QString::fromStdString(list->Heading(c));
        if (headings_.headerData(c, Qt::Horizontal).toString() != text) {
            headings_.setHeaderData(c, Qt::Horizontal, text);
        }
    }
    header_->setVisible(list->HasHeading());
    header_->setSectionResizeMode(list->ColumnsResizable() ? QHeaderView::Interactive
                                                           : QHeaderView::Fixed);
    header_->setSortIndicatorShown(list->SortedColumn() >= 0);
    if (list->SortedColumn() >= 0) {
        header_->setSortIndicator(list->SortedColumn(),
                                  list->SortAscending() ? Qt::AscendingOrder : Qt::DescendingOrder);
    }
    const int headerHeight = list->HasHeading() ? header_->sizeHint().height() : 0;
    setViewportMargins(0, headerHeight, 0, 0);
    const QRect vg = viewport()->geometry();
    header_->setGeometry(vg.left(), vg.top() - headerHeight, vg.width(), headerHeight);
    ApplyColumnWidths();
}

void ListboxView::ApplyColumnWidths() {
    auto list = Owner();
    if (!list) {
        return;
    }
    const int width = viewport()->width();
    std::vector<Int32> widths = list->ColumnPixelWidths(width);
    if (userFractions_.size() == widths.size()) {
        for (std::size_t c = 0; c < widths.size(); ++c) {
            widths[c] = ToInt32(userFractions_[c] * width);
        }
    }
    applyingWidths_ = true;
    for (int c = 0; c < static_cast<int>(widths.size()) && c < header_->count(); ++c) {
        header_->resizeSection(c, widths[static_cast<std::size_t>(c)]);
    }
    applyingWidths_ = false;
}

void ListboxView::UpdateScrollRange() {
    auto list = Owner();
    if (!list) {
        return;
    }
    const qint64 content = static_cast<qint64>(list->ListCount()) * list->DefaultRowHeight();
    const int maximum =
        static_cast<int>(std::clamp<qint64>(content - viewport()->height(), 0, INT32_MAX));
    verticalScrollBar()->setRange(0, maximum);
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(list->DefaultRowHeight());
}

std::vector<Int32> ListboxView::ColumnLefts() const {
    std::vector<Int32> lefts;
    for (int c = 0; c < header_->count(); ++c) {
        lefts.push_back(header_->sectionViewportPosition(c));
    }
    return lefts;
}

std::vector<Int32> ListboxView::ColumnWidths() const {
    std::vector<Int32> widths;
    for (int c = 0; c < header_->count(); ++c) {
        widths.push_back(header_->isSectionHidden(c) ? 0 : header_->sectionSize(c));
    }
    return widths;
}

QRect ListboxView::CellRect(Int32 row, Int32 column) const {
    auto list = Owner();
    if (!list || column < 0 || column >= header_->count()) {
        return {};
    }
    const int rh = list->DefaultRowHeight();
    const qint64 y = static_cast<qint64>(row) * rh - verticalScrollBar()->value();
    return QRect(header_->sectionViewportPosition(column), static_cast<int>(y),
                 header_->sectionSize(column), rh);
}

void ListboxView::InvalidateCell(Int32 row, Int32 column) {
    // Rows came or went in this handler: the whole view is repainted once it returns.
    if (rowsPending_) {
        return;
    }
    auto list = Owner();
    if (!list) {
        return;
    }
    const RowRange visible =
        VisibleRows(verticalScrollBar()->value(), viewport()->height(), list->DefaultRowHeight());
    if (row < visible.first || row > visible.last) {
        return;
    }
    const QRect r = CellRect(row, column);
    if (r.isValid() && r.intersects(viewport()->rect())) {
        viewport()->update(r);
    }
}

void ListboxView::ScrollToRow(Int32 row) {
    auto list = Owner();
    if (!list) {
        return;
    }
    ApplyPendingRows();
    const int rh = list->DefaultRowHeight();
    const qint64 top = static_cast<qint64>(row) * rh;
    const int value = verticalScrollBar()->value();
    if (top < value) {
        verticalScrollBar()->setValue(static_cast<int>(top));
    } else if (top + rh > value + viewport()->height()) {
        verticalScrollBar()->setValue(static_cast<int>(top + rh - viewport()->height()));
    }
}

void ListboxView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    PaintRows(painter, event->rect());
}

void ListboxView::PaintRows(QPainter& painter, const QRect& exposed) {
    auto list = Owner();
    painter.fillRect(exposed, palette().color(QPalette::Base));
    if (!list) {
        return;
    }
    const int rh = list->DefaultRowHeight();
    const int scrollY = verticalScrollBar()->value();
    const RowRange rows = VisibleRows(scrollY + exposed.top(), exposed.height(), rh);
    const auto lefts = ColumnLefts();
    const auto widths = ColumnWidths();
    for (Int32 r = rows.first; r <= rows.last; ++r) {
        const int y = static_cast<int>(static_cast<qint64>(r) * rh - scrollY);
        for (std::size_t c = 0; c < lefts.size(); ++c) {
            if (widths[c] <= 0) {
                continue;
            }
            const QRect cell(lefts[c], y, widths[c], rh);
            if (cell.intersects(exposed)) {
                PaintCell(painter, *list, r, static_cast<Int32>(c), cell);
            }
        }
    }
    if (dragging_ && dropBefore_ >= 0) {
        const int y = static_cast<int>(static_cast<qint64>(dropBefore_) * rh - scrollY);
        painter.fillRect(QRect(0, y - 1, viewport()->width(), 2),
                         palette().color(QPalette::Highlight));
    }
}

void ListboxView::PaintCell(QPainter& painter, Listbox& list, Int32 row, Int32 column,
                            const QRect& rect) {
    painter.save();
    painter.setClipRect(rect);
    painter.translate(rect.topLeft());
    QtGraphics g(painter, rect.width(), rect.height());
    const bool exists = row < list.ListCount();
    const QColor text = palette().color(QPalette::Text);
    g.SetForeColor(RGB(static_cast<std::uint32_t>(text.rgb())));
    g.SetBold(list.Bold());
    g.SetTextFont(list.TextFont());
    g.SetTextSize(list.TextSize());
    Dispatch([&] {
        const bool handled = list.Event_CellBackgroundPaint(g, row, column);
        if (!handled && exists && list.Selected(row)) {
            painter.fillRect(QRect(0, 0, rect.width(), rect.height()),
                             palette().color(QPalette::Highlight));
        }
        if (!exists) {
            return;
        }
        const QColor defaultText = list.Selected(row) && !handled
                                       ? palette().color(QPalette::HighlightedText)
                                       : palette().color(QPalette::Text);
        g.SetForeColor(RGB(static_cast<std::uint32_t>(defaultText.rgb())));
        g.SetBold(list.Bold());
        const QFontMetrics metrics(FontFor(list.TextFont(), list.TextSize(), list.Bold()));
        const Int32 x = 3;
        const Int32 baseline = (rect.height() + metrics.ascent() - metrics.descent()) / 2;
        if (!list.Event_CellTextPaint(g, row, column, x, baseline)) {
            const QString cellText = QString::fromStdString(list.Cell(row, column));
            if (!cellText.isEmpty()) {
                const QFont font = FontFor(g.TextFont(), g.TextSize(), g.Bold());
                painter.setFont(font);
                const Color c = g.ForeColor();
                painter.setPen(QColor(c.Red(), c.Green(), c.Blue()));
                const QString shown =
                    QFontMetrics(font).elidedText(cellText, Qt::ElideRight, rect.width() - x - 2);
                painter.drawText(QPointF(x, baseline), shown);
            }
        }
    });
    painter.restore();
}

void ListboxView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateHeader();
    UpdateScrollRange();
}

void ListboxView::scrollContentsBy(int, int) {
    viewport()->update();
}

void ListboxView::Press(QMouseEvent* event) {
    auto list = Owner();
    if (!list) {
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QPoint vp = event->position().toPoint();
    const QPoint inControl = viewport()->mapTo(this, vp);
    const bool contextual =
        event->button() == Qt::RightButton ||
        (event->button() == Qt::LeftButton && (event->modifiers() & Qt::MetaModifier));
    bool claimed = false;
    {
        const QPoint global = event->globalPosition().toPoint();
        ContextualClickScope scope(contextual, ScreenPoint{global.x(), global.y()});
        Dispatch([&] { claimed = list->RaiseMouseDown(inControl.x(), inControl.y()); });
    }
    if (claimed) {
        return;
    }
    const CellHit hit = HitTest(vp.x(), vp.y(), verticalScrollBar()->value(),
                                list->DefaultRowHeight(), ColumnLefts(), ColumnWidths());
    const bool onRow = hit.row >= 0 && hit.row < list->ListCount();
    if (onRow && hit.column >= 0 && event->button() == Qt::LeftButton) {
        bool cellClaimed = false;
        Dispatch([&] { cellClaimed = list->Event_CellClick(hit.row, hit.column, hit.x, hit.y); });
        if (cellClaimed) {
            pressTakenByCell_ = true;
            return;
        }
    }
    if (!onRow) {
        if (event->button() == Qt::LeftButton) {
            Dispatch([&] { list->UserClick(-1, Listbox::ClickKind::Plain); });
        }
        return;
    }
    const auto modifiers = event->modifiers();
    const auto kind = (modifiers & Qt::ControlModifier) ? Listbox::ClickKind::Toggle
                      : (modifiers & Qt::ShiftModifier) ? Listbox::ClickKind::Extend
                                                        : Listbox::ClickKind::Plain;
    if (contextual) {
        // A contextual click selects the row under the mouse unless it is part of the selection.
        if (!list->Selected(hit.row)) {
            Dispatch([&] { list->UserClick(hit.row, Listbox::ClickKind::Plain); });
        }
        return;
    }
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (kind == Listbox::ClickKind::Plain && list->Selected(hit.row) && list->SelCount() > 1) {
        // Keep a multiple selection until release, so that it can be dragged.
        pendingPlainClick_ = hit.row;
    } else {
        Dispatch([&] { list->UserClick(hit.row, kind); });
    }
    if (kind == Listbox::ClickKind::Plain && list->EnableDragReorder()) {
        dragCandidate_ = true;
        pressPos_ = vp;
    }
}

void ListboxView::mousePressEvent(QMouseEvent* event) {
    dragCandidate_ = false;
    dragging_ = false;
    pendingPlainClick_ = -1;
    pressTakenByCell_ = false;
    Press(event);
}

void ListboxView::mouseMoveEvent(QMouseEvent* event) {
    auto list = Owner();
    if (!list || !dragCandidate_ || !(event->buttons() & Qt::LeftButton)) {
        return;
    }
    const QPoint vp = event->position().toPoint();
    if (!dragging_ && (vp - pressPos_).manhattanLength() < QApplication::startDragDistance()) {
        return;
    }
    dragging_ = true;
    pendingPlainClick_ = -1;
    dropBefore_ = DropIndexAt(vp.y(), verticalScrollBar()->value(), list->DefaultRowHeight(),
                              list->ListCount());
    viewport()->update();
}

void ListboxView::mouseReleaseEvent(QMouseEvent* event) {
    auto list = Owner();
    if (!list) {
        return;
    }
    if (dragging_ && event->button() == Qt::LeftButton) {
        std::vector<Int32> rows;
        for (Int32 r = 0; r < list->ListCount(); ++r) {
            if (list->Selected(r)) {
                rows.push_back(r);
            }
        }
        const Int32 before = dropBefore_;
        Dispatch([&] { list->MoveRows(rows, before); });
    } else if (pendingPlainClick_ >= 0) {
        const Int32 row = pendingPlainClick_;
        Dispatch([&] { list->UserClick(row, Listbox::ClickKind::Plain); });
    }
    dragCandidate_ = false;
    dragging_ = false;
    pendingPlainClick_ = -1;
    dropBefore_ = -1;
    viewport()->update();
}

void ListboxView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    // The first press has already selected, or been taken by a cell object; the second only
    // reports the double-click, and not on a cell object's control.
    if (pressTakenByCell_) {
        return;
    }
    if (auto list = Owner()) {
        Dispatch([&] { list->RaiseDoubleClick(); });
    }
}

void ListboxView::keyPressEvent(QKeyEvent* event) {
    auto list = Owner();
    if (!list) {
        return;
    }
    QString text = event->text();
    if (event->key() == Qt::Key_Backspace) {
        text = QString(QChar(8));
    } else if (event->key() == Qt::Key_Delete) {
        text = QString(QChar(127));
    }
    bool claimed = false;
    Dispatch([&] { claimed = list->RaiseKeyDown(text.toStdString()); });
    if (claimed) {
        return;
    }
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
        case Qt::Key_Up:
            Dispatch([&] { list->UserMoveSelection(-1, extend); });
            return;
        case Qt::Key_Down:
            Dispatch([&] { list->UserMoveSelection(1, extend); });
            return;
        default:
            break;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        Dispatch([&] { list->UserSelectAll(); });
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

std::vector<std::shared_ptr<FolderItem>> ListboxView::AcceptableFiles(const QMimeData* mime) const {
    std::vector<std::shared_ptr<FolderItem>> files;
    auto list = Owner();
    if (!list || mime == nullptr || !mime->hasUrls()) {
        return files;
    }
    for (const QUrl& url : mime->urls()) {
        if (!url.isLocalFile()) {
            continue;
        }
        const QString path = url.toLocalFile();
        const QFileInfo info(path);
        if (info.isDir()) {
            continue;
        }
        for (const auto& typeName : list->AcceptedFileTypes()) {
            const auto type = FileTypeNamed(typeName);
            if (type && type->Matches(info.fileName().toStdString())) {
                files.push_back(std::make_shared<FolderItem>(path.toStdString()));
                break;
            }
        }
    }
    return files;
}

void ListboxView::AcceptDrag(QDragMoveEvent* event) {
    if (dragAcceptable_) {
        // Files are listed, never moved: a file manager must not delete what was dropped.
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void ListboxView::dragEnterEvent(QDragEnterEvent* event) {
    // Decided once per drag: the files are not looked up again at every move.
    dragAcceptable_ = !AcceptableFiles(event->mimeData()).empty();
    AcceptDrag(event);
}

void ListboxView::dragMoveEvent(QDragMoveEvent* event) {
    AcceptDrag(event);
}

void ListboxView::dropEvent(QDropEvent* event) {
    auto list = Owner();
    auto files = AcceptableFiles(event->mimeData());
    if (!list || files.empty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    const Int32 action = 1;
    auto items = std::make_shared<DragItem>(std::move(files));
    Dispatch([&] { list->RaiseDropObject(*items, action); });
}

}  // namespace fw
