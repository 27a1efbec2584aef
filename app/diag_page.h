#pragma once

#include <QString>
#include <QWidget>
#include <initializer_list>
#include <utility>

#include "ui/CVtListCtrlEx.h"

// A result page: a borderless child of the tab control holding one read-only list that fills it.
// The list's font and column widths come from the user's settings; they are read, never written.
// A list's columns as CDiagPage takes them, "label,width;…", from each column's text id and width.
QString column_spec(std::initializer_list<std::pair<int, int>> columns);

class CDiagPage : public QWidget {
    Q_OBJECT

public:
    CDiagPage(QWidget* parent, const QString& columns, const QString& section);

    CVtListCtrlEx& list() { return list_; }
    const CVtListCtrlEx& list() const { return list_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Enter and Escape stay with the page: they neither close nor hide it, nor reach the window.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ApplySettings(const QString& section);

    CVtListCtrlEx list_;
};
