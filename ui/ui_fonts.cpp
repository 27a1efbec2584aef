#include "ui/ui_fonts.h"

#include <QFontDatabase>
#include <QStringList>

QString DefaultFontFamily()
{
    static const QString family = [] {
        const QStringList families = QFontDatabase::families();
        for (const QString& candidate : {QStringLiteral("맑은 고딕"), QStringLiteral("Malgun Gothic"),
                                         QStringLiteral("NanumGothic"), QStringLiteral("나눔고딕")}) {
            if (families.contains(candidate, Qt::CaseInsensitive))
                return candidate;
        }
        return QStringLiteral("NanumGothic");
    }();
    return family;
}

QFont DefaultFont(int point_size, bool bold)
{
    QFont font(DefaultFontFamily(), point_size);
    font.setBold(bold);
    return font;
}
