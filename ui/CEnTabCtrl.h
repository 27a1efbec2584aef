#pragma once

#include <QColor>
#include <QTabBar>
#include <QTabWidget>

// The tab strip of CEnTabCtrl: the toolkit places the items, the control paints their faces.
class CEnTabBar : public QTabBar {
    Q_OBJECT

public:
    explicit CEnTabBar(QWidget* parent = nullptr);

    void SetItemSize(const QSize& size);
    void SetMinTabWidth(int width);

    // The item's rectangle as painted: the selected item stands 2 pixels taller than the others.
    QRect ItemRect(int index) const;
    // The row of the strip on which the pages' frame runs: the selected item opens into its page
    // there, the others stop above it.
    int PaneTopRow() const;

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;
    void paintEvent(QPaintEvent* event) override;

private:
    void PaintFocusMark(QPainter& painter, const QRect& text_rect, const QString& shown) const;

    QSize item_size_{0, 0};
    int min_tab_width_ = 0;
};

// A tab control that draws flat tabs in a background colour.
class CEnTabCtrl : public QTabWidget {
    Q_OBJECT

public:
    // Look-flag bits (8 has no effect).
    static constexpr int kLookColourUnselected = 1;
    static constexpr int kLookUseBackground = 2;
    static constexpr int kLookBrightSelected = 4;
    static constexpr int kLookShadeUnselected = 16;

    explicit CEnTabCtrl(QWidget* parent = nullptr);

    // One look shared by every tab control of the process; non-zero makes them all self-drawn.
    static void EnableCustomLook(int look_flags);
    static int LookFlags();

    // The background as a platform colour; an invalid colour means the system's button face.
    void SetBkgndColor(const QColor& colour);
    QColor BkgndColor() const { return background_; }
    void SetItemSize(const QSize& size);
    void SetMinTabWidth(int width);
    QRect GetFirstItemRect() const;

    // The colour rules, exposed for painting and for anyone matching the tabs' look.
    QColor BaseColor() const;
    QColor TabColor(bool selected) const;
    QColor TabTextColor(bool selected) const;
    // The lines around the tabs and their pages.
    QColor FrameColor() const;

    CEnTabBar* Bar() const { return bar_; }
    // The frame around the pages; its top line runs through the strip's last rows.
    QRect PaneRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CEnTabBar* bar_;
    QColor background_;
};
