#pragma once

#include <QObject>

class FooterButtonHandlers;
class QWidget;

// Feeds the overlay form's own mouse input to the footer button's handlers:
// press, move (with or without a button held), release and double click of
// any mouse button, positions converted to twips. Input over a child element
// (a Bild or Symbol picture box) belongs to that element and never reaches
// these handlers, also when the element itself ignores it. Touch input is
// left alone, so Qt turns an unhandled tap into a press and a release.
class OverlayMouseEvents : public QObject
{
    Q_OBJECT

public:
    OverlayMouseEvents(QWidget *form, FooterButtonHandlers &button);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_form;
    FooterButtonHandlers &m_button;
};
