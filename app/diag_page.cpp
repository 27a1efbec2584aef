#include "app/diag_page.h"

#include <QKeyEvent>
#include <QSettings>

#include "app/window_text.h"
#include "ui/ui_fonts.h"

namespace {

constexpr int kListInset = 2;
constexpr int kHeaderHeight = 26;
constexpr int kRowHeight = 26;
constexpr int kDefaultFontSize = 8;
constexpr ARGB kCellTextColor = 0xFF404040;
const QString kDefaultFontName = QStringLiteral("맑은 고딕");

}  // namespace

QString column_spec(std::initializer_list<std::pair<int, int>> columns)
{
    QStringList parts;
    for (const auto& [text_id, width] : columns)
        parts << window_text(text_id) + QLatin1Char(',') + QString::number(width);
    return parts.join(QLatin1Char(';'));
}

CDiagPage::CDiagPage(QWidget* parent, const QString& columns, const QString& section)
    : QWidget(parent), list_(this)
{
    list_.SetColumns(columns);
    ApplySettings(section);
    list_.SetHeaderHeight(kHeaderHeight);
    list_.SetRowHeight(kRowHeight);
    list_.SetColumnEditable(-1, false);
    list_.SetThemeColor(CSCColorTheme::kText, kCellTextColor);
    list_.EnableAlternateRows(true);
    list_.SetAlwaysShowSelection(true);
    // The rows reach the page's right edge whatever the widths from the settings add up to.
    list_.SetAutoFillColumn(list_.GetColumnCount() - 1);
}

void CDiagPage::ApplySettings(const QString& section)
{
    QSettings settings(QStringLiteral("Tarvo"), QStringLiteral("TarvoCheckTool"));
    settings.beginGroup(section);
    list_.SetFontSize(settings.value(QStringLiteral("font size"), kDefaultFontSize).toInt());
    QString face = settings.value(QStringLiteral("font name"), kDefaultFontName).toString();
    settings.endGroup();
    // The default face is a Windows font; where it is not installed the UI's Korean font stands in.
    if (face == kDefaultFontName)
        face = DefaultFontFamily();
    // A face the list refuses (too long to name a font) leaves the default face.
    if (!face.isEmpty())
        list_.SetFontFace(face);
    list_.LoadColumnWidths(settings, section);
}

void CDiagPage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    list_.setGeometry(rect().adjusted(kListInset, kListInset, -kListInset, -kListInset));
}

void CDiagPage::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}
