#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// No window of a help page's may stand in the operator's way. The engine
// opens some windows of its own for a page: the colour picker (a modal
// dialog that the page can open on every touch), popups for a select list or
// a date. Watching every window of the program as it is shown, the guard
// closes every dialog and window that is not one of the program's own, and
// keeps popups inside the page's own area, off the help window's red cross
// and drag handle.
class ForeignWindowGuard : public QObject
{
public:
    explicit ForeignWindowGuard(QObject *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void keepInside(QWidget &popup);
    bool m_placing = false;
};
