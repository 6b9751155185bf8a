#include "framework/Listbox.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

#include "framework/DragItem.h"
#include "framework/FileType.h"
#include "framework/Int32Math.h"
#include "framework/ListboxView.h"
#include "framework/Strings.h"

namespace fw {

namespace {

// A stable merge sort that stays within its bounds whatever the comparison answers: the rows'
// order comes from program handlers, which need not be consistent.
template <class Less>
void MergeSort(std::vector<Int32>& items, Less less) {
    std::vector<Int32> buffer(items.size());
    for (std::size_t width = 1; width < items.size(); width *= 2) {
        for (std::size_t lo = 0; lo < items.size(); lo += 2 * width) {
            const std::size_t mid = std::min(lo + width, items.size());
            const std::size_t hi = std::min(lo + 2 * width, items.size());
            std::size_t i = lo, j = mid, k = lo;
            while (i < mid && j < hi) {
                // Take from the right only when it is strictly smaller: equal rows keep order.
                buffer[k++] = less(items[j], items[i]) ? items[j++] : items[i++];
            }
            while (i < mid) {
                buffer[k++] = items[i++];
            }
            while (j < hi) {
                buffer[k++] = items[j++];
            }
        }
        items.swap(buffer);
    }
}

}  // namespace

Listbox::Listbox() {
    DeclareEvent<void(Listbox&)>("Open", "(  )");
    DeclareEvent<void(Listbox&, DragItem&, Int32)>("DropObject", "( DragItem, Int32 )");
    DeclareEvent<void(Listbox&)>("DoubleClick", "(  )");
    DeclareEvent<bool(Listbox&, Int32, Int32)>("MouseDown", "( Int32, Int32 ) as Boolean");
    DeclareEvent<bool(Listbox&, const std::string&)>("KeyDown", "( String ) as Boolean");
    DeclareEvent<void(Listbox&)>("Change", "(  )");
    headings_.resize(1);
    widthSpecs_.resize(1);
}

Listbox::~Listbox() = default;

QWidget* Listbox::CreateWidget(QWidget* parent) {
    auto* view = new ListboxView(parent);
    view->SetOwner(std::static_pointer_cast<Listbox>(shared_from_this()));
    return view;
}

void Listbox::SyncView() {
    if (auto* view = static_cast<ListboxView*>(Widget())) {
        view->ModelChanged();
    }
}

void Listbox::RowsChanged() {
    if (auto* view = static_cast<ListboxView*>(Widget())) {
        view->RowsChanged();
    }
}

void Listbox::RequestRepaint() {
    if (auto* view = static_cast<ListboxView*>(Widget())) {
        view->viewport()->update();
    }
}

// Rows.

void Listbox::AddRow(const std::string& text) {
    // A program fills the row it has just added, cell after cell: the new row is given room
    // for that, and the row before it, filled by now, is brought to its exact size.
    if (lastIndex_ >= 0 && lastIndex_ < ListCount()) {
        rows_[static_cast<std::size_t>(lastIndex_)].cells.Close();
    }
    Row row;
    row.cells.Open();
    row.cells.SetText(0, text);
    rows_.push_back(std::move(row));
    lastIndex_ = ListCount() - 1;
    RowsChanged();
}

void Listbox::RemoveRow(Int32 row) {
    if (row < 0 || row >= ListCount()) {
        throw OutOfBoundsException("RemoveRow " + std::to_string(row) + " of " +
                                   std::to_string(ListCount()) + " rows");
    }
    // Rows are removed from the last to the first when many go at once: what destroying the
    // rows before this one will touch is asked for ahead, so that their cache misses overlap
    // instead of coming one after another.
    constexpr Int32 kBlocksAhead = 16;
    constexpr Int32 kObjectsAhead = 8;
    if (row >= kBlocksAhead) {
        rows_[static_cast<std::size_t>(row - kBlocksAhead)].cells.PrefetchBlocks();
    }
    if (row >= kObjectsAhead) {
        rows_[static_cast<std::size_t>(row - kObjectsAhead)].cells.PrefetchTagObjects();
    }
    // The row, with its tags, is destroyed only after the bookkeeping below; whoever still holds
    // one of its cell objects keeps it.
    Row removed = rows_.take(static_cast<std::size_t>(row));
    if (removed.selected) {
        --selectedCount_;
        if (firstSelectedKnown_ && firstSelected_ == row) {
            firstSelectedKnown_ = false;
        }
    }
    if (firstSelectedKnown_ && firstSelected_ > row) {
        --firstSelected_;
    }
    for (Int32* mark : {&anchor_, &cursor_}) {
        if (*mark == row) {
            *mark = -1;
        } else if (*mark > row) {
            --*mark;
        }
    }
    RowsChanged();
}

void Listbox::DeleteAllRows() {
    rows_.clear();
    selectedCount_ = 0;
    firstSelected_ = -1;
    firstSelectedKnown_ = true;
    anchor_ = -1;
    cursor_ = -1;
    RowsChanged();
}

const Listbox::Row& Listbox::RowAt(Int32 row) const {
    if (row < 0 || row >= ListCount()) {
        throw OutOfBoundsException("row " + std::to_string(row) + " of " +
                                   std::to_string(ListCount()) + " rows");
    }
    return rows_[static_cast<std::size_t>(row)];
}

Listbox::Row& Listbox::RowAt(Int32 row) {
    return const_cast<Row&>(static_cast<const Listbox*>(this)->RowAt(row));
}

void Listbox::CheckColumn(Int32 column) const {
    if (column < 0 || column >= columnCount_) {
        throw OutOfBoundsException("column " + std::to_string(column) + " of " +
                                   std::to_string(columnCount_) + " columns");
    }
}

std::string Listbox::Cell(Int32 row, Int32 column) const {
    const Row& r = RowAt(row);
    CheckColumn(column);
    return std::string(r.cells.Text(static_cast<std::size_t>(column)));
}

Int32 Listbox::FindRow(Int32 column, std::string_view text, Int32 from) const {
    CheckColumn(column);
    const Int32 count = ListCount();
    // Each row's texts lie in a block of their own, wherever the allocator put them; asking for
    // a few rows ahead lets their cache misses overlap instead of coming one after another.
    constexpr Int32 kAhead = 8;
    for (Int32 i = std::max<Int32>(from, 0); i < count; ++i) {
        if (i < count - kAhead) {
            rows_[static_cast<std::size_t>(i + kAhead)].cells.Prefetch();
        }
        if (rows_[static_cast<std::size_t>(i)].cells.Text(static_cast<std::size_t>(column)) ==
            text) {
            return i;
        }
    }
    return -1;
}

void Listbox::SetCell(Int32 row, Int32 column, const std::string& text) {
    Row& r = RowAt(row);
    CheckColumn(column);
    r.cells.SetText(static_cast<std::size_t>(column), text);
    InvalidateCell(row, column);
}

Variant Listbox::CellTag(Int32 row, Int32 column) const {
    return CellTagRef(row, column);
}

const Variant& Listbox::CellTagRef(Int32 row, Int32 column) const {
    const Row& r = RowAt(row);
    CheckColumn(column);
    return r.cells.Tag(static_cast<std::size_t>(column));
}

void Listbox::SetCellTag(Int32 row, Int32 column, Variant tag) {
    Row& r = RowAt(row);
    CheckColumn(column);
    // Swap first, destroy after: the old value's destructor must not see a half-written cell.
    Variant old = r.cells.SetTag(static_cast<std::size_t>(column), std::move(tag));
}

void Listbox::InvalidateCell(Int32 row, Int32 column) {
    if (row < 0 || row >= ListCount()) {
        return;
    }
    if (auto* view = static_cast<ListboxView*>(Widget())) {
        view->InvalidateCell(row, column);
    }
}

// Selection.

bool Listbox::Selected(Int32 row) const {
    if (row < 0 || row >= ListCount()) {
        return false;
    }
    return rows_[static_cast<std::size_t>(row)].selected;
}

bool Listbox::SetSelectedQuietly(Int32 row, bool selected) {
    if (row < 0 || row >= ListCount()) {
        return false;
    }
    Row& r = rows_[static_cast<std::size_t>(row)];
    if (r.selected == selected) {
        return false;
    }
    r.selected = selected;
    if (selected) {
        ++selectedCount_;
        if (firstSelectedKnown_ && (firstSelected_ < 0 || row < firstSelected_)) {
            firstSelected_ = row;
        }
    } else {
        --selectedCount_;
        if (firstSelectedKnown_ && firstSelected_ == row) {
            firstSelectedKnown_ = selectedCount_ == 0;
            firstSelected_ = -1;
        }
    }
    return true;
}

bool Listbox::ClearSelectionQuietly() {
    if (selectedCount_ == 0) {
        return false;
    }
    for (std::size_t i = 0; i < rows_.size() && selectedCount_ > 0; ++i) {
        if (rows_[i].selected) {
            rows_[i].selected = false;
            --selectedCount_;
        }
    }
    firstSelected_ = -1;
    firstSelectedKnown_ = true;
    return true;
}

void Listbox::SetSelected(Int32 row, bool selected) {
    if (SetSelectedQuietly(row, selected)) {
        RequestRepaint();
    }
}

Int32 Listbox::ListIndex() const {
    if (!firstSelectedKnown_) {
        firstSelected_ = -1;
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            if (rows_[i].selected) {
                firstSelected_ = static_cast<Int32>(i);
                break;
            }
        }
        firstSelectedKnown_ = true;
    }
    return selectedCount_ == 0 ? -1 : firstSelected_;
}

void Listbox::SetListIndex(Int32 row) {
    const bool alreadyAlone = selectedCount_ == 1 && Selected(row);
    if (alreadyAlone) {
        return;
    }
    bool changed = ClearSelectionQuietly();
    changed = SetSelectedQuietly(row, true) || changed;
    anchor_ = row >= 0 && row < ListCount() ? row : -1;
    cursor_ = anchor_;
    if (changed) {
        RequestRepaint();
        RaiseChange();
    }
}

void Listbox::UserClick(Int32 row, ClickKind kind) {
    const bool valid = row >= 0 && row < ListCount();
    if (selectionType_ == 0 || !valid) {
        kind = ClickKind::Plain;
    }
    bool changed = false;
    switch (kind) {
        case ClickKind::Plain:
            if (!(selectedCount_ == 1 && Selected(row))) {
                changed = ClearSelectionQuietly();
                changed = SetSelectedQuietly(row, true) || changed;
            }
            anchor_ = valid ? row : -1;
            break;
        case ClickKind::Toggle:
            changed = SetSelectedQuietly(row, !Selected(row));
            anchor_ = row;
            break;
        case ClickKind::Extend: {
            const Int32 from = anchor_ >= 0 && anchor_ < ListCount() ? anchor_ : row;
            const Int32 low = std::min(from, row);
            const Int32 high = std::max(from, row);
            for (Int32 i = 0; i < ListCount(); ++i) {
                changed = SetSelectedQuietly(i, i >= low && i <= high) || changed;
            }
            anchor_ = from;
            break;
        }
    }
    cursor_ = valid ? row : -1;
    if (changed) {
        RequestRepaint();
        RaiseChange();
    }
}

void Listbox::UserSelectAll() {
    if (selectionType_ == 0) {
        return;
    }
    bool changed = false;
    for (Int32 i = 0; i < ListCount(); ++i) {
        changed = SetSelectedQuietly(i, true) || changed;
    }
    if (changed) {
        RequestRepaint();
        RaiseChange();
    }
}

void Listbox::UserMoveSelection(Int32 delta, bool extend) {
    if (ListCount() == 0) {
        return;
    }
    const Int32 from = cursor_ >= 0 && cursor_ < ListCount() ? cursor_ : ListIndex();
    const Int32 target = std::clamp(from < 0 ? 0 : from + delta, 0, ListCount() - 1);
    UserClick(target, extend ? ClickKind::Extend : ClickKind::Plain);
    if (auto* view = static_cast<ListboxView*>(Widget())) {
        view->ScrollToRow(target);
    }
}

// Columns.

void Listbox::SetColumnCount(Int32 count) {
    columnCount_ = std::max(count, 1);
    headings_.resize(static_cast<std::size_t>(columnCount_));
    widthSpecs_.resize(static_cast<std::size_t>(columnCount_));
    SyncView();
}

std::string Listbox::Heading(Int32 column) const {
    CheckColumn(column);
    return headings_[static_cast<std::size_t>(column)];
}

void Listbox::SetHeading(Int32 column, const std::string& text) {
    CheckColumn(column);
    headings_[static_cast<std::size_t>(column)] = text;
    SyncView();
}

void Listbox::SetColumnWidths(const std::string& widths) {
    const std::vector<std::string> specs = Split(widths, ',');
    for (std::size_t i = 0; i < widthSpecs_.size(); ++i) {
        widthSpecs_[i] = i < specs.size() ? specs[i] : std::string();
    }
    SyncView();
}

std::vector<Int32> Listbox::ColumnPixelWidths(Int32 innerWidth) const {
    // Percentages share the inner width; plain numbers are pixels; columns without a width
    // share what is left evenly.
    std::vector<Int32> out(static_cast<std::size_t>(columnCount_), 0);
    std::vector<std::size_t> open;
    // Wide enough for the sum of any columns' Int32 widths.
    std::int64_t used = 0;
    double percentTotal = 0;
    Int32 lastShare = -1;
    for (std::size_t i = 0; i < out.size(); ++i) {
        QString spec = QString::fromStdString(widthSpecs_[i]).trimmed();
        if (spec.isEmpty() || spec == "*") {
            open.push_back(i);
            continue;
        }
        bool ok = false;
        if (spec.endsWith('%')) {
            const double pct = spec.chopped(1).toDouble(&ok);
            out[i] = ok ? ToInt32(std::floor(pct * innerWidth / 100.0)) : 0;
            percentTotal += ok ? pct : 0;
            if (ok && pct > 0) {
                lastShare = static_cast<Int32>(i);
            }
        } else {
            const double px = spec.toDouble(&ok);
            out[i] = ok ? ToInt32(px) : 0;
        }
        out[i] = std::max(out[i], 0);
        used += out[i];
    }
    if (!open.empty()) {
        const auto left = std::max<std::int64_t>(innerWidth - used, 0);
        const auto share = static_cast<Int32>(left / static_cast<std::int64_t>(open.size()));
        for (auto i : open) {
            out[i] = share;
        }
    } else if (percentTotal >= 99.99 && used < innerWidth && lastShare >= 0) {
        // Shares that make up the whole width fill it: the pixels that rounding down left
        // over go to the last column with a share instead of a gap at the right.
        out[static_cast<std::size_t>(lastShare)] += static_cast<Int32>(innerWidth - used);
    }
    return out;
}

void Listbox::SetInitialValue(const std::string& value) {
    // Lines are rows, cells are separated by tabs; with a heading the first line is the heading.
    const std::vector<std::string> lines =
        Split(ReplaceAll(ReplaceAll(value, "\r\n", "\n"), "\r", "\n"), '\n');
    auto cells = [](const std::string& line) { return Split(line, '\t'); };
    std::size_t first = 0;
    if (hasHeading_ && !lines.empty()) {
        const auto heads = cells(lines[0]);
        for (std::size_t c = 0; c < heads.size() && c < headings_.size(); ++c) {
            headings_[c] = heads[c];
        }
        first = 1;
    }
    for (std::size_t l = first; l < lines.size(); ++l) {
        if (lines[l].empty() && l + 1 == lines.size()) {
            break;
        }
        const auto row = cells(lines[l]);
        AddRow(row.empty() ? std::string() : row[0]);
        for (std::size_t c = 1; c < row.size() && c < static_cast<std::size_t>(columnCount_); ++c) {
            SetCell(LastIndex(), static_cast<Int32>(c), row[c]);
        }
    }
    SyncView();
}

// Sorting and reordering.

namespace {

// The texts of one column, compared as QString::compare ignoring case does. A text of ASCII
// alone ignores case as its lower-case bytes do, so such texts are folded once, one after
// another into one buffer, and compared as bytes; only a pair with another letter in it goes
// through QString.
class ColumnTexts {
public:
    explicit ColumnTexts(std::vector<std::string_view> texts) : texts_(std::move(texts)) {
        std::size_t total = 0;
        ascii_.resize(texts_.size());
        for (std::size_t i = 0; i < texts_.size(); ++i) {
            ascii_[i] = IsAscii(texts_[i]);
            total += ascii_[i] ? texts_[i].size() : 0;
        }
        folded_.reserve(total);
        at_.resize(texts_.size() + 1);
        for (std::size_t i = 0; i < texts_.size(); ++i) {
            at_[i] = folded_.size();
            if (ascii_[i]) {
                for (const char ch : texts_[i]) {
                    folded_.push_back(IsAsciiCapital(ch) ? static_cast<char>(ch - 'A' + 'a') : ch);
                }
            }
        }
        at_[texts_.size()] = folded_.size();
    }

    int Compare(std::size_t a, std::size_t b) const {
        if (ascii_[a] && ascii_[b]) {
            const int cmp = Folded(a).compare(Folded(b));
            return cmp < 0 ? -1 : (cmp > 0 ? 1 : 0);
        }
        return QString::compare(Q(texts_[a]), Q(texts_[b]), Qt::CaseInsensitive);
    }

private:
    static bool IsAsciiCapital(char ch) { return ch >= 'A' && ch <= 'Z'; }
    static QString Q(std::string_view text) {
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    std::string_view Folded(std::size_t i) const {
        return std::string_view(folded_).substr(at_[i], at_[i + 1] - at_[i]);
    }

    std::vector<std::string_view> texts_;
    // The folded ASCII texts, text i from at_[i] to at_[i + 1].
    std::string folded_;
    std::vector<std::size_t> at_;
    std::vector<char> ascii_;
};

// Puts the rows into the order, where order[i] is the row that goes to place i, by moving each
// row once along the cycles of the permutation: no second set of rows.
template <class Rows>
void Permute(Rows& rows, const std::vector<Int32>& order) {
    std::vector<bool> placed(rows.size());
    for (std::size_t start = 0; start < rows.size(); ++start) {
        if (placed[start]) {
            continue;
        }
        auto held = std::move(rows[start]);
        std::size_t at = start;
        while (true) {
            placed[at] = true;
            const auto from = static_cast<std::size_t>(order[at]);
            if (from == start) {
                rows[at] = std::move(held);
                break;
            }
            rows[at] = std::move(rows[from]);
            at = from;
        }
    }
}

}  // namespace

void Listbox::SortByColumn(Int32 column, bool ascending) {
    CheckColumn(column);
    const std::size_t count = rows_.size();
    std::vector<Int32> order(count);
    for (std::size_t i = 0; i < count; ++i) {
        order[i] = static_cast<Int32>(i);
    }
    std::optional<ColumnTexts> texts;
    auto compareTexts = [&](Int32 a, Int32 b) {
        if (!texts) {
            std::vector<std::string_view> columnTexts(count);
            for (std::size_t i = 0; i < count; ++i) {
                columnTexts[i] = rows_[i].cells.Text(static_cast<std::size_t>(column));
            }
            texts.emplace(std::move(columnTexts));
        }
        return texts->Compare(static_cast<std::size_t>(a), static_cast<std::size_t>(b));
    };
    // The rows stay where they are while the handlers compare them by index; only the order
    // is sorted, and applied at the end.
    if (SortsByRowKeys()) {
        std::vector<Int32> keys(count);
        std::vector<char> keyed(count);
        for (std::size_t i = 0; i < count; ++i) {
            keyed[i] = RowSortKey(static_cast<Int32>(i), column, keys[i]);
        }
        MergeSort(order, [&](Int32 a, Int32 b) {
            const auto i = static_cast<std::size_t>(a);
            const auto j = static_cast<std::size_t>(b);
            int cmp = 0;
            if (keyed[i] && keyed[j]) {
                cmp = keys[i] < keys[j] ? -1 : (keys[i] > keys[j] ? 1 : 0);
            } else {
                cmp = compareTexts(a, b);
            }
            return ascending ? cmp < 0 : cmp > 0;
        });
    } else {
        MergeSort(order, [&](Int32 a, Int32 b) {
            Int32 result = 0;
            int cmp = 0;
            if (Event_CompareRows(a, b, column, result)) {
                cmp = result < 0 ? -1 : (result > 0 ? 1 : 0);
            } else {
                cmp = compareTexts(a, b);
            }
            return ascending ? cmp < 0 : cmp > 0;
        });
    }
    auto rows = rows_.release();
    Permute(rows, order);
    rows_.assign(std::move(rows));
    firstSelectedKnown_ = false;
    anchor_ = -1;
    cursor_ = -1;
    sortColumn_ = column;
    sortAscending_ = ascending;
    SyncView();
}

void Listbox::HeadingPressed(Int32 column) {
    const bool ascending = column == sortColumn_ ? !sortAscending_ : true;
    SortByColumn(column, ascending);
}

void Listbox::MoveRows(std::vector<Int32> rows, Int32 before) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::erase_if(rows, [&](Int32 r) { return r < 0 || r >= ListCount(); });
    if (rows.empty()) {
        return;
    }
    before = std::clamp(before, 0, ListCount());
    auto all = rows_.release();
    RowStore<Row>::Rows moved;
    RowStore<Row>::Rows rest;
    moved.reserve(rows.size());
    rest.reserve(all.size() - rows.size());
    Int32 insertAt = 0;
    std::size_t next = 0;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (next < rows.size() && rows[next] == static_cast<Int32>(i)) {
            moved.push_back(std::move(all[i]));
            ++next;
        } else {
            if (static_cast<Int32>(i) < before) {
                ++insertAt;
            }
            rest.push_back(std::move(all[i]));
        }
    }
    rest.insert(rest.begin() + insertAt, std::make_move_iterator(moved.begin()),
                std::make_move_iterator(moved.end()));
    rows_.assign(std::move(rest));
    firstSelectedKnown_ = false;
    anchor_ = -1;
    cursor_ = -1;
    RowsChanged();
}

void Listbox::AcceptFileDrop(const std::string& typeName) {
    acceptedTypes_.push_back(typeName);
    if (auto* view = static_cast<ListboxView*>(Widget())) {
        view->setAcceptDrops(true);
        view->viewport()->setAcceptDrops(true);
    }
}

// Events.

void Listbox::RaiseOpen() {
    Raise<void(Listbox&)>("Open", *this);
}
void Listbox::RaiseDropObject(DragItem& items, Int32 action) {
    Raise<void(Listbox&, DragItem&, Int32)>("DropObject", *this, items, action);
}
void Listbox::RaiseDoubleClick() {
    Raise<void(Listbox&)>("DoubleClick", *this);
}
bool Listbox::RaiseMouseDown(Int32 x, Int32 y) {
    return Raise<bool(Listbox&, Int32, Int32)>("MouseDown", *this, x, y);
}
bool Listbox::RaiseKeyDown(const std::string& key) {
    return Raise<bool(Listbox&, const std::string&)>("KeyDown", *this, key);
}
void Listbox::RaiseChange() {
    Raise<void(Listbox&)>("Change", *this);
}

bool Listbox::Event_CellBackgroundPaint(Graphics&, Int32, Int32) {
    return false;
}
bool Listbox::Event_CellTextPaint(Graphics&, Int32, Int32, Int32, Int32) {
    return false;
}
bool Listbox::Event_CellClick(Int32, Int32, Int32, Int32) {
    return false;
}
bool Listbox::Event_CompareRows(Int32, Int32, Int32, Int32&) {
    return false;
}
bool Listbox::RowSortKey(Int32, Int32, Int32&) {
    return false;
}

const PropertyTable& Listbox::Properties() const {
    static const PropertyTable table = [] {
        PropertyTable t = RectProperties();
        auto self = [](PropertyHolder& h) -> Listbox& { return static_cast<Listbox&>(h); };
        t.Add("Border", PropType::Boolean, [self](PropertyHolder& h, const PropValue& v) {
            if (auto* view = static_cast<ListboxView*>(self(h).Widget())) {
                view->setFrameShape(std::get<bool>(v) ? QFrame::StyledPanel : QFrame::NoFrame);
            }
        });
        t.Add("ColumnCount", PropType::Int32, [self](PropertyHolder& h, const PropValue& v) {
            self(h).SetColumnCount(std::get<Int32>(v));
        });
        t.Add("ColumnWidths", PropType::String, [self](PropertyHolder& h, const PropValue& v) {
            self(h).SetColumnWidths(std::get<std::string>(v));
        });
        t.Add("HasHeading", PropType::Boolean, [self](PropertyHolder& h, const PropValue& v) {
            self(h).hasHeading_ = std::get<bool>(v);
            self(h).SyncView();
        });
        t.Add("UseFocusRing", PropType::Boolean);
        t.Add("InitialValue", PropType::String, [self](PropertyHolder& h, const PropValue& v) {
            self(h).SetInitialValue(std::get<std::string>(v));
        });
        t.Add("HeadingIndex", PropType::Int32);
        t.Add("ScrollbarHorizontal", PropType::Boolean);
        t.Add("ScrollBarVertical", PropType::Boolean,
              [self](PropertyHolder& h, const PropValue& v) {
                  if (auto* view = static_cast<ListboxView*>(self(h).Widget())) {
                      view->setVerticalScrollBarPolicy(std::get<bool>(v) ? Qt::ScrollBarAsNeeded
                                                                         : Qt::ScrollBarAlwaysOff);
                  }
              });
        t.Add("GridLinesHorizontal", PropType::Int32);
        t.Add("GridLinesVertical", PropType::Int32);
        t.Add("DefaultRowHeight", PropType::Int32, [self](PropertyHolder& h, const PropValue& v) {
            self(h).rowHeight_ = std::max(std::get<Int32>(v), 1);
            self(h).SyncView();
        });
        t.Add("_ScrollWidth", PropType::Int32);
        t.Add("TextFont", PropType::String, [self](PropertyHolder& h, const PropValue& v) {
            self(h).textFont_ = std::get<std::string>(v);
            self(h).SyncView();
        });
        t.Add("TextSize", PropType::Int32, [self](PropertyHolder& h, const PropValue& v) {
            self(h).textSize_ = std::get<Int32>(v);
            self(h).SyncView();
        });
        t.Add("Bold", PropType::Boolean, [self](PropertyHolder& h, const PropValue& v) {
            self(h).bold_ = std::get<bool>(v);
            self(h).SyncView();
        });
        t.Add("Italic", PropType::Boolean);
        t.Add("Underline", PropType::Boolean);
        t.Add("Hierarchical", PropType::Boolean);
        t.Add("EnableDrag", PropType::Boolean);
        t.Add("EnableDragReorder", PropType::Boolean,
              [self](PropertyHolder& h, const PropValue& v) {
                  self(h).dragReorder_ = std::get<bool>(v);
              });
        t.Add("RequiresSelection", PropType::Boolean);
        t.Add("SelectionType", PropType::Int32, [self](PropertyHolder& h, const PropValue& v) {
            self(h).selectionType_ = std::get<Int32>(v);
        });
        t.Add("ColumnsResizable", PropType::Boolean, [self](PropertyHolder& h, const PropValue& v) {
            self(h).columnsResizable_ = std::get<bool>(v);
            self(h).SyncView();
        });
        t.Add("AutoHideScrollbars", PropType::Boolean);
        t.Add("DataSource", PropType::String);
        t.Add("DataField", PropType::String);
        return t;
    }();
    return table;
}

}  // namespace fw
