#pragma once

#include "ui/CSCColorTheme.h"
#include "ui/caption_drag.h"

#include <QDialog>
#include <QFont>
#include <QPixmap>

#include <optional>

class CSCSystemButtons;
class QScreen;

// A frameless dialog that draws its own frame from a colour theme: a caption band with icon and
// title, a thin border, and caption buttons in the top-right corner. Everything below the caption
// is white and belongs to the derived window.
class CSCThemeDlg : public QDialog {
    Q_OBJECT

public:
    // Which part of the window a point is in, as far as the frame is concerned.
    enum HitArea {
        kHitTransparent,  // the window's own surface does not react
        kHitClient,
        kHitLeft,
        kHitRight,
        kHitTop,
        kHitBottom,
        kHitTopLeft,
        kHitTopRight,
        kHitBottomLeft,
        kHitBottomRight,
    };

    static constexpr int kResizeBorder = 6;    // sizing band of a resizable window
    static constexpr int kTransparentTop = 7;  // without pass-through, the top rows above this ignore the mouse

    explicit CSCThemeDlg(QWidget* parent = nullptr);

    // Colours from the style; styles 6 to 10 also set the product's title, the buttons' caption
    // colours and height, and the title font.
    void SetThemeStyle(int style);
    static QString StyleTitle(int style);
    CSCColorTheme& GetColorTheme() { return theme_; }
    CSCSystemButtons* GetSystemButtons() const { return buttons_; }

    // Resource ":/icon/<id>" at 20 x 20; 0 removes it.
    void SetCaptionIcon(int resource_id);
    void SetCaptionIcon(const QPixmap& icon);
    void SetLogoImage(const QPixmap& image);

    void SetCaptionHeight(int pixels);
    int GetCaptionHeight() const { return caption_height_; }
    void SetBoldTitle(bool on) { bold_title_ = on; }
    void SetPassThrough(bool on) { pass_through_ = on; }
    bool IsPassThrough() const { return pass_through_; }
    void SetDragByCaption(bool on) { drag_by_caption_ = on; }
    void SetShowIcon(bool on);
    void SetDrawBorder(bool on);
    void SetBorderWidth(int pixels);
    // The client area inside the drawn border: children placed within it never cover the frame.
    QRect InsideBorder() const;
    QFont GetTitleFont() const { return title_font_.value_or(font()); }

    // Resizable unless set otherwise: a window of fixed size (minimum = maximum) is not.
    void SetResizable(bool on) { resizable_ = on; }
    bool IsResizable() const;
    int GetBorderThickness() const { return IsResizable() ? kResizeBorder : 1; }

    HitArea HitTest(QPoint client_point) const;
    void ToggleMaximize();
    // The work area of the monitor under the mouse pointer (the window's own screen when unknown).
    QRect MaximizedGeometry() const;

signals:
    // Caption-button commands the frame does not carry out itself (help).
    void SystemCommand(int command);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QScreen* ScreenUnderPointer() const;
    void PlaceButtons();
    void UpdateCursor(HitArea area);

    CSCColorTheme theme_;
    CSCSystemButtons* buttons_;
    int caption_height_ = 32;
    std::optional<bool> resizable_;
    bool pass_through_ = true;
    bool drag_by_caption_ = true;
    bool bold_title_ = false;
    bool show_icon_ = true;
    bool draw_border_ = true;
    int border_width_ = 1;
    QPixmap caption_icon_;
    QPixmap logo_image_;
    std::optional<QFont> title_font_;
    CaptionDrag drag_;
};
