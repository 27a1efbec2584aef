#include "app/CAboutDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/app_icons.h"
#include "app/window_text.h"
#include "res/window_texts.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(window_text(text::kAboutTitle));
    auto* icon = new QLabel(this);
    icon->setPixmap(app_icon(kAppIconId).pixmap(32, 32));
    auto* text = new QLabel(window_text(text::kAboutText), this);
    auto* ok = new QPushButton(window_text(text::kOk), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addSpacing(12);
    row->addWidget(text, 1);
    auto* column = new QVBoxLayout(this);
    column->addLayout(row);
    column->addWidget(ok, 0, Qt::AlignRight);
    setFixedSize(sizeHint());
}
