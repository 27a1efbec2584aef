#pragma once

#include "ui/CGdiplusBitmap.h"
#include "ui/CSCColorTheme.h"

#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <vector>

// A label that draws its own background, text, icon or picture (still, or animated by the picture's
// own thread).
class CSCStatic : public QWidget {
    Q_OBJECT

public:
    enum Ellipsis { kNoEllipsis, kEndEllipsis, kPathEllipsis, kWordEllipsis };

    explicit CSCStatic(QWidget* parent = nullptr);
    ~CSCStatic() override;

    // Text with Qt::AlignLeft / AlignHCenter / AlignRight, plus Qt::AlignVCenter for vertical centring.
    bool Create(const QString& text, Qt::Alignment alignment, const QRect& rect, QWidget* parent);

    void SetText(const QString& text, ARGB colour = kArgbNone);
    QString GetText() const { return text_; }
    void SetTextColor(ARGB colour);
    void SetBackColor(ARGB colour);
    void SetParentColor(ARGB colour, bool use = true);
    void SetAlignment(Qt::Alignment alignment);
    void SetEllipsis(Ellipsis ellipsis);
    void SetCustomFormat(bool on);
    void SetFontSize(int points = 13);
    void SetBold(bool bold = true);
    void SetCornerRadius(int radius);
    void SetGradient(bool on, std::vector<ARGB> colours = {}, bool vertical = false);
    void SetSunkenFrame(bool on);
    void SetBorder(bool on, ARGB colour = 0xFF000000, int width = 1);
    void SetIcon(const QPixmap& icon, int width, int height, bool icon_first = false);
    // Pictures shown in the icon's place, in their own size, instead of an icon.
    bool AddListPicture(const QString& type, int id);
    void SetListPictureIndex(int index);
    void SetIndent(int spaces);
    void SetLink(const QString& target, ARGB colour = 0xFF4169E1);
    void SetBlink(bool on);
    void SetFitText(bool on);

    bool SetImage(const QString& type, int id, ARGB back_colour);
    void FitImageToWindow();
    void StopImageAnimation();
    CGdiplusBitmap& Image() { return *image_; }
    const CGdiplusBitmap& Image() const { return *image_; }
    // What the picture shows, for screen readers: while it plays and while it stands still.
    void SetImageNames(const QString& playing, const QString& still);
    QString ImageName() const;
    void RedrawParentArea();

    ARGB TextColor() const { return text_colour_; }
    ARGB BackColor() const { return back_colour_; }
    ARGB ParentColor() const { return parent_colour_; }
    bool UsesParentColor() const { return use_parent_colour_; }
    int CornerRadius() const { return corner_radius_; }
    bool BlinkShown() const { return blink_shown_; }

    // Where the icon and the text block land in the current state (client coordinates).
    QRect IconRect() const;
    QRect TextRect() const;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct Layout {
        QRect icon;
        QRect text;
        int flags = 0;
        bool has_icon = false;
    };
    Layout ComputeLayout() const;
    QString ShownText() const;
    const CGdiplusBitmap* ListPicture() const;
    QColor CurrentTextColor() const;
    void PaintBackground(QPainter& painter);
    void FitFontToWidth();
    void ToggleBlink();

    QString text_;
    ARGB text_colour_;
    ARGB back_colour_;
    ARGB parent_colour_ = kArgbNone;
    bool use_parent_colour_ = false;
    int corner_radius_ = 0;
    bool gradient_ = false;
    std::vector<ARGB> gradient_colours_;
    bool gradient_vertical_ = false;
    bool sunken_frame_ = false;
    bool border_ = false;
    ARGB border_colour_ = 0xFF000000;
    int border_width_ = 1;
    Qt::Alignment alignment_ = Qt::AlignLeft;
    Ellipsis ellipsis_ = kNoEllipsis;
    bool custom_format_ = false;
    QPixmap icon_;
    QSize icon_size_;
    bool icon_first_ = false;
    std::vector<std::unique_ptr<CGdiplusBitmap>> list_pictures_;
    int list_picture_index_ = 0;
    std::unique_ptr<CGdiplusBitmap> image_;
    bool keep_image_size_ = true;
    int indent_ = 0;
    QString link_;
    ARGB link_colour_ = 0xFF4169E1;
    QTimer blink_timer_;
    bool blink_shown_ = true;
    bool fit_text_ = false;
    QString playing_name_;
    QString still_name_;
};
