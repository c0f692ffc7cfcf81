#include "interaction/OverlayInteraction.h"

#include "form/MainForm.h"
#include "overlay/FooterButton.h"

OverlayInteraction::OverlayInteraction(MainForm &Main)
    : m_painter(Main)
    , m_footer(Main.context(), m_painter)
    , m_symbolClick(Main.context(), m_help)
{
    // Main runs each handler inside the run-time error guard and reports
    // presses, moves (with or without a button), releases and double clicks
    // of any button, in twips; touch reaches it as Qt's mouse events.
    Main.mouseDownHandler = [this](qint16 Button, qint16 Shift, float X, float Y) {
        m_footer.Form_MouseDown(Button, Shift, X, Y);
    };
    Main.mouseMoveHandler = [this](qint16 Button, qint16 Shift, float X, float Y) {
        m_footer.Form_MouseMove(Button, Shift, X, Y);
    };
    Main.mouseUpHandler = [this](qint16 Button, qint16 Shift, float X, float Y) {
        m_footer.Form_MouseUp(Button, Shift, X, Y);
    };
    Main.dblClickHandler = [this] { m_footer.Form_DblClick(); };
    Main.symbolClickHandler = [this](qint16 Index) { m_symbolClick.Symbol_Click(Index); };
}

void OverlayInteraction::MainButtonPainter::DrawHelpButtonUp(qint16 button)
{
    ::DrawHelpButtonUp(m_main, button);
}

void OverlayInteraction::MainButtonPainter::DrawHelpButtonDown(Surface, qint16 button)
{
    ::DrawHelpButtonDown(m_main, m_main, button);
}
