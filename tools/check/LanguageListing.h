#pragma once

#include "check/HelpCheck.h"
#include "jet/LanguageTable.h"

#include <QByteArray>
#include <QString>

// The language table as the overlay reads it, for the help author who names
// the language folders after it.
struct LanguageListing
{
    QString table; // the file, as this machine names it
    LanguageTableResult result;
};

// Reads the table in the installation folder given, or else in the
// description's VisuPfad. Throws CheckFailed when there is no description to
// take it from.
LanguageListing readLanguageListing(const CheckOptions &options);

// One line per row, its number and name; or what is wrong with the table.
QString languageListingText(const LanguageListing &listing);
// {"table": PATH, "status": "ok" ..., "rows": [{"language": N or null, "name": T or null}]}
QByteArray languageListingJson(const LanguageListing &listing);
// 0 when the overlay can use the table, 1 when it shows every page in English.
int languageListingExitStatus(const LanguageListing &listing);

// What is wrong with a table that cannot be used, as a finding says it.
QString languageTableProblem(LanguageTableResult::Status status);
