#pragma once

#include "os/Services.h"

#include <QString>

class Help;
struct ScreenContext;

// The click on a help symbol: opens the marked control's help page in the
// operator's language in the help window, sized to 1/1.3 of the described
// screen and centred on it, or tells the operator which page is missing.
class SymbolClick
{
public:
    SymbolClick(const ScreenContext &context, Help &help, const Services &services);

    // The help page path of entry `Index`, built exactly as it is shown.
    QString HelpPagePath(qint16 Index) const;

    // The handler itself; returns once the help window is up (modal) or the
    // message confirmed. Run-time errors propagate to the caller's guard (the
    // overlay runs every Symbol click inside runGuarded).
    void Symbol_Click(qint16 Index);

private:
    const ScreenContext &m_context;
    Help &m_help;
    const Services m_services;
};
