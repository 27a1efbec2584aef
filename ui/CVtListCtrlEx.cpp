#include "ui/CVtListCtrlEx.h"

#include "ui/CHeaderCtrlEx.h"
#include "ui/accessible_list_ctrl.h"
#include "ui/accessible_strings.h"
#include "ui/ui_fonts.h"

#include <QApplication>
#include <QCollator>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QSettings>

#include <algorithm>
#include <numeric>

namespace {

constexpr int kCellTextInset = 4;
constexpr int kMinFontPoints = 4;
constexpr int kMaxFontPoints = 40;

// Leading decimal digits, as the column text's widths are read.
int LeadingNumber(QStringView text)
{
    text = text.trimmed();
    int value = 0;
    for (QChar c : text) {
        if (!c.isDigit())
            break;
        value = value * 10 + c.digitValue();
        if (value > 1000000)
            break;
    }
    return value;
}

}  // namespace

CVtListCtrlEx::CVtListCtrlEx(QWidget* parent)
    : QAbstractScrollArea(parent), header_(new CHeaderCtrlEx(this)), theme_(this)
{
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalScrollBar()->setSingleStep(1);
    connect(header_, &CHeaderCtrlEx::ItemClicked, this, &CVtListCtrlEx::OnHeaderClicked);
    connect(header_, &QHeaderView::sectionResized, this, [this](int column) {
        if (column != auto_fill_column_)
            FillAutoFillColumn();
        UpdateGeometries();
        viewport()->update();
    });
    SetHeaderHeight(header_->GetHeaderHeight());
}

CVtListCtrlEx::~CVtListCtrlEx() = default;

// ---------------------------------------------------------------- set-up

int CVtListCtrlEx::SetColumns(const QString& text)
{
    QStringList labels;
    std::vector<int> widths;
    for (QStringView pair : QStringView(text).split(u';')) {
        const qsizetype comma = pair.indexOf(u',');
        if (comma < 0)
            break;
        labels.append(pair.left(comma).toString());
        widths.push_back(LeadingNumber(pair.mid(comma + 1)));
    }
    header_->SetColumnLabels(labels);
    auto_fill_column_ = -1;
    columns_.assign(widths.size(), Column{});
    for (std::size_t i = 0; i < widths.size(); ++i)
        header_->resizeSection(static_cast<int>(i), widths[i]);
    focused_column_ = 0;
    UpdateGeometries();
    viewport()->update();
    list_accessibility::RowsReset(*this);
    return GetColumnCount();
}

QString CVtListCtrlEx::GetColumnLabel(int column) const
{
    return ValidColumn(column) ? header_->GetColumnLabel(column) : QString();
}

int CVtListCtrlEx::GetColumnWidth(int column) const
{
    return ValidColumn(column) ? header_->sectionSize(column) : 0;
}

void CVtListCtrlEx::SetColumnWidth(int column, int width)
{
    if (ValidColumn(column) && width >= 0)
        header_->resizeSection(column, width);
}

void CVtListCtrlEx::SetAutoFillColumn(int column)
{
    auto_fill_column_ = ValidColumn(column) ? column : -1;
    auto_fill_min_width_ = GetColumnWidth(auto_fill_column_);
    FillAutoFillColumn();
}

void CVtListCtrlEx::FillAutoFillColumn()
{
    if (!ValidColumn(auto_fill_column_))
        return;
    // Two pixels short of the edge, so the filled column never calls for a horizontal scroll bar.
    constexpr int kSlack = 2;
    int others = 0;
    for (int c = 0; c < GetColumnCount(); ++c) {
        if (c != auto_fill_column_ && !header_->isSectionHidden(c))
            others += header_->sectionSize(c);
    }
    const int width = std::max(auto_fill_min_width_, viewport()->width() - others - kSlack);
    if (header_->sectionSize(auto_fill_column_) != width)
        header_->resizeSection(auto_fill_column_, width);
}

void CVtListCtrlEx::SetColumnAlignment(int column, int alignment)
{
    for (int c = 0; c < GetColumnCount(); ++c) {
        if (column == -1 || column == c) {
            columns_[static_cast<std::size_t>(c)].alignment = alignment;
            header_->SetItemAlignment(c, alignment);
        }
    }
    viewport()->update();
}

int CVtListCtrlEx::GetColumnAlignment(int column) const
{
    return ValidColumn(column) ? columns_[static_cast<std::size_t>(column)].alignment : kAlignLeft;
}

void CVtListCtrlEx::SetColumnType(int column, int type)
{
    if (ValidColumn(column)) {
        columns_[static_cast<std::size_t>(column)].type = type;
        viewport()->update();
    }
}

void CVtListCtrlEx::SetColumnEditable(int column, bool editable)
{
    for (int c = 0; c < GetColumnCount(); ++c) {
        if (column == -1 || column == c)
            columns_[static_cast<std::size_t>(c)].editable = editable;
    }
}

int CVtListCtrlEx::GetColumnSortState(int column) const
{
    return ValidColumn(column) ? columns_[static_cast<std::size_t>(column)].sort_state : kNeverSorted;
}

void CVtListCtrlEx::SetFontSize(int points)
{
    if (points == 0)
        return;
    if (points == 1 || points == -1)
        points = std::clamp(GetFontPointSize() + points, kMinFontPoints, kMaxFontPoints);
    QFont font = this->font();
    font.setPixelSize(std::max(1, qRound(points * logicalDpiY() / 72.0)));
    ApplyFont(font);
}

bool CVtListCtrlEx::SetFontFace(const QString& name)
{
    if (name.isEmpty() || name.size() > kMaxFontFaceLength)
        return false;
    QFont font = this->font();
    font.setFamilies({name});
    ApplyFont(font);
    return true;
}

void CVtListCtrlEx::ApplyFont(const QFont& font)
{
    setFont(font);
    header_->setFont(font);
    UpdateGeometries();
    viewport()->update();
}

int CVtListCtrlEx::GetFontPointSize() const
{
    const QFont& current = font();
    if (current.pixelSize() > 0)
        return qRound(current.pixelSize() * 72.0 / logicalDpiY());
    return qRound(current.pointSizeF());
}

void CVtListCtrlEx::LoadColumnWidths(const QString& section)
{
    QSettings settings(QStringLiteral("Tarvo"), QStringLiteral("TarvoCheckTool"));
    LoadColumnWidths(settings, section);
}

void CVtListCtrlEx::LoadColumnWidths(QSettings& settings, const QString& section)
{
    for (int c = 0; c < GetColumnCount(); ++c) {
        bool ok = false;
        const int width = settings.value(section + QStringLiteral("/column width/") + QString::number(c)).toInt(&ok);
        if (ok && width > 0)
            SetColumnWidth(c, width);
    }
}

void CVtListCtrlEx::SetHeaderHeight(int pixels)
{
    header_->SetHeaderHeight(pixels);
    setViewportMargins(0, header_->GetHeaderHeight(), 0, 0);
    UpdateGeometries();
}

void CVtListCtrlEx::SetRowHeight(int pixels)
{
    row_height_ = std::max(0, pixels);
    UpdateGeometries();
    viewport()->update();
}

int CVtListCtrlEx::GetRowHeight() const
{
    if (row_height_ > 0)
        return row_height_;
    return std::max(16, fontMetrics().height() + 4);
}

void CVtListCtrlEx::EnableSort(bool on)
{
    sort_enabled_ = on;
    viewport()->update();
}

void CVtListCtrlEx::EnableAlternateRows(bool on)
{
    alternate_rows_ = on;
    viewport()->update();
}

void CVtListCtrlEx::EnableHeaderClick(bool on)
{
    header_->SetItemsClickable(on);
}

void CVtListCtrlEx::EnableSelectionFrame(bool on)
{
    selection_frame_ = on;
    viewport()->update();
}

void CVtListCtrlEx::EnableGridLines(bool top, bool bottom)
{
    grid_top_ = top;
    grid_bottom_ = bottom;
    viewport()->update();
}

void CVtListCtrlEx::SetAlwaysShowSelection(bool on)
{
    always_show_selection_ = on;
    viewport()->update();
}

void CVtListCtrlEx::SetThemeColor(int slot, ARGB colour)
{
    theme_.SetSlot(slot, colour);
    viewport()->update();
}

void CVtListCtrlEx::SetEmptyText(const QString& text, int points, ARGB colour)
{
    empty_text_ = text;
    empty_text_points_ = points;
    empty_text_colour_ = colour;
    viewport()->update();
}

// ---------------------------------------------------------------- rows

void CVtListCtrlEx::DeleteAllRows()
{
    setUpdatesEnabled(false);
    rows_.clear();
    focused_row_ = -1;
    UpdateGeometries();
    setUpdatesEnabled(true);
    viewport()->update();
    list_accessibility::RowsReset(*this);
}

int CVtListCtrlEx::InsertItem(int index, const QString& text, int image, bool scroll_into_view, bool redraw)
{
    const int row = InsertRow(index, text, image);
    if (row >= 0)
        ShowInsertedRow(row, scroll_into_view, redraw);
    return row;
}

int CVtListCtrlEx::InsertRow(int index, const QString& text, int image)
{
    if (columns_.empty())
        return -1;
    if (index < 0 || index > GetRowCount())
        index = GetRowCount();
    Row row;
    row.column_count = GetColumnCount();
    row.texts.resize(row.column_count);
    row.texts[0] = text;
    row.image = image;
    rows_.insert(rows_.begin() + index, std::move(row));
    if (focused_row_ >= index)
        ++focused_row_;
    return index;
}

void CVtListCtrlEx::ShowInsertedRow(int row, bool scroll_into_view, bool redraw)
{
    if (bulk_)
        return;
    UpdateGeometries();
    const bool scroll = auto_scroll_ && scroll_into_view;
    if (scroll)
        ScrollToRow(row);
    if (scroll || redraw)
        viewport()->update();
    list_accessibility::RowsInserted(*this, row, row);
}

int CVtListCtrlEx::AddRow(int index, const QString& text, const QString& separator, int image, bool scroll_into_view,
                          bool redraw)
{
    return AddRowPieces(index, text, separator, image, scroll_into_view, redraw);
}

int CVtListCtrlEx::AddRowPieces(int index, QStringView text, QStringView separator, int image, bool scroll_into_view,
                                bool redraw)
{
    const QList<QStringView> pieces =
        separator.isEmpty() ? QList<QStringView>{text} : text.split(separator, Qt::KeepEmptyParts);
    if (pieces.isEmpty())
        return -1;
    const int row = InsertRow(index, pieces[0].toString(), image);
    if (row < 0)
        return -1;
    // The row was just made, so its cells are filled directly: the single-cell update refuses large
    // lists and would leave every row past the limit with its first cell only.
    Row& target = rows_[static_cast<std::size_t>(row)];
    const int n = std::min(static_cast<int>(pieces.size()), target.column_count);
    for (int c = 1; c < n; ++c)
        target.texts[c] = pieces[c].toString();
    ShowInsertedRow(row, scroll_into_view, redraw);
    return row;
}

void CVtListCtrlEx::AddRowsFromText(const QString& text, const QString& separator, bool reset)
{
    if (reset)
        DeleteAllRows();
    bulk_ = true;
    int index = 0;
    for (QStringView line : QStringView(text).tokenize(u'\n'))
        AddRowPieces(index++, line, separator, -1, false, false);
    bulk_ = false;
    UpdateGeometries();
    viewport()->update();
    list_accessibility::RowsReset(*this);
}

void CVtListCtrlEx::SetItemText(int row, int column, const QString& text, bool redraw)
{
    if (!ValidRow(row) || GetRowCount() > kMaxEditableRows)
        return;
    Row& target = rows_[static_cast<std::size_t>(row)];
    if (column < 0 || column >= target.texts.size())
        return;
    target.texts[column] = text;
    if (redraw)
        viewport()->update(GetCellRect(row, column));
    list_accessibility::CellsChanged(*this, row, column, column);
}

QString CVtListCtrlEx::GetItemText(int row, int column) const
{
    if (!ValidRow(row))
        return {};
    const Row& target = rows_[static_cast<std::size_t>(row)];
    if (column < 0 || column >= target.texts.size())
        return {};
    return target.texts[column];
}

void CVtListCtrlEx::SetItemData(int row, std::uint32_t data)
{
    if (ValidRow(row))
        rows_[static_cast<std::size_t>(row)].user_data = data;
}

std::uint32_t CVtListCtrlEx::GetItemData(int row) const
{
    return ValidRow(row) ? rows_[static_cast<std::size_t>(row)].user_data : 0;
}

bool CVtListCtrlEx::GetCheck(int row) const
{
    return ValidRow(row) && rows_[static_cast<std::size_t>(row)].checked;
}

void CVtListCtrlEx::SetCellTextColor(int row, int column, ARGB colour)
{
    SetCellColor(row, column, colour, true);
}

void CVtListCtrlEx::SetCellBackColor(int row, int column, ARGB colour)
{
    SetCellColor(row, column, colour, false);
}

void CVtListCtrlEx::SetCellColor(int row, int column, ARGB colour, bool text)
{
    if (row != -1 && !ValidRow(row))
        return;
    const std::size_t first = row == -1 ? 0 : static_cast<std::size_t>(row);
    const std::size_t last = row == -1 ? rows_.size() : first + 1;
    for (std::size_t r = first; r < last; ++r) {
        Row& target = rows_[r];
        if (column != -1 && (column < 0 || column >= target.column_count))
            continue;
        std::vector<ARGB>& colours = text ? target.text_colours : target.back_colours;
        if (colours.empty())
            colours.assign(static_cast<std::size_t>(target.column_count), kNoColor);
        if (column == -1)
            std::fill(colours.begin(), colours.end(), colour);
        else
            colours[static_cast<std::size_t>(column)] = colour;
    }
    viewport()->update();
}

ARGB CVtListCtrlEx::GetCellTextColor(int row, int column) const
{
    return CellColor(row, column, true);
}

ARGB CVtListCtrlEx::GetCellBackColor(int row, int column) const
{
    return CellColor(row, column, false);
}

ARGB CVtListCtrlEx::CellColor(int row, int column, bool text) const
{
    if (!ValidRow(row))
        return kNoColor;
    const Row& target = rows_[static_cast<std::size_t>(row)];
    const std::vector<ARGB>& colours = text ? target.text_colours : target.back_colours;
    return column >= 0 && column < static_cast<int>(colours.size()) ? colours[static_cast<std::size_t>(column)]
                                                                     : kNoColor;
}

// ---------------------------------------------------------------- scrolling

int CVtListCtrlEx::GetFirstVisibleRow() const
{
    return verticalScrollBar()->value();
}

int CVtListCtrlEx::GetRowsPerPage() const
{
    return std::max(1, viewport()->height() / GetRowHeight());
}

void CVtListCtrlEx::ScrollToRow(int row)
{
    const int delta = row - GetFirstVisibleRow() - GetRowsPerPage() + 1;
    verticalScrollBar()->setValue(GetFirstVisibleRow() + delta);
}

void CVtListCtrlEx::EnsureVisible(int row)
{
    if (!ValidRow(row))
        return;
    if (row < GetFirstVisibleRow())
        verticalScrollBar()->setValue(row);
    else if (row >= GetFirstVisibleRow() + GetRowsPerPage())
        ScrollToRow(row);
}

int CVtListCtrlEx::RowTop(int row) const
{
    return (row - GetFirstVisibleRow()) * GetRowHeight();
}

int CVtListCtrlEx::RowAt(int y) const
{
    if (y < 0)
        return -1;
    const int row = GetFirstVisibleRow() + y / GetRowHeight();
    return ValidRow(row) ? row : -1;
}

int CVtListCtrlEx::ContentWidth() const
{
    return header_->length();
}

QRect CVtListCtrlEx::GetCellRect(int row, int column) const
{
    if (!ValidColumn(column))
        return {};
    return {header_->sectionViewportPosition(column), RowTop(row), header_->sectionSize(column), GetRowHeight()};
}

void CVtListCtrlEx::UpdateGeometries()
{
    const QRect area = viewport()->geometry();
    const int header_height = header_->GetHeaderHeight();
    header_->setGeometry(area.left(), area.top() - header_height, area.width(), header_height);
    if (bulk_)
        return;
    const int per_page = GetRowsPerPage();
    QScrollBar* vertical = verticalScrollBar();
    vertical->setPageStep(per_page);
    vertical->setRange(0, std::max(0, GetRowCount() - per_page));
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setPageStep(area.width());
    horizontal->setSingleStep(20);
    horizontal->setRange(0, std::max(0, ContentWidth() - area.width()));
    header_->setOffset(horizontal->value());
}

void CVtListCtrlEx::resizeEvent(QResizeEvent* event)
{
    // Also called when the viewport alone changes size (a scroll bar comes or goes).
    QAbstractScrollArea::resizeEvent(event);
    FillAutoFillColumn();
    UpdateGeometries();
}

void CVtListCtrlEx::scrollContentsBy(int, int)
{
    header_->setOffset(horizontalScrollBar()->value());
    viewport()->update();
}

// ---------------------------------------------------------------- painting

CVtListCtrlEx::CellColors CVtListCtrlEx::ResolveCellColors(int row, int column) const
{
    const bool focus = hasFocus();
    const bool selected = ValidRow(row) && rows_[static_cast<std::size_t>(row)].selected &&
                          (focus || always_show_selection_);
    const ARGB cell_text = GetCellTextColor(row, column);
    const ARGB cell_back = GetCellBackColor(row, column);
    CellColors colours{};
    if (selected) {
        colours.text = theme_.slot(focus ? CSCColorTheme::kSelectedTextFocus : CSCColorTheme::kSelectedTextNoFocus);
        colours.back = theme_.slot(focus ? CSCColorTheme::kSelectedBackFocus : CSCColorTheme::kSelectedBackNoFocus);
    } else {
        colours.text = theme_.slot(CSCColorTheme::kText);
        colours.back = theme_.slot(alternate_rows_ && row % 2 == 1 ? CSCColorTheme::kAlternateBack
                                                                   : CSCColorTheme::kBack);
    }
    // A cell's own colours win in every state, so a marked cell stays marked while selected.
    if (cell_text != kNoColor)
        colours.text = cell_text;
    if (cell_back != kNoColor)
        colours.back = cell_back;
    return colours;
}

void CVtListCtrlEx::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const QRect clip = event->rect();
    painter.fillRect(clip, theme_.color(CSCColorTheme::kBack));
    if (rows_.empty()) {
        PaintEmptyText(painter);
    } else {
        painter.setFont(font());
        const int height = GetRowHeight();
        const int first = GetFirstVisibleRow() + std::max(0, clip.top()) / height;
        const int last = std::min(GetRowCount() - 1, GetFirstVisibleRow() + clip.bottom() / height);
        for (int row = first; row <= last; ++row)
            PaintRow(painter, row, clip);
    }
    if (hasFocus())
        PaintFocusMark(painter);
}

void CVtListCtrlEx::PaintFocusMark(QPainter& painter) const
{
    // Dotted, around the keyboard's cell, or around the whole list while no row has the keyboard.
    const QRect mark = ValidRow(focused_row_) ? GetCellRect(focused_row_, focused_column_) : viewport()->rect();
    painter.setPen(QPen(theme_.color(CSCColorTheme::kText), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(mark.adjusted(1, 1, -2, -2));
}

void CVtListCtrlEx::PaintEmptyText(QPainter& painter) const
{
    if (empty_text_.isEmpty())
        return;
    QFont font;
    font.setFamilies({QStringLiteral("맑은 고딕"), DefaultFontFamily(), QStringLiteral("Arial")});
    font.setPointSize(std::max(1, empty_text_points_));
    painter.setFont(font);
    painter.setPen(ToPlatformColor(empty_text_colour_));
    painter.drawText(viewport()->rect(), Qt::AlignCenter | Qt::TextSingleLine, empty_text_);
}

void CVtListCtrlEx::PaintRow(QPainter& painter, int row, const QRect& clip) const
{
    const Row& data = rows_[static_cast<std::size_t>(row)];
    const int top = RowTop(row);
    const int height = GetRowHeight();
    const QFontMetrics metrics(font());
    for (int visual = 0; visual < header_->count(); ++visual) {
        const int column = header_->logicalIndex(visual);
        if (header_->isSectionHidden(column))
            continue;
        const QRect cell(header_->sectionViewportPosition(column), top, header_->sectionSize(column), height);
        if (!cell.intersects(clip))
            continue;
        const CellColors colours = ResolveCellColors(row, column);
        painter.fillRect(cell, ToPlatformColor(colours.back));
        if (column >= data.texts.size() || data.texts[column].isEmpty())
            continue;
        const QRect text_rect = cell.adjusted(kCellTextInset, 0, -kCellTextInset, 0);
        painter.setPen(ToPlatformColor(colours.text));
        painter.drawText(text_rect,
                         static_cast<int>(ColumnAlignmentFlags(columns_[static_cast<std::size_t>(column)].alignment) |
                                          Qt::TextSingleLine),
                         metrics.elidedText(data.texts[column], Qt::ElideRight, text_rect.width()));
    }
    const QRect row_rect(-horizontalScrollBar()->value(), top, ContentWidth(), height);
    const bool shown_selected = data.selected && (hasFocus() || always_show_selection_);
    if (selection_frame_ && shown_selected) {
        painter.setPen(theme_.color(CSCColorTheme::kSelectionFrame));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(row_rect.adjusted(0, 0, -1, -1));
    }
    painter.setPen(ToPlatformColor(grid_colour_));
    if (grid_top_)
        painter.drawLine(row_rect.topLeft(), row_rect.topRight());
    if (grid_bottom_)
        painter.drawLine(row_rect.bottomLeft(), row_rect.bottomRight());
}

// ---------------------------------------------------------------- selection and input

bool CVtListCtrlEx::IsRowSelected(int row) const
{
    return ValidRow(row) && rows_[static_cast<std::size_t>(row)].selected;
}

int CVtListCtrlEx::GetSelectedRow() const
{
    const auto it = std::find_if(rows_.begin(), rows_.end(), [](const Row& r) { return r.selected; });
    return it == rows_.end() ? -1 : static_cast<int>(it - rows_.begin());
}

void CVtListCtrlEx::OnRowSelected(int row)
{
    // The user looks at a row: stop following new rows. Own-data rows keep their check state here.
    auto_scroll_ = false;
    Row& target = rows_[static_cast<std::size_t>(row)];
    target.checked = !target.checked;
    emit RowSelected(row);
}

void CVtListCtrlEx::SelectRow(int row, bool only)
{
    if (!ValidRow(row))
        return;
    if (only) {
        for (std::size_t r = 0; r < rows_.size(); ++r) {
            if (static_cast<int>(r) != row)
                rows_[r].selected = false;
        }
    }
    Row& target = rows_[static_cast<std::size_t>(row)];
    const bool newly_selected = !target.selected;
    if (newly_selected) {
        target.selected = true;
        OnRowSelected(row);
    }
    const bool moved = focused_row_ != row;
    focused_row_ = row;
    viewport()->update();
    if (newly_selected)
        list_accessibility::SelectionChanged(*this);
    if (moved)
        list_accessibility::CurrentCellMoved(*this);
}

void CVtListCtrlEx::DeselectRow(int row)
{
    if (!IsRowSelected(row))
        return;
    rows_[static_cast<std::size_t>(row)].selected = false;
    viewport()->update();
    list_accessibility::SelectionChanged(*this);
}

void CVtListCtrlEx::SetFocusedColumn(int column)
{
    if (!ValidColumn(column) || column == focused_column_)
        return;
    focused_column_ = column;
    // Scrolled sideways just enough to show the column whole, or its start when it is wider.
    const int left = header_->sectionPosition(column);
    const int right = left + header_->sectionSize(column);
    QScrollBar* horizontal = horizontalScrollBar();
    if (right > horizontal->value() + viewport()->width())
        horizontal->setValue(right - viewport()->width());
    if (left < horizontal->value())
        horizontal->setValue(left);
    viewport()->update();
    list_accessibility::CurrentCellMoved(*this);
}

void CVtListCtrlEx::SelectAll()
{
    for (int row = 0; row < GetRowCount(); ++row) {
        if (!rows_[static_cast<std::size_t>(row)].selected) {
            rows_[static_cast<std::size_t>(row)].selected = true;
            OnRowSelected(row);
        }
    }
    viewport()->update();
    list_accessibility::SelectionChanged(*this);
}

void CVtListCtrlEx::ClearSelection()
{
    for (Row& row : rows_)
        row.selected = false;
    viewport()->update();
    list_accessibility::SelectionChanged(*this);
}

void CVtListCtrlEx::MoveFocus(int row)
{
    if (rows_.empty())
        return;
    row = std::clamp(row, 0, GetRowCount() - 1);
    SelectRow(row, true);
    EnsureVisible(row);
}

int CVtListCtrlEx::FindItem(const QString& text) const
{
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        const QStringList& texts = rows_[r].texts;
        if (!texts.isEmpty() && texts[0].compare(text, Qt::CaseInsensitive) == 0)
            return static_cast<int>(r);
    }
    return -1;
}

bool CVtListCtrlEx::TypeAhead(const QString& text)
{
    if (!type_ahead_timer_.isValid() || type_ahead_timer_.elapsed() > QApplication::keyboardInputInterval())
        type_ahead_.clear();
    type_ahead_timer_.start();
    type_ahead_ += text;
    const int row = FindItem(type_ahead_);
    if (row >= 0)
        MoveFocus(row);
    return row >= 0;
}

void CVtListCtrlEx::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    const int row = RowAt(event->position().toPoint().y());
    if (row < 0) {
        ClearSelection();
        return;
    }
    if (event->modifiers() & Qt::ControlModifier) {
        if (IsRowSelected(row))
            DeselectRow(row);
        else
            SelectRow(row, false);
        return;
    }
    SelectRow(row, true);
}

void CVtListCtrlEx::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int row = RowAt(event->position().toPoint().y());
    if (row >= 0)
        emit RowDoubleClicked(row);
}

void CVtListCtrlEx::keyPressEvent(QKeyEvent* event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const int current = focused_row_;
    switch (event->key()) {
    case Qt::Key_A:
        if (ctrl) {
            SelectAll();
            setFocus();
            EnsureVisible(current >= 0 ? current : 0);
            return;
        }
        break;
    case Qt::Key_C:
        if (ctrl) {
            QApplication::beep();
            return;
        }
        break;
    case Qt::Key_End:
        if (ctrl) {
            // Follow new rows again, from the end of the list.
            auto_scroll_ = true;
            ScrollToRow(GetRowCount() - 1);
            return;
        }
        MoveFocus(GetRowCount() - 1);
        return;
    case Qt::Key_Home: MoveFocus(0); return;
    case Qt::Key_Up: MoveFocus(current - 1); return;
    case Qt::Key_Down: MoveFocus(current + 1); return;
    case Qt::Key_PageUp: MoveFocus(current - GetRowsPerPage()); return;
    case Qt::Key_PageDown: MoveFocus(current + GetRowsPerPage()); return;
    case Qt::Key_Left: SetFocusedColumn(focused_column_ - 1); return;
    case Qt::Key_Right: SetFocusedColumn(focused_column_ + 1); return;
    case Qt::Key_F10:
        if (event->modifiers() & Qt::ShiftModifier) {
            ShowSortMenu();
            return;
        }
        break;
    case Qt::Key_Backslash:
    case Qt::Key_Bar:
        return;  // the key beside Enter is swallowed
    default: break;
    }
    const QString text = event->text();
    if (!ctrl && !text.isEmpty() && text.at(0).isPrint()) {
        TypeAhead(text);
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void CVtListCtrlEx::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
    list_accessibility::CurrentCellMoved(*this);
}

void CVtListCtrlEx::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void CVtListCtrlEx::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() == QContextMenuEvent::Keyboard)
        ShowSortMenu();
    else
        QAbstractScrollArea::contextMenuEvent(event);
}

void CVtListCtrlEx::ShowSortMenu()
{
    if (!sort_enabled_ || !header_->AreItemsClickable() || columns_.empty())
        return;
    QMenu menu(this);
    for (int column = 0; column < GetColumnCount(); ++column) {
        QAction* action = menu.addAction(AccessibleString(kStrSortByColumn).arg(GetColumnLabel(column)));
        connect(action, &QAction::triggered, this, [this, column] { SortByColumn(column, false); });
    }
    menu.setActiveAction(menu.actions().at(focused_column_));
    const QRect cell = GetCellRect(ValidRow(focused_row_) ? focused_row_ : GetFirstVisibleRow(), focused_column_)
                           .intersected(viewport()->rect());
    menu.exec(viewport()->mapToGlobal(cell.isEmpty() ? QPoint(0, 0) : cell.bottomLeft()));
}

// ---------------------------------------------------------------- sorting

void CVtListCtrlEx::OnHeaderClicked(int column, Qt::KeyboardModifiers modifiers)
{
    if (sort_enabled_)
        SortByColumn(column, modifiers & Qt::ControlModifier);
}

void CVtListCtrlEx::SortByColumn(int column, bool by_text_colour)
{
    if (!ValidColumn(column))
        return;
    Column& settings = columns_[static_cast<std::size_t>(column)];
    settings.sort_state = settings.sort_state == kDescending ? kAscending : kDescending;
    SortRows(column, settings.sort_state, by_text_colour);
    header_->SetSortIndicator(column, settings.sort_state == kDescending);
    viewport()->update();
}

void CVtListCtrlEx::SortRows(int column, int state, bool by_text_colour)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // Folded first: the collator of the "C" locale ignores the case setting. Compared text by text
    // rather than through sort keys: Qt's Windows sort keys of equal texts can differ, which would
    // break the stable order of equal rows.
    std::vector<QString> texts;
    texts.reserve(rows_.size());
    for (std::size_t r = 0; r < rows_.size(); ++r)
        texts.push_back(GetItemText(static_cast<int>(r), column).toCaseFolded());
    const auto text_before = [&](std::size_t a, std::size_t b) {
        return collator.compare(texts[a], texts[b]) < 0;
    };
    std::vector<ARGB> colours(rows_.size());
    for (std::size_t r = 0; r < rows_.size(); ++r)
        colours[r] = GetCellTextColor(static_cast<int>(r), column);

    std::vector<std::size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    const bool descending = state == kDescending;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (by_text_colour) {
            if (!descending)
                return colours[a] < colours[b];
            if (colours[a] == colours[b] && colours[a] != kNoColor)
                return text_before(b, a);
            return colours[a] > colours[b];
        }
        return descending ? text_before(b, a) : text_before(a, b);
    });

    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    int focused = -1;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (static_cast<int>(order[i]) == focused_row_)
            focused = static_cast<int>(i);
        sorted.push_back(std::move(rows_[order[i]]));
    }
    rows_ = std::move(sorted);
    focused_row_ = focused;
    list_accessibility::RowsReset(*this);
}
