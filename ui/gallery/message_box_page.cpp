// The message box in the product style: the completion notice with its countdown, a question with
// Korean captions and an error with three buttons. The boxes are shown inside the page here.
#include "ui/CSCMessageBox.h"
#include "ui/ui_fonts.h"

#include <QGridLayout>
#include <QWidget>

namespace {

CSCMessageBox* EmbeddedBox(QWidget* page, const QString& title, bool korean)
{
    auto* box = new CSCMessageBox(page);
    box->setWindowFlags(Qt::Widget);
    box->Create(page, title);
    box->setWindowFlags(Qt::Widget);
    box->SetKoreanCaptions(korean);
    box->SetThemeStyle(6);
    return box;
}

}  // namespace

QWidget* MakeMessageBoxPage()
{
    auto* page = new QWidget;
    page->setAutoFillBackground(true);
    page->setPalette(QPalette(QColor(0xF0, 0xF0, 0xF0)));
    page->setFont(DefaultFont(10));  // the main window's font, which its message box takes
    auto* layout = new QGridLayout(page);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(20);

    CSCMessageBox* done = EmbeddedBox(page, QStringLiteral("Check Tool (10)"), true);
    done->SetMessage(QStringLiteral("진단이 완료되었습니다.\n로그 저장 버튼을 눌러 결과를 저장하세요."),
                     CSCMessageBox::kIconInformation);
    CSCMessageBox* quit = EmbeddedBox(page, QStringLiteral("Check Tool"), true);
    quit->SetMessage(QStringLiteral("진단이 진행 중입니다. 종료하시겠습니까?"),
                     CSCMessageBox::kOkCancel | CSCMessageBox::kIconQuestion);
    CSCMessageBox* error = EmbeddedBox(page, QStringLiteral("Check Tool"), false);
    error->SetMessage(QStringLiteral("The check list could not be downloaded.\nError 12029: cannot connect."),
                      CSCMessageBox::kAbortRetryIgnore | CSCMessageBox::kIconError);
    CSCMessageBox* plain = EmbeddedBox(page, QStringLiteral("Check Tool"), false);
    plain->SetThemeStyle(8);
    plain->SetMessage(QStringLiteral("Style 8, no icon, Yes and No."), CSCMessageBox::kYesNo);

    layout->addWidget(done, 0, 0, Qt::AlignTop | Qt::AlignLeft);
    layout->addWidget(quit, 0, 1, Qt::AlignTop | Qt::AlignLeft);
    layout->addWidget(error, 1, 0, Qt::AlignTop | Qt::AlignLeft);
    layout->addWidget(plain, 1, 1, Qt::AlignTop | Qt::AlignLeft);
    for (CSCMessageBox* box : {done, quit, error, plain})
        box->setFixedSize(box->size());
    return page;
}
