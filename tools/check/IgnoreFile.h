#pragma once

#include <QString>

struct CheckReport;

// The help author's list of findings to leave out, ".tavlin-check-ignore" in
// the help folder: one rule a line, a finding kind ("*" for any) and, after
// blanks, a pattern for the file the finding names as the overlay writes it
// ("*" any characters, "?" one; letters in either case; none: any file).
// Lines starting with "#" and empty lines are comments.
//
// Removes every finding a rule matches and reports each rule that matched
// none as a warning ("ignore-unused"), so that a list outgrows nothing it
// once hid. `windowsPath` names the file in the findings; `text` is its
// content (empty: no file, nothing happens).
void applyIgnoreRules(CheckReport &report, const QString &windowsPath, const QString &text);

// The same with the file in the help folder of an installation folder
// (VisuPfad), when there is one.
void applyIgnoreFile(CheckReport &report, const QString &visuPfad);
