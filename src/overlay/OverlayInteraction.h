#pragma once

#include "helpwindow/HelpForm.h"
#include "overlay/FooterButtonHandlers.h"
#include "overlay/SymbolClick.h"

class MainForm;

// Hooks the overlay form's interaction into form Main: its own mouse events
// drive the footer help button, a click on a help symbol opens the help
// window. Mouse input over a Bild or Symbol element stays with that element
// and never reaches the form's handlers. Create it before loadMain(Main), so the
// footer button works during the fade-in; it lives as long as the form.
class OverlayInteraction
{
public:
    // The help window's views come from `browser`.
    OverlayInteraction(MainForm &Main, BrowserFactory browser);
    OverlayInteraction(const OverlayInteraction &) = delete;
    OverlayInteraction &operator=(const OverlayInteraction &) = delete;

    Help &help() { return m_help; }
    FooterButtonHandlers &footerButton() { return m_footer; }
    SymbolClick &symbolClick() { return m_symbolClick; }

private:
    FooterButtonHandlers m_footer;
    Help m_help;
    SymbolClick m_symbolClick;
};
