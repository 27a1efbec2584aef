#pragma once

#include <QGridLayout>
#include <QLabel>
#include <QString>
#include <QWidget>

// A white page with a title and rows of "caption: control" that grows downward.
class GalleryPageLayout {
public:
    GalleryPageLayout(QWidget* page, const QString& title);

    // Adds a row and returns the widget for chaining.
    template <typename Widget>
    Widget* Add(const QString& caption, Widget* widget)
    {
        AddRow(caption, widget);
        return widget;
    }
    void AddRow(const QString& caption, QWidget* widget);
    void AddStretch();

private:
    QGridLayout* grid_;
    int row_ = 1;
};

// The widget of a page whose controls sit on plain white.
QWidget* NewWhitePage();
