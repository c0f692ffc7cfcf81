#pragma once

#include <QLoggingCategory>

// What the program says about itself, by subject, so that an integrator can
// turn each up or down (QT_LOGGING_RULES="tavlin.help.debug=true").
Q_DECLARE_LOGGING_CATEGORY(lcStartup) // "tavlin.startup": start, end, messages shown
Q_DECLARE_LOGGING_CATEGORY(lcHelp) // "tavlin.help": help pages and the browser engine
Q_DECLARE_LOGGING_CATEGORY(lcLock) // "tavlin.lock": what the help window refused
