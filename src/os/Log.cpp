#include "os/Log.h"

Q_LOGGING_CATEGORY(lcStartup, "tavlin.startup")
Q_LOGGING_CATEGORY(lcHelp, "tavlin.help")
Q_LOGGING_CATEGORY(lcLock, "tavlin.lock")
