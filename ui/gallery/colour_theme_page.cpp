// The colour theme's twenty slots for every style, as swatches.
#include "ui/CSCColorTheme.h"
#include "ui/ui_fonts.h"

#include <QPainter>
#include <QWidget>

namespace {

constexpr int kStyles[] = {0, 3, 4, 5, 6, 7, 8, 9, 10, 11};
constexpr int kShownSlots[] = {0, 4, 5, 6, 9, 10, 11, 12, 13, 14, 15, 16, 17};
constexpr int kCell = 46;
constexpr int kLabelWidth = 70;
constexpr int kHeader = 28;

class ColourThemePage : public QWidget {
public:
    QSize sizeHint() const override
    {
        return {kLabelWidth + kCell * static_cast<int>(std::size(kShownSlots)) + 16,
                kHeader + kCell * static_cast<int>(std::size(kStyles)) + 16};
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.setFont(DefaultFont(9));
        painter.setPen(Qt::black);
        for (std::size_t c = 0; c < std::size(kShownSlots); ++c) {
            const QRect header(kLabelWidth + static_cast<int>(c) * kCell, 8, kCell, kHeader - 8);
            painter.drawText(header, Qt::AlignCenter, QStringLiteral("slot %1").arg(kShownSlots[c]));
        }
        for (std::size_t r = 0; r < std::size(kStyles); ++r) {
            CSCColorTheme theme;
            theme.SetStyle(kStyles[r]);
            const int top = kHeader + static_cast<int>(r) * kCell;
            painter.setPen(Qt::black);
            painter.drawText(QRect(8, top, kLabelWidth - 8, kCell), Qt::AlignVCenter | Qt::AlignLeft,
                             QStringLiteral("style %1").arg(kStyles[r]));
            for (std::size_t c = 0; c < std::size(kShownSlots); ++c) {
                const QRect swatch(kLabelWidth + static_cast<int>(c) * kCell + 3, top + 3, kCell - 6, kCell - 6);
                painter.fillRect(swatch, theme.color(kShownSlots[c]));
                painter.setPen(QColor(0xA9, 0xA9, 0xA9));
                painter.drawRect(swatch.adjusted(0, 0, -1, -1));
            }
        }
    }
};

}  // namespace

QWidget* MakeColourThemePage()
{
    return new ColourThemePage;
}
