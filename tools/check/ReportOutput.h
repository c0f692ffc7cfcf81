#pragma once

#include <QByteArray>
#include <QString>

struct CheckReport;

// The readable report: what was checked, the findings grouped by entry (the
// description as a whole, the language table and the footer first), and a
// summary line.
QString reportText(const CheckReport &report);

// The same findings as JSON, for other tools.
QByteArray reportJson(const CheckReport &report);
