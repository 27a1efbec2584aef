#include "app/CTarvoCheckToolDlg.h"

#include "app/collection_progress.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QScopedValueRollback>
#include <QScreen>
#include <QShortcut>
#include <QToolTip>

#include "app/CAboutDlg.h"
#include "app/app_icons.h"
#include "app/dialog_units.h"
#include "app/pumping_wait.h"
#include "app/window_archive_upload.h"
#include "app/window_text.h"
#include "engine/run_report_rows.h"
#include "res/window_texts.h"
#include "ui/CSCSystemButtons.h"
#include "ui/accessible_strings.h"
#include "ui/ui_fonts.h"

namespace {

constexpr int kDialogFontPoints = 10;
constexpr int kCaptionHeight = 32;
constexpr int kCaptionButtonHeight = 31;
constexpr int kCaptionIconSize = 20;
constexpr int kTooltipDurationMs = 20000;
constexpr int kTabLookFlags = 31;
constexpr int kStepCaptionPoints = 13;
constexpr ARGB kWhite = 0xFFFFFFFF;
constexpr ARGB kBlack = 0xFF000000;
constexpr ARGB kStartButtonColor = 0xFF4169E1;
constexpr ARGB kFocusFrameColor = 0xFF000000;
constexpr int kButtonCornerRadius = 12;
constexpr int kAnimatedPictureId = 167;
constexpr int kMessageBoxStyle = 6;
// The frame is repainted this long after a move or a deactivation, once the window system has settled.
constexpr int kFrameRepaintDelayMs = 1;

// The template's controls, in dialog units (x, y, width, height).
struct TemplateRect {
    int x, y, width, height;
};
constexpr TemplateRect kDialogSize{0, 0, 463, 296};
constexpr TemplateRect kTabRect{6, 24, 342, 270};
constexpr TemplateRect kStartRect{354, 242, 102, 24};
constexpr TemplateRect kSaveLogRect{354, 270, 102, 24};
constexpr TemplateRect kProgressRect{6, 294, 342, 3};
constexpr TemplateRect kStepCaptionRect{355, 102, 101, 12};
constexpr TemplateRect kStepsRect{355, 118, 101, 116};
constexpr TemplateRect kPictureRect{354, 36, 96, 60};

// Tooltips wrap as rich text; plain text would run past the screen edge.
QString wrapped_tooltip(const QString& text)
{
    return QStringLiteral("<qt>") + text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")) +
           QStringLiteral("</qt>");
}

int total_items(const CheckGroups& groups)
{
    int count = 0;
    for (const CheckGroup& group : groups)
        count += static_cast<int>(group.size());
    return count;
}

}  // namespace

CTarvoCheckToolDlg::CTarvoCheckToolDlg(QWidget* parent)
    : CSCThemeDlg(parent), run_(host_, run_events_), tabs_(this), log_page_(new CDiagLogDlg),
      result_page_(new CDiagResultDlg), error_code_page_(new CDiagErrorCodeDlg), start_button_(this),
      save_log_button_(this), progress_(this), steps_caption_(this), steps_(this), picture_(this)
{
    setFont(DefaultFont(kDialogFontPoints));
}

CTarvoCheckToolDlg::~CTarvoCheckToolDlg() { WaitForWorkers(); }

int CTarvoCheckToolDlg::DoModal()
{
    if (!OnInitDialog())
        return Rejected;
    const int result = exec();
    WaitForWorkers();
    return result;
}

bool CTarvoCheckToolDlg::OnInitDialog()
{
    SetUpFrame();
    SetUpControls();

    host_.set_default_product();
    message_box_.SetTitle(QString::fromStdString(host_.message_title));
    std::string failure;
    if (!host_.load_check_list(failure)) {
        message_box_.ShowMessage(QString::fromStdString(failure), CSCMessageBox::kOkOnly, 0);
        return false;
    }
    ApplyProduct();
    return true;
}

void CTarvoCheckToolDlg::SetUpFrame()
{
    setWindowIcon(app_icon(kAppIconId));
    SetPassThrough(false);
    CSCSystemButtons* buttons = GetSystemButtons();
    buttons->RemoveAllButtons();
    buttons->AddButton(kCommandMinimize);
    buttons->AddButton(kCommandClose);
    buttons->SetButtonHeight(GetCaptionHeight() - 3);

    const QRect size = dialog_units_to_pixels(font(), kDialogSize.x, kDialogSize.y, kDialogSize.width,
                                              kDialogSize.height);
    setFixedSize(size.size());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void CTarvoCheckToolDlg::SetUpControls()
{
    PlaceControls();

    CEnTabCtrl::EnableCustomLook(kTabLookFlags);
    tabs_.SetItemSize(QSize(500, 24));
    tabs_.SetMinTabWidth(100);
    tabs_.SetBkgndColor(QColor(255, 255, 255));
    tabs_.addTab(log_page_, window_text(text::kLogTab));
    tabs_.addTab(result_page_, window_text(text::kResultTab));
    tabs_.addTab(error_code_page_, window_text(text::kErrorCode));
    tabs_.setCurrentIndex(0);
    for (CDiagPage* page : std::initializer_list<CDiagPage*>{log_page_, result_page_, error_code_page_}) {
        const QString label = tabs_.tabText(tabs_.indexOf(page));
        page->setAccessibleName(label);
        page->list().setAccessibleName(label);
    }

    steps_caption_.SetText(window_text(text::kStepListCaption));
    steps_caption_.SetAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    steps_caption_.SetBackColor(kWhite);
    steps_caption_.SetFontSize(kStepCaptionPoints);
    steps_caption_.SetBold(true);
    steps_.setAccessibleName(steps_caption_.GetText());

    picture_.SetImage(QStringLiteral("GIF"), kAnimatedPictureId, kWhite);
    picture_.FitImageToWindow();
    picture_.Image().Stop();
    picture_.SetImageNames(AccessibleString(kStrDiagnosisRunning), AccessibleString(kStrDiagnosisIdle));

    start_button_.setText(window_text(text::kStartButton));
    save_log_button_.setText(window_text(text::kSaveLogButton));
    save_log_button_.setEnabled(false);
    for (CGdiButton* button : {&start_button_, &save_log_button_}) {
        button->SetHoverTracking(true);
        button->SetFocusFrame(true, kFocusFrameColor);
        button->SetTextColor(kArgbNone);
        button->setToolTipDuration(kTooltipDurationMs);
    }
    start_button_.SetBackColor(kStartButtonColor);
    start_button_.setToolTip(wrapped_tooltip(window_text(text::kStartTooltip)));
    start_button_.setAccessibleDescription(window_text(text::kStartTooltip));
    save_log_button_.setToolTip(wrapped_tooltip(window_text(text::kSaveLogTooltip)));
    save_log_button_.setAccessibleDescription(window_text(text::kSaveLogTooltip));
    connect(&start_button_, &CGdiButton::clicked, this, &CTarvoCheckToolDlg::OnStartStop);
    connect(&save_log_button_, &CGdiButton::clicked, this, &CTarvoCheckToolDlg::OnSaveLog);

    steps_.SetHorizontal(false);
    steps_.SetShape(0);
    steps_.SetMargins(0, 2, 0, 2);
    steps_.SetCaptionGap(8);
    steps_.SetBackColor(kWhite);
    steps_.SetCurrentStep(-1);

    progress_.hide();
    progress_.setAccessibleName(AccessibleString(kStrRunProgress));

    save_log_progress_.Create(this, window_text(text::kCollecting), 0, 0, 320, 120);
    // Only the bar takes the colour: the track keeps its button-shadow grey against the white window.
    save_log_progress_.Bar().SetBarColorOnly(QColor(65, 105, 225));
    save_log_progress_.Bar().SetMarquee(false);
    save_log_progress_.Bar().SetRange(0, kSaveLogSteps * kTicksPerStep);
    save_log_progress_.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    save_log_progress_.hide();
    save_log_progress_.setAccessibleName(AccessibleString(kStrLogCollection));
    save_log_progress_.Bar().setAccessibleName(AccessibleString(kStrLogCollectionProgress));

    message_box_.Create(this, window_text(text::kDefaultTitle), 0, true, -1, -1);
    message_box_.SetThemeStyle(kMessageBoxStyle);

    SetCaptionHeight(kCaptionHeight);
    GetSystemButtons()->SetButtonHeight(kCaptionButtonHeight);
    GetSystemButtons()->LayoutButtons();
    SetCaptionIcon(app_icon(kAppIconId).pixmap(kCaptionIconSize, kCaptionIconSize));
    setWindowTitle(window_text(text::kDefaultTitle));
    // The keyboard's way through the window: the actions first, then the results.
    setTabOrder(&start_button_, &save_log_button_);
    setTabOrder(&save_log_button_, &tabs_);
    setTabOrder(&tabs_, &log_page_->list());
    setTabOrder(&log_page_->list(), &result_page_->list());
    setTabOrder(&result_page_->list(), &error_code_page_->list());
    // The system menu's keyboard access: it opens below the caption icon, where users look for it.
    auto* system_menu_key = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this);
    connect(system_menu_key, &QShortcut::activated, this,
            [this] { ShowSystemMenu(mapToGlobal(QPoint(InsideBorder().left(), GetCaptionHeight()))); });
    update();
}

void CTarvoCheckToolDlg::PlaceControls()
{
    const QFont dialog_font = font();
    const auto place = [&](QWidget& control, const TemplateRect& r) {
        control.setGeometry(dialog_units_to_pixels(dialog_font, r.x, r.y, r.width, r.height));
    };
    place(tabs_, kTabRect);
    place(start_button_, kStartRect);
    place(save_log_button_, kSaveLogRect);
    place(progress_, kProgressRect);
    // The template's bar reaches into the bottom border; it keeps its place but stays inside the frame.
    progress_.setGeometry(progress_.geometry().intersected(InsideBorder()));
    place(steps_caption_, kStepCaptionRect);
    place(steps_, kStepsRect);
    place(picture_, kPictureRect);
}

void CTarvoCheckToolDlg::ApplyProduct()
{
    const ProductFamily& family = host_.profile.family;
    SetThemeStyle(family.style);
    setWindowIcon(app_icon(family.icon_id));
    SetCaptionIcon(app_icon(family.icon_id).pixmap(kCaptionIconSize, kCaptionIconSize));
    setWindowTitle(QString::fromStdString(host_.caption()));

    const CSCColorTheme& theme = GetColorTheme();
    const ARGB product_color = theme.slot(CSCColorTheme::kCaptionBack);
    progress_.SetBarColor(ToPlatformColor(product_color));
    for (CGdiButton* button : {&start_button_, &save_log_button_}) {
        button->SetTextColor(theme.slot(CSCColorTheme::kCaptionText));
        button->SetBackColor(product_color);
        button->SetCornerRadius(kButtonCornerRadius);
        button->SetTransparent(theme.slot(CSCColorTheme::kBack));
    }

    const CheckGroups& groups = host_.check_groups;
    steps_.SetCurrentStep(-1);
    steps_.SetStepCount(static_cast<int>(groups.size()));
    steps_.SetStepFillColor(-1, product_color, kKeepColor);
    steps_.SetStepTextColor(product_color, kKeepColor);
    for (size_t g = 0; g < groups.size(); ++g)
        steps_.SetStepText(static_cast<int>(g), QString::fromStdString(idle_step_caption(groups[g])), kKeepColor);

    save_log_progress_.Label().SetTextColor(kBlack);
    save_log_progress_.SetColor(kWhite);
    progress_.SetRange(0, total_items(groups));
    message_box_.SetThemeStyle(family.style);
}

void CTarvoCheckToolDlg::OnStartStop()
{
    if (run_.running())
        StopRun();
    else if (run_.start())  // refused while a worker is still starting or ending
        save_log_button_.setEnabled(false);  // the collection reads the last run, which the new one replaces
}

void CTarvoCheckToolDlg::StopRun()
{
    picture_.Image().Stop();
    run_.request_stop();
    start_button_.setEnabled(false);
    wait_pumping_until([this] { return run_.finished(); });
    run_.wait();
    run_events_.flush();
}

void CTarvoCheckToolDlg::OnSaveLog()
{
    // The button is enabled only between runs; a collection already under way refuses a second one.
    if (save_log_worker_.running())
        return;
    SaveLogInputs inputs;
    inputs.profile = host_.profile;
    // The run's own record, in run order, whatever order the user has sorted the list into.
    inputs.rows = run_report_rows(run_.rows());
    inputs.describe_run(run_);
    inputs.collection_folder = collection_folder_;
    if (archive_upload_.wanted()) {
        inputs.arguments_shown = upload_arguments_shown(archive_upload_);
        // As from the command line, the checksum goes with an archive that is sent on; its pass over
        // the archive also takes the MD5 the upload is checked against.
        inputs.bundle.checksum = true;
        inputs.after_archive = [this, upload = archive_upload_](const std::string& archive, const std::string& md5,
                                                                std::stop_token stop) {
            upload_in_window(*this, save_log_observer_, archive, md5, upload, std::move(stop));
        };
    }

    save_log_progress_.Bar().SetPos(0);
    save_log_progress_.move(frameGeometry().center() - save_log_progress_.rect().center());
    save_log_progress_.show();
    save_log_progress_.raise();
    if (!save_log_worker_.start(std::move(inputs), save_log_observer_))
        save_log_progress_.hide();
}

void CTarvoCheckToolDlg::reject()
{
    // Events keep being dispatched while this waits for the run or the answer; a second close
    // request meanwhile would ask the same question twice.
    if (close_requested_)
        return;
    const QScopedValueRollback<bool> in_progress(close_requested_, true);
    // A worker that is only stopping may still be inside a relay exchange: wait for its end, not
    // for the run to look stopped, before the channel is closed under it.
    if (!run_.finished()) {
        progress_.SetMarquee(true);
        StopRun();
        progress_.SetMarquee(false);
        picture_.StopImageAnimation();
        start_button_.setText(window_text(text::kStartButton));
        start_button_.setEnabled(true);
    }
    // Only a plain OK closes: a box already busy with another message gives no answer.
    if (message_box_.ShowMessage(window_text(text::kCloseQuestion), CSCMessageBox::kOkCancel, 0) !=
        CSCMessageBox::kOk)
        return;
    // A collection under way stops at once, leaving nothing half made.
    save_log_worker_.request_stop();
    host_.close_channel();
    CSCThemeDlg::reject();
}

void CTarvoCheckToolDlg::WaitForWorkers()
{
    run_.request_stop();
    save_log_worker_.request_stop();
    wait_pumping_until([this] { return run_.finished() && !save_log_worker_.running(); });
    run_.wait();
    run_events_.flush();
}

void CTarvoCheckToolDlg::OnAbout()
{
    CAboutDlg about(this);
    about.exec();
}

void CTarvoCheckToolDlg::BringToFront()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

// A disabled button gets no tooltip request of its own, yet the save-log button's tip explains why
// it waits for a run; the window shows the tips of its disabled buttons itself.
bool CTarvoCheckToolDlg::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        QWidget* child = childAt(help->pos());
        if (child != nullptr && !child->isEnabled() && !child->toolTip().isEmpty()) {
            QToolTip::showText(help->globalPos(), child->toolTip(), child, {}, child->toolTipDuration());
            return true;
        }
    }
    return CSCThemeDlg::event(event);
}

void CTarvoCheckToolDlg::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        OnStartStop();
        break;
    case Qt::Key_Escape:
        reject();
        break;
    default:
        CSCThemeDlg::keyPressEvent(event);
    }
}

// The window has no system menu of the window system's; the caption's context menu and Alt+Space
// stand in for it.
void CTarvoCheckToolDlg::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->pos().y() >= GetCaptionHeight()) {
        CSCThemeDlg::contextMenuEvent(event);
        return;
    }
    ShowSystemMenu(event->globalPos());
}

void CTarvoCheckToolDlg::ShowSystemMenu(const QPoint& global_pos)
{
    const QString about_text = window_text(text::kAboutMenu);
    if (about_text.isEmpty())
        return;
    // The caption buttons' commands too, so that the keyboard reaches them.
    QMenu menu(this);
    menu.addAction(AccessibleString(kStrMenuMinimize), this, &QWidget::showMinimized);
    menu.addAction(AccessibleString(kStrMenuClose), this, &CTarvoCheckToolDlg::reject);
    menu.addSeparator();
    menu.addAction(about_text, this, &CTarvoCheckToolDlg::OnAbout);
    menu.exec(global_pos);
}

void CTarvoCheckToolDlg::moveEvent(QMoveEvent* event)
{
    CSCThemeDlg::moveEvent(event);
    frame_repaint_timer_.start(kFrameRepaintDelayMs, this);
}

void CTarvoCheckToolDlg::changeEvent(QEvent* event)
{
    CSCThemeDlg::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    if (isActiveWindow())
        frame_repaint_timer_.stop();
    else
        frame_repaint_timer_.start(kFrameRepaintDelayMs, this);
}

void CTarvoCheckToolDlg::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != frame_repaint_timer_.timerId()) {
        CSCThemeDlg::timerEvent(event);
        return;
    }
    frame_repaint_timer_.stop();
    update();
    GetSystemButtons()->update();
}
