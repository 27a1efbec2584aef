// What screen readers and UI automation see of the self-drawn controls, through Qt's accessibility
// interfaces as a platform bridge asks for them, and the events each control raises as it changes.
#include "tests/gui/gui_support.h"
#include "ui/accessible_part.h"
#include "ui/CGdiButton.h"
#include "ui/CSCMessageBox.h"
#include "ui/CSCProgressDlg.h"
#include "ui/CSCStatic.h"
#include "ui/CSCStepCtrl.h"
#include "ui/CSCSystemButtons.h"
#include "ui/CSCThemeDlg.h"
#include "ui/CVtListCtrlEx.h"

#include <QAccessible>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Recorded {
    QAccessible::Event type;
    QObject* object;
    int child;
    QString name;  // of the object or part the event is about, when it came
    int first_row = -1;
    int last_row = -1;
    QAccessibleTableModelChangeEvent::ModelChangeType change{};
};

std::vector<Recorded> g_events;

void Record(QAccessibleEvent& event)
{
    Recorded recorded{event.type(), event.object(), event.child(), {}};
    if (QAccessibleInterface* target = event.accessibleInterface())
        recorded.name = target->text(QAccessible::Name);
    if (const auto* change = dynamic_cast<QAccessibleTableModelChangeEvent*>(&event)) {
        recorded.first_row = change->firstRow();
        recorded.last_row = change->lastRow();
        recorded.change = change->modelChangeType();
    }
    g_events.push_back(recorded);
}

// Listens as a screen reader's bridge would.
class AccessibilityTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureApplication();
        g_events.clear();
        WatchAccessibility(Record);
    }
    void TearDown() override { WatchAccessibility(nullptr); }

    static std::vector<Recorded> EventsOf(QObject* object, QAccessible::Event type)
    {
        std::vector<Recorded> found;
        for (const Recorded& event : g_events) {
            if (event.object == object && event.type == type)
                found.push_back(event);
        }
        return found;
    }
};

QString Name(QAccessibleInterface* iface)
{
    return iface != nullptr ? iface->text(QAccessible::Name) : QStringLiteral("<none>");
}

TEST_F(AccessibilityTest, TheListIsATableOfHeadersAndCellsThatTellsEveryChange)
{
    CVtListCtrlEx list;
    list.resize(400, 200);
    list.SetColumns(QStringLiteral("결과,60;구분,80;내용,200"));
    list.setAccessibleName(QStringLiteral("진단 결과"));
    list.SetEmptyText(QStringLiteral("진단 실패 항목이 없습니다."));
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&list);
    ASSERT_NE(table->tableInterface(), nullptr);
    EXPECT_EQ(table->role(), QAccessible::Table);
    EXPECT_EQ(Name(table), QStringLiteral("진단 결과"));
    EXPECT_EQ(table->text(QAccessible::Description), QStringLiteral("진단 실패 항목이 없습니다."));
    EXPECT_EQ(table->childCount(), 3);
    EXPECT_EQ(table->child(2)->role(), QAccessible::ColumnHeader);

    g_events.clear();
    list.AddRow(-1, QStringLiteral("Ok|api|"), QStringLiteral("|"));
    list.AddRow(-1, QStringLiteral("Fail|web|서버에 연결할 수 없습니다."), QStringLiteral("|"));
    list.SetItemText(0, 2, QStringLiteral("성공"));
    const auto changes = EventsOf(&list, QAccessible::TableModelChanged);
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[1].change, QAccessibleTableModelChangeEvent::RowsInserted);
    EXPECT_EQ(changes[1].first_row, 1);
    EXPECT_EQ(changes[1].last_row, 1);
    EXPECT_EQ(changes[2].change, QAccessibleTableModelChangeEvent::DataChanged);

    QAccessibleTableInterface* rows = table->tableInterface();
    EXPECT_EQ(rows->rowCount(), 2);
    EXPECT_EQ(table->childCount(), 9);
    QAccessibleInterface* cell = rows->cellAt(1, 2);
    EXPECT_EQ(Name(cell), QStringLiteral("서버에 연결할 수 없습니다."));
    EXPECT_EQ(cell->role(), QAccessible::Cell);
    EXPECT_EQ(cell->parent(), table);
    EXPECT_EQ(table->indexOfChild(cell), 8);
    EXPECT_EQ(Name(cell->tableCellInterface()->columnHeaderCells().value(0)), QStringLiteral("내용"));
    EXPECT_TRUE(table->text(QAccessible::Description).isEmpty());

    // A header sorts as its click does; the cells then read the rows in their new places.
    list.SortByColumn(0, false);  // descending: Ok, Fail
    EXPECT_EQ(Name(rows->cellAt(0, 0)), QStringLiteral("Ok"));
    QAccessibleActionInterface* header = table->child(0)->actionInterface();
    ASSERT_NE(header, nullptr);
    header->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(Name(rows->cellAt(0, 0)), QStringLiteral("Fail"));
    EXPECT_EQ(EventsOf(&list, QAccessible::TableModelChanged).back().change,
              QAccessibleTableModelChangeEvent::ModelReset);

    list.DeleteAllRows();
    EXPECT_EQ(rows->rowCount(), 0);
    EXPECT_EQ(rows->cellAt(0, 0), nullptr);
    EXPECT_EQ(EventsOf(&list, QAccessible::TableModelChanged).back().change,
              QAccessibleTableModelChangeEvent::ModelReset);
}

TEST_F(AccessibilityTest, ArrowsMoveThroughRowsAndColumnsUnderAVisibleFocusMark)
{
    CVtListCtrlEx list;
    list.resize(400, 200);
    list.SetColumns(QStringLiteral("구분,60;결과,60"));
    list.AddRowsFromText(QStringLiteral("API|Ok\nWEB|Fail"), QStringLiteral("|"), true);
    list.show();
    list.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
    list.setFocus();
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&list);

    g_events.clear();
    QTest::keyClick(&list, Qt::Key_Down);
    QTest::keyClick(&list, Qt::Key_Right);
    QTest::keyClick(&list, Qt::Key_Down);
    QStringList heard;
    for (const Recorded& event : EventsOf(&list, QAccessible::Focus))
        heard << event.name;
    EXPECT_EQ(heard, QStringList({"API", "Ok", "Fail"}));
    QAccessibleInterface* focused = table->focusChild();
    EXPECT_EQ(Name(focused), QStringLiteral("Fail"));
    EXPECT_TRUE(focused->state().focused);
    EXPECT_TRUE(focused->state().selected);

    // A dotted frame just inside the focused cell, gone with the focus.
    const auto marked_pixels = [&] {
        const QImage image = list.viewport()->grab().toImage();
        const QRect cell = list.GetCellRect(1, 1);
        const QRgb ink = list.GetColorTheme().color(CSCColorTheme::kText).rgb();
        int count = 0;
        for (int x = cell.left() + 1; x < cell.right(); ++x)
            count += image.pixel(x, cell.top() + 1) == ink ? 1 : 0;
        return count;
    };
    EXPECT_GT(marked_pixels(), 10);
    list.clearFocus();
    EXPECT_EQ(marked_pixels(), 0);

    // The keyboard's context menu sorts by any column.
    list.setFocus();
    QStringList items;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions())
            items << action->text();
        menu->actions().at(0)->trigger();
        menu->close();
    });
    QTest::keyClick(&list, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(items, QStringList({"'구분' 열로 정렬", "'결과' 열로 정렬"}));
    EXPECT_EQ(list.GetColumnSortState(0), CVtListCtrlEx::kDescending);
    EXPECT_EQ(list.GetItemText(0, 0), QStringLiteral("WEB"));
}

TEST_F(AccessibilityTest, StepsAreListItemsWithTheirCaptionAndStateThroughARun)
{
    CSCStepCtrl steps;
    steps.resize(120, 100);
    steps.SetStepCount(3);
    for (int g = 0; g < 3; ++g)
        steps.SetStepText(g, QStringLiteral("그룹%1 체크").arg(g));
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&steps);
    EXPECT_EQ(list->role(), QAccessible::List);
    ASSERT_EQ(list->childCount(), 3);
    const auto states = [&] {
        QStringList texts;
        for (int g = 0; g < list->childCount(); ++g)
            texts << Name(list->child(g)) + QStringLiteral(": ") + list->child(g)->text(QAccessible::Description);
        return texts;
    };
    EXPECT_EQ(list->child(1)->role(), QAccessible::ListItem);
    EXPECT_EQ(states(), QStringList({"그룹0 체크: 대기", "그룹1 체크: 대기", "그룹2 체크: 대기"}));

    // A run: group 0 passes, group 1 fails, the user stops during group 2.
    g_events.clear();
    steps.SetCurrentStep(0);
    steps.SetStepText(0, QStringLiteral("그룹0 체크 완료"));
    steps.SetCurrentStep(1);
    steps.SetStepOutcome(1, CSCStepCtrl::kStepFailed);
    steps.SetStepText(1, QStringLiteral("그룹1 체크 실패"));
    steps.SetCurrentStep(2);
    EXPECT_EQ(states(), QStringList({"그룹0 체크 완료: 완료", "그룹1 체크 실패: 실패", "그룹2 체크: 진행 중"}));
    steps.SetStepText(2, QStringLiteral("그룹2 체크 중지"));
    steps.SetStepOutcome(2, CSCStepCtrl::kStepStopped);
    steps.SetCurrentStep(3);
    EXPECT_EQ(states(), QStringList({"그룹0 체크 완료: 완료", "그룹1 체크 실패: 실패", "그룹2 체크 중지: 중지"}));

    QStringList told;
    for (const Recorded& event : g_events) {
        if (event.object == &steps)
            told << QStringLiteral("%1 %2").arg(event.type == QAccessible::NameChanged ? "name" : "state").arg(event.child);
    }
    EXPECT_EQ(told, QStringList({"state 0", "name 0", "state 0", "state 1", "state 1", "name 1", "state 2",
                                 "name 2", "state 2"}));

    steps.ResetStepColors();  // a new run
    EXPECT_EQ(list->child(1)->text(QAccessible::Description), QStringLiteral("완료"));
    steps.SetStepCount(1);
    EXPECT_EQ(list->childCount(), 1);
}

TEST_F(AccessibilityTest, LabelsReadTheirTextAndThePictureWhatItShows)
{
    QWidget window;
    window.resize(300, 200);
    CSCStatic caption(&window);
    caption.SetText(QStringLiteral("진단 리스트"));
    QAccessibleInterface* text = QAccessible::queryAccessibleInterface(&caption);
    EXPECT_EQ(text->role(), QAccessible::StaticText);
    EXPECT_EQ(Name(text), QStringLiteral("진단 리스트"));

    CSCStatic picture(&window);
    picture.resize(96, 60);
    ASSERT_TRUE(picture.SetImage(QStringLiteral("GIF"), 167, 0xFFFFFFFF));
    picture.SetImageNames(QStringLiteral("진단 진행 중"), QStringLiteral("진단 대기 중"));
    window.show();
    QAccessibleInterface* animation = QAccessible::queryAccessibleInterface(&picture);
    EXPECT_EQ(animation->role(), QAccessible::Animation);
    EXPECT_EQ(animation->childCount(), 0);  // the surface the frames are drawn on is no part of it
    EXPECT_EQ(Name(animation), QStringLiteral("진단 대기 중"));

    g_events.clear();
    picture.Image().Play();
    EXPECT_EQ(Name(animation), QStringLiteral("진단 진행 중"));
    EXPECT_TRUE(animation->state().animated);
    picture.Image().Stop();
    picture.Image().Stop();
    QStringList told;
    for (const Recorded& event : EventsOf(&picture, QAccessible::NameChanged))
        told << event.name;
    EXPECT_EQ(told, QStringList({"진단 진행 중", "진단 대기 중"}));
    picture.StopImageAnimation();
}

TEST_F(AccessibilityTest, CaptionButtonsAreNamedPushButtonsThatPress)
{
    CSCThemeDlg dialog;
    dialog.setWindowTitle(QStringLiteral("Quenmora"));
    dialog.resize(400, 300);
    CSCSystemButtons* strip = dialog.GetSystemButtons();
    strip->RemoveAllButtons();
    strip->AddButton(kCommandMinimize);
    strip->AddButton(kCommandClose);
    dialog.show();
    QAccessibleInterface* frame = QAccessible::queryAccessibleInterface(&dialog);
    EXPECT_EQ(frame->role(), QAccessible::Dialog);
    EXPECT_EQ(Name(frame), QStringLiteral("Quenmora"));

    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(strip);
    EXPECT_EQ(bar->role(), QAccessible::ToolBar);
    ASSERT_EQ(bar->childCount(), 2);
    EXPECT_EQ(Name(bar->child(0)), QStringLiteral("최소화"));
    EXPECT_EQ(bar->child(1)->role(), QAccessible::PushButton);
    EXPECT_EQ(bar->indexOfChild(bar->child(1)), 1);
    EXPECT_EQ(bar->childAt(bar->child(1)->rect().center().x(), bar->child(1)->rect().center().y()), bar->child(1));
    bar->child(1)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(AccessibilityTest, TheProgressWindowIsADialogWithItsMessageAndANamedBar)
{
    CSCProgressDlg progress;
    progress.Create(nullptr, QStringLiteral("시스템 정보 및 로그를 수집중입니다."), 0, 0, 320, 120);
    progress.setAccessibleName(QStringLiteral("로그 수집"));
    progress.Bar().setAccessibleName(QStringLiteral("로그 수집 진행률"));
    progress.Bar().SetRange(0, 11);
    progress.Bar().SetPos(3);
    QAccessibleInterface* dialog = QAccessible::queryAccessibleInterface(&progress);
    EXPECT_EQ(dialog->role(), QAccessible::Dialog);
    EXPECT_EQ(Name(dialog), QStringLiteral("로그 수집"));
    QAccessibleInterface* message = QAccessible::queryAccessibleInterface(&progress.Label());
    EXPECT_EQ(message->role(), QAccessible::StaticText);
    EXPECT_EQ(Name(message), QStringLiteral("시스템 정보 및 로그를 수집중입니다."));
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(&progress.Bar());
    EXPECT_EQ(Name(bar), QStringLiteral("로그 수집 진행률"));
    ASSERT_NE(bar->valueInterface(), nullptr);
    EXPECT_EQ(bar->valueInterface()->currentValue().toInt(), 3);
    EXPECT_EQ(bar->valueInterface()->maximumValue().toInt(), 11);
}

TEST_F(AccessibilityTest, TheMessageBoxIsADialogNamedByItsTitleThatDoesNotCountAloud)
{
    CSCMessageBox box;
    box.Create(nullptr, QStringLiteral("Check Tool"));
    box.SetKoreanCaptions(true);
    box.SetCountdownInterval(1);
    QAccessibleInterface* dialog = QAccessible::queryAccessibleInterface(&box);
    QString description;
    QStringList parts;
    QTimer::singleShot(0, &box, [&] {
        description = dialog->text(QAccessible::Description);
        for (int i = 0; i < dialog->childCount(); ++i)
            parts << Name(dialog->child(i));
    });
    g_events.clear();
    EXPECT_EQ(box.ShowMessage(QStringLiteral("모든 체크가 완료되었습니다."), CSCMessageBox::kOkCancel, 3),
              CSCMessageBox::kOk);
    EXPECT_EQ(dialog->role(), QAccessible::Dialog);
    EXPECT_EQ(Name(dialog), QStringLiteral("Check Tool"));
    EXPECT_EQ(description, QStringLiteral("모든 체크가 완료되었습니다.\n3초 후 자동으로 닫힙니다."));
    EXPECT_EQ(parts, QStringList({"확인", "취소", "닫기", "모든 체크가 완료되었습니다."}));
    EXPECT_EQ(EventsOf(&box, QAccessible::Alert).size(), 1u);
    EXPECT_TRUE(EventsOf(&box, QAccessible::NameChanged).empty());  // three ticks, nothing said
}

}  // namespace
