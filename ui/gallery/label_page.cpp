// Labels: text, colours, alignment, icons, rounded corners, borders and a hosted animated picture.
#include "ui/CSCStatic.h"
#include "ui/gallery/page_layout.h"

#include <QPainter>

namespace {

CSCStatic* Label(const QString& text, QSize size = QSize(260, 30))
{
    auto* label = new CSCStatic;
    label->setFixedSize(size);
    label->SetText(text);
    label->SetBackColor(0xFFF2F4F8);
    return label;
}

// A round information icon, drawn here so the page needs no image file.
QPixmap InfoIcon(int size, QColor colour)
{
    QPixmap icon(size, size);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colour);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRectF(0.5, 0.5, size - 1, size - 1));
    painter.setPen(QPen(Qt::white, size / 10.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(size / 2.0, size * 0.45), QPointF(size / 2.0, size * 0.75));
    painter.drawPoint(QPointF(size / 2.0, size * 0.28));
    return icon;
}

}  // namespace

QWidget* MakeLabelPage()
{
    QWidget* page = NewWhitePage();
    GalleryPageLayout layout(page, QStringLiteral("CSCStatic"));

    CSCStatic* caption = layout.Add(QStringLiteral("step list caption"), Label(QStringLiteral("진단 리스트")));
    caption->SetBackColor(0xFFFFFFFF);
    caption->SetFontSize();
    caption->SetBold();

    CSCStatic* centred = layout.Add(QStringLiteral("centred, vertical centre"), Label(QStringLiteral("가운데 정렬")));
    centred->SetAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    CSCStatic* right = layout.Add(QStringLiteral("right, coloured text"), Label(QStringLiteral("오른쪽 정렬")));
    right->SetAlignment(Qt::AlignRight | Qt::AlignVCenter);
    right->SetTextColor(0xFF4169E1);

    CSCStatic* rounded = layout.Add(QStringLiteral("radius 10, border"), Label(QStringLiteral("둥근 모서리와 테두리")));
    rounded->SetAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    rounded->SetParentColor(0xFFFFFFFF, false);
    rounded->SetCornerRadius(10);
    rounded->SetBackColor(0xFF6184B4);
    rounded->SetTextColor(0xFFFFFFFF);
    rounded->SetBorder(true, 0xFF3B455B, 1);

    CSCStatic* gradient = layout.Add(QStringLiteral("gradient, sunken frame"), Label(QStringLiteral("그라데이션")));
    gradient->SetAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    gradient->SetGradient(true, {0xFFE6ECFB, 0xFFA9BDF5});
    gradient->SetSunkenFrame(true);

    CSCStatic* message = layout.Add(QStringLiteral("icon first (message box)"),
                                    Label(QStringLiteral("로그 수집이 완료되었습니다.\n파일을 확인하세요."), QSize(320, 64)));
    message->SetBackColor(0xFFFFFFFF);
    message->SetBorder(true, 0xFFD3D3D3);
    message->SetAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    message->SetIcon(InfoIcon(32, QColor(0x41, 0x69, 0xE1)), 32, 32, true);

    CSCStatic* icon_left = layout.Add(QStringLiteral("icon, left"), Label(QStringLiteral("아이콘과 텍스트")));
    icon_left->SetAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    icon_left->SetIcon(InfoIcon(18, QColor(0x20, 0xB2, 0xAE)), 18, 18);

    CSCStatic* disabled = layout.Add(QStringLiteral("disabled / link"), Label(QStringLiteral("사용 안 함")));
    disabled->setEnabled(false);
    CSCStatic* link = layout.Add(QString(), Label(QStringLiteral("https://example.invalid/help")));
    link->SetLink(QStringLiteral("https://example.invalid/help"));

    auto* picture = new CSCStatic;
    picture->setFixedSize(192, 113);  // the main window's picture label, whose proportions the picture has
    layout.AddRow(QStringLiteral("picture 167, fitted"), picture);
    picture->SetImage(QStringLiteral("GIF"), 167, 0xFFFFFFFF);
    picture->FitImageToWindow();

    layout.AddStretch();
    page->resize(640, 640);
    return page;
}
