// Buttons in each state, with the looks the main window and the message box give them.
#include "ui/CGdiButton.h"
#include "ui/gallery/page_layout.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QMouseEvent>

namespace {

enum class Shown { Normal, Hover, Pressed, Disabled };

// Puts the button into a state as the pointer would.
void Force(CGdiButton* button, Shown state)
{
    switch (state) {
    case Shown::Hover: {
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(button, &move);
        break;
    }
    case Shown::Pressed:
        button->setDown(true);
        break;
    case Shown::Disabled:
        button->setEnabled(false);
        break;
    case Shown::Normal:
        break;
    }
}

// One row: the same button in its four states.
QWidget* StateRow(const std::function<void(CGdiButton*)>& style, QSize size = QSize(100, 32))
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    const std::pair<Shown, const char*> states[] = {
        {Shown::Normal, "진단 시작"}, {Shown::Hover, "마우스 오버"}, {Shown::Pressed, "누름"}, {Shown::Disabled, "사용 안 함"}};
    for (const auto& [state, text] : states) {
        auto* button = new CGdiButton(QString::fromUtf8(text));
        button->setFixedSize(size);
        button->SetHoverTracking(true);
        style(button);
        layout->addWidget(button);
        Force(button, state);
    }
    return row;
}

// A row of plain widgets side by side.
QWidget* Row(std::initializer_list<QWidget*> widgets)
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    for (QWidget* widget : widgets)
        layout->addWidget(widget);
    return row;
}

CGdiButton* Glyph(int command, ARGB back)
{
    auto* button = new CGdiButton;
    button->setFixedSize(40, 30);
    button->SetSystemGlyph(command);
    button->SetBackColor(back);
    button->SetTextColor(0xFFFFFFFF);
    button->Set3dEdge(false);
    return button;
}

CGdiButton* Choice(CGdiButton::Kind kind, const char* text, int state)
{
    auto* button = new CGdiButton(QString::fromUtf8(text));
    button->SetKind(kind);
    button->setFixedSize(120, 24);
    button->SetBackColor(0xFFFFFFFF);
    button->SetChecked(state);
    return button;
}

}  // namespace

QWidget* MakeButtonPage()
{
    QWidget* page = NewWhitePage();
    GalleryPageLayout layout(page, QStringLiteral("CGdiButton"));
    layout.AddRow(QStringLiteral("system colours"), StateRow([](CGdiButton*) {}));
    layout.AddRow(QStringLiteral("SetBackColor(0xFF4169E1)"), StateRow([](CGdiButton* b) {
                      b->SetTextColor(0xFFFFFFFF);
                      b->SetBackColor(0xFF4169E1);
                      b->Set3dEdge(false);
                  }));
    layout.AddRow(QStringLiteral("product colours, radius 12"), StateRow([](CGdiButton* b) {
                      b->SetTextColor(0xFFFFFFFF);
                      b->SetBackColor(0xFF6184B4);
                      b->SetCornerRadius(12);
                      b->SetTransparent(0xFFFFFFFF);
                  }, QSize(120, 36)));
    layout.AddRow(QStringLiteral("message box, radius 8"), StateRow([](CGdiButton* b) {
                      b->SetBackColor(0xFFF4F4F4);
                      b->SetTextColor(0xFF202020);
                      b->SetCornerRadius(8);
                      b->SetBorder(true, 0xFFD3D3D3);
                      b->SetHoverBorder(true, 0xFF6184B4, 1);
                      b->SetTransparent(0x00FFFFFF);
                  }, QSize(84, 28)));
    layout.AddRow(QStringLiteral("border 2, focus frame"), StateRow([](CGdiButton* b) {
                      b->SetBackColor(0xFFFFFFFF);
                      b->SetCornerRadius(6);
                      b->SetTransparent(0xFFFFFFFF);
                      b->SetBorder(true, 0xFF20B2AE, 2);
                  }));
    layout.AddRow(QStringLiteral("caption glyphs"),
                  Row({Glyph(CGdiButton::kGlyphMinimize, 0xFF6184B4), Glyph(CGdiButton::kGlyphMaximize, 0xFF6184B4),
                       Glyph(CGdiButton::kGlyphClose, 0xFF6184B4), Glyph(CGdiButton::kGlyphClose, 0xFFB22222)}));
    layout.AddRow(QStringLiteral("check box, radio"),
                  Row({Choice(CGdiButton::CheckBox, "로그 포함", 1), Choice(CGdiButton::CheckBox, "일부 선택", 2),
                       Choice(CGdiButton::CheckBox, "선택 안 함", 0), Choice(CGdiButton::RadioButton, "라디오", 1)}));
    layout.AddStretch();
    page->resize(640, 420);
    return page;
}
