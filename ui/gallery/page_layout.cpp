#include "ui/gallery/page_layout.h"

#include "ui/ui_fonts.h"

#include <QPalette>

GalleryPageLayout::GalleryPageLayout(QWidget* page, const QString& title) : grid_(new QGridLayout(page))
{
    grid_->setContentsMargins(20, 16, 20, 16);
    grid_->setHorizontalSpacing(16);
    grid_->setVerticalSpacing(10);
    auto* heading = new QLabel(title);
    heading->setFont(DefaultFont(13, true));
    grid_->addWidget(heading, 0, 0, 1, 2);
}

void GalleryPageLayout::AddRow(const QString& caption, QWidget* widget)
{
    auto* label = new QLabel(caption);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0x50, 0x58, 0x66));
    label->setPalette(palette);
    grid_->addWidget(label, row_, 0);
    grid_->addWidget(widget, row_, 1, Qt::AlignLeft | Qt::AlignVCenter);
    ++row_;
}

void GalleryPageLayout::AddStretch()
{
    grid_->setRowStretch(row_, 1);
    grid_->setColumnStretch(1, 1);
}

QWidget* NewWhitePage()
{
    auto* page = new QWidget;
    page->setAutoFillBackground(true);
    QPalette palette = page->palette();
    palette.setColor(QPalette::Window, Qt::white);
    page->setPalette(palette);
    return page;
}
