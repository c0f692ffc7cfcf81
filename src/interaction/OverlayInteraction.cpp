#include "interaction/OverlayInteraction.h"

#include "form/MainForm.h"

OverlayInteraction::OverlayInteraction(MainForm &Main)
    : m_footer(Main)
    , m_symbolClick(Main.context(), m_help)
{
    // Main raises each event inside the run-time error guard and reports
    // presses, moves (with or without a button), releases and double clicks
    // of any button, in twips; touch reaches it as Qt's mouse events. Direct
    // connections run each handler at once, inside that guard.
    QObject::connect(
        &Main, &MainForm::mouseDown, &Main,
        [this](qint16 Button, qint16 Shift, float X, float Y) {
            m_footer.Form_MouseDown(Button, Shift, X, Y);
        },
        Qt::DirectConnection);
    QObject::connect(
        &Main, &MainForm::mouseMove, &Main,
        [this](qint16 Button, qint16 Shift, float X, float Y) {
            m_footer.Form_MouseMove(Button, Shift, X, Y);
        },
        Qt::DirectConnection);
    QObject::connect(
        &Main, &MainForm::mouseUp, &Main,
        [this](qint16 Button, qint16 Shift, float X, float Y) {
            m_footer.Form_MouseUp(Button, Shift, X, Y);
        },
        Qt::DirectConnection);
    QObject::connect(
        &Main, &MainForm::dblClick, &Main, [this] { m_footer.Form_DblClick(); },
        Qt::DirectConnection);
    QObject::connect(
        &Main, &MainForm::symbolClick, &Main,
        [this](qint16 Index) { m_symbolClick.Symbol_Click(Index); }, Qt::DirectConnection);
}
