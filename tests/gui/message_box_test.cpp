#include "tests/gui/gui_support.h"
#include "ui/CGdiButton.h"
#include "ui/CSCMessageBox.h"
#include "ui/CSCStatic.h"

#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureApplication();
        box.Create(nullptr, QStringLiteral("Check Tool"));
        box.SetKoreanCaptions(false);
    }

    // Runs the action once the modal box is waiting, as a user would act on it.
    int ShowAndThen(const QString& text, unsigned flags, int countdown, std::function<void()> action)
    {
        if (action)
            QTimer::singleShot(0, &box, std::move(action));
        return box.ShowMessage(text, flags, countdown);
    }

    QSize TextSize(const QString& text) const { return box.fontMetrics().size(0, text); }

    std::vector<int> VisibleButtonLefts() const
    {
        std::vector<int> lefts;
        for (int code = CSCMessageBox::kOk; code <= CSCMessageBox::kContinue; ++code) {
            const CGdiButton* button = box.GetAnswerButton(code);
            if (button->isVisibleTo(&box))
                lefts.push_back(button->x());
        }
        std::sort(lefts.begin(), lefts.end());
        return lefts;
    }

    CSCMessageBox box;
};

TEST_F(MessageBoxTest, ShortMessagesGetTheMinimumSize)
{
    const QString text = QStringLiteral("Done.");
    box.SetMessage(text, CSCMessageBox::kOkOnly);
    EXPECT_EQ(box.width(), 320);
    EXPECT_EQ(box.height(), std::max(160, TextSize(text).height() + 84));
    EXPECT_EQ(box.GetCloseButton()->pos(), QPoint(320 - 26, 2));
    EXPECT_EQ(box.GetMessageArea()->geometry(), QRect(16, 32, 320 - 32, box.height() - 84));
    EXPECT_EQ(box.GetIconIndex(), -1);
}

TEST_F(MessageBoxTest, WidthFollowsTheTextAndTheIconUpToTheClamp)
{
    const QString lines = QStringLiteral("%1\n%1\n%1\n%1\n%1\n%1\n%1\n%1\n%1").arg(QString(40, QChar(u'W')));
    const QSize size = TextSize(lines);
    ASSERT_GT(size.width() + 128, 320);
    ASSERT_LT(size.width() + 128, 800);
    box.SetMessage(lines, CSCMessageBox::kIconWarning);
    EXPECT_EQ(box.width(), size.width() + 128);
    EXPECT_EQ(box.height(), std::max(160, size.height() + 84));
    EXPECT_EQ(box.GetIconIndex(), 2);
    box.SetMessage(lines, CSCMessageBox::kOkOnly);
    EXPECT_EQ(box.width(), size.width() + 80);

    // Past 800 the width is clamped and the height stays as it was.
    const int height_before = box.height();
    box.SetMessage(QString(300, QChar(u'W')), CSCMessageBox::kOkOnly);
    EXPECT_EQ(box.width(), 800);
    EXPECT_EQ(box.height(), height_before);

    // A line too long even for 800 pixels is broken, not cut at the edge.
    const QString words = QStringLiteral("check ").repeated(200).trimmed();
    box.SetMessage(words, CSCMessageBox::kOkOnly);
    const QStringList wrapped = box.GetMessageArea()->GetText().split(u'\n');
    EXPECT_GT(wrapped.size(), 1);
    for (const QString& line : wrapped)
        EXPECT_LE(box.fontMetrics().horizontalAdvance(line), 800 - 80);
    EXPECT_EQ(wrapped.join(u' '), words);
    EXPECT_GE(box.GetMessageArea()->height(), box.fontMetrics().size(0, wrapped.join(u'\n')).height());

    CSCMessageBox fresh;
    fresh.Create(nullptr, QStringLiteral("t"));
    fresh.SetMessage(QString(300, QChar(u'W')), CSCMessageBox::kOkOnly);
    EXPECT_EQ(fresh.size(), QSize(800, 240));
}

TEST_F(MessageBoxTest, ButtonRowsAreCentredWithEightPixelGaps)
{
    box.SetMessage(QStringLiteral("x"), CSCMessageBox::kOkOnly);
    const int w = box.width();
    const int y = box.height() - 28 - 16;
    EXPECT_EQ(VisibleButtonLefts(), std::vector<int>({(w - 84) / 2}));
    EXPECT_EQ(box.GetAnswerButton(CSCMessageBox::kOk)->geometry(), QRect((w - 84) / 2, y, 84, 28));

    box.SetMessage(QStringLiteral("x"), CSCMessageBox::kOkCancel);
    EXPECT_EQ(VisibleButtonLefts(), std::vector<int>({(w - 176) / 2, (w - 176) / 2 + 92}));
    EXPECT_EQ(box.GetAnswerButton(CSCMessageBox::kCancel)->x(), (w - 176) / 2 + 92);

    box.SetMessage(QStringLiteral("x"), CSCMessageBox::kYesNoCancel);
    const int first = (w - 3 * 84 - 16) / 2;
    EXPECT_EQ(VisibleButtonLefts(), std::vector<int>({first, first + 92, first + 184}));
    EXPECT_EQ(box.GetAnswerButton(CSCMessageBox::kYes)->x(), first);
    EXPECT_EQ(box.GetAnswerButton(CSCMessageBox::kCancel)->x(), first + 184);
}

TEST_F(MessageBoxTest, CaptionsFollowTheInterfaceLanguage)
{
    EXPECT_EQ(box.GetAnswerButton(CSCMessageBox::kOk)->text(), QStringLiteral("Ok"));
    EXPECT_EQ(box.GetAnswerButton(CSCMessageBox::kAbort)->text(), QStringLiteral("Stop"));
    box.SetKoreanCaptions(true);
    EXPECT_EQ(box.GetAnswerButton(CSCMessageBox::kOk)->text(), QStringLiteral("확인"));
    EXPECT_EQ(box.GetAnswerButton(CSCMessageBox::kTryAgain)->text(), QStringLiteral("다시 시도"));
    EXPECT_EQ(CSCMessageBox::ButtonSet(0x0F), std::vector<int>({CSCMessageBox::kOk}));
    EXPECT_EQ(CSCMessageBox::ButtonSet(0x26),
              std::vector<int>({CSCMessageBox::kCancel, CSCMessageBox::kTryAgain, CSCMessageBox::kContinue}));
}

TEST_F(MessageBoxTest, CountdownShowsTheSecondsLeftAndAnswersOk)
{
    box.SetCountdownInterval(1);
    QStringList captions;
    QObject::connect(&box, &CSCMessageBox::CountdownTicked, &box, [&] { captions << box.GetCaptionText(); });
    QString first_caption;
    const int answer = ShowAndThen(QStringLiteral("진단이 완료되었습니다."), CSCMessageBox::kIconInformation, 3,
                                   [&] { first_caption = box.GetCaptionText(); });
    EXPECT_EQ(answer, CSCMessageBox::kOk);
    EXPECT_EQ(first_caption, QStringLiteral("Check Tool (3)"));
    EXPECT_EQ(captions, QStringList({"Check Tool (2)", "Check Tool (1)", "Check Tool"}));
    EXPECT_FALSE(box.isVisible());
}

TEST_F(MessageBoxTest, CancelCloseButtonAndEscapeAnswerTwo)
{
    EXPECT_EQ(ShowAndThen(QStringLiteral("Quit?"), CSCMessageBox::kOkCancel, 0,
                          [&] { QTest::mouseClick(box.GetAnswerButton(CSCMessageBox::kCancel), Qt::LeftButton); }),
              CSCMessageBox::kCancel);
    EXPECT_EQ(ShowAndThen(QStringLiteral("Quit?"), CSCMessageBox::kOkCancel, 0,
                          [&] { QTest::mouseClick(box.GetCloseButton(), Qt::LeftButton); }),
              CSCMessageBox::kCancel);
    EXPECT_EQ(ShowAndThen(QStringLiteral("Quit?"), CSCMessageBox::kOkCancel, 0,
                          [&] { QTest::keyClick(&box, Qt::Key_Escape); }),
              CSCMessageBox::kCancel);
    EXPECT_EQ(ShowAndThen(QStringLiteral("Quit?"), CSCMessageBox::kOkCancel, 0,
                          [&] { QTest::mouseClick(box.GetAnswerButton(CSCMessageBox::kOk), Qt::LeftButton); }),
              CSCMessageBox::kOk);
}

TEST_F(MessageBoxTest, AnEarlyAnswerLeavesNoCountdownForTheNextMessage)
{
    box.SetCountdownInterval(1000000);
    EXPECT_EQ(ShowAndThen(QStringLiteral("first"), CSCMessageBox::kOkOnly, 10,
                          [&] { QTest::keyClick(&box, Qt::Key_Escape); }),
              CSCMessageBox::kCancel);
    QString caption;
    EXPECT_EQ(ShowAndThen(QStringLiteral("second"), CSCMessageBox::kOkOnly, 0,
                          [&] {
                              caption = box.GetCaptionText();
                              box.Answer(CSCMessageBox::kOk);
                          }),
              CSCMessageBox::kOk);
    EXPECT_EQ(caption, QStringLiteral("Check Tool"));
    EXPECT_EQ(box.GetCountdown(), 0);
}

TEST_F(MessageBoxTest, ABoxDestroyedWhileWaitingGivesCancel)
{
    auto* owned = new CSCMessageBox;
    owned->Create(nullptr, QStringLiteral("t"));
    QTimer::singleShot(0, owned, [owned] { owned->deleteLater(); });
    EXPECT_EQ(owned->ShowMessage(QStringLiteral("bye"), CSCMessageBox::kOkOnly), CSCMessageBox::kCancel);
}

TEST_F(MessageBoxTest, CaptionStripTakesTheStyleColours)
{
    box.SetThemeStyle(6);
    box.SetMessage(QStringLiteral("x"), CSCMessageBox::kOkOnly);
    EXPECT_EQ(PixelAt(box, box.width() / 2, 3), qRgb(0x61, 0x84, 0xB4));
    EXPECT_EQ(PixelAt(box, 0, box.height() / 2), qRgb(0x69, 0x69, 0x69));  // frame
    EXPECT_EQ(box.GetCloseButton()->BackColors().front(), 0xFF6184B4u);
}


TEST(MessageBoxFont, TheBoxSpeaksInItsOwnersFontNotTheApplications)
{
    EnsureApplication();
    QWidget owner;
    QFont owner_font = QApplication::font();
    owner_font.setPointSize(QApplication::font().pointSize() + 1);
    owner.setFont(owner_font);
    CSCMessageBox box;
    box.Create(&owner, QStringLiteral("Check Tool"));
    EXPECT_EQ(box.font().pointSize(), owner_font.pointSize());
    EXPECT_EQ(box.GetMessageArea()->font().pointSize(), owner_font.pointSize());
    EXPECT_EQ(box.GetAnswerButton(CSCMessageBox::kOk)->font().pointSize(), owner_font.pointSize());

    // The box is measured in that font: the message's width decides the box's width.
    const QString text = QStringLiteral("시스템 진단툴을 종료합니다. ").repeated(3).trimmed();
    const int text_width = QFontMetrics(owner_font).size(0, text).width();
    ASSERT_NE(text_width, QFontMetrics(QApplication::font()).size(0, text).width());
    ASSERT_GT(text_width + 80, CSCMessageBox::kMinWidth);
    ASSERT_LT(text_width + 80, CSCMessageBox::kMaxWidth);
    box.SetMessage(text, CSCMessageBox::kOkCancel);
    EXPECT_EQ(box.width(), text_width + 80);

    // A font given to the box itself stays.
    CSCMessageBox own;
    QFont small = QApplication::font();
    small.setPointSize(7);
    own.setFont(small);
    own.Create(&owner, QStringLiteral("t"));
    EXPECT_EQ(own.font().pointSize(), 7);
}

}  // namespace
