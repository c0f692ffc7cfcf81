#include "overlay/OverlayInteraction.h"

#include "overlay/MainForm.h"

OverlayInteraction::OverlayInteraction(MainForm &Main, BrowserFactory browser)
    : m_footer(Main)
    , m_help(Main.services(), std::move(browser))
    , m_symbolClick(Main.context(), m_help, Main.services())
{
    // Main raises each event inside the run-time error guard and reports
    // presses, moves (with or without a button), releases and double clicks
    // of any button, in pixels; touch reaches it as Qt's mouse events. Direct
    // connections run each handler at once, inside that guard.
    QObject::connect(
        &Main, &MainForm::mouseDown, &Main, [this](QPointF at) { m_footer.Form_MouseDown(at); },
        Qt::DirectConnection);
    QObject::connect(
        &Main, &MainForm::mouseMove, &Main, [this](QPointF at) { m_footer.Form_MouseMove(at); },
        Qt::DirectConnection);
    QObject::connect(
        &Main, &MainForm::mouseUp, &Main, [this](QPointF at) { m_footer.Form_MouseUp(at); },
        Qt::DirectConnection);
    QObject::connect(
        &Main, &MainForm::dblClick, &Main, [this] { m_footer.Form_DblClick(); },
        Qt::DirectConnection);
    QObject::connect(
        &Main, &MainForm::symbolClick, &Main,
        [this](qint16 Index) { m_symbolClick.Symbol_Click(Index); }, Qt::DirectConnection);
}
