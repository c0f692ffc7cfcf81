#pragma once

#include <QtGlobal>
#include <optional>

struct CheckReport;
class ScreenMetrics;
struct ScreenContext;

// Findings in what the overlay reads from the installation folder: the
// footer button image, the language table (through the overlay's own
// ResolveLanguage) and, per language, the help page of every entry that shows
// a symbol, with the links, pictures, style sheets, scripts and frames of the
// pages as the help window serves them (HelpFiles).
//
// Languages: the operator's (the description's Language, or `language` when
// given, which then is the only one), every language of the table that has a
// help folder, and every other folder of the help folder that holds pages.
void checkInstallation(const ScreenContext &context, std::optional<qint16> language,
    ScreenMetrics &screen, CheckReport &report);
