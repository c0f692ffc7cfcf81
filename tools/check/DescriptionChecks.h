#pragma once

#include <QString>

class TavlinModule;
struct CheckReport;
struct ScreenContext;

// Findings in the description as the overlay read it: a gap in the section
// numbering, more than 1000 entries, keys and section headers that never
// match, repeated keys and sections, containers not found, a display width
// the overlay is not laid out for, text that looks like UTF-8 read as
// Windows-1252, tag markers without their ";", and what the reader said in
// message boxes on the way (numbers beyond 16 bits). Works on the lines the
// INI reader holds (same decoding, same line splitting) and the entry table
// after ResolveContainers.
void checkDescription(
    const ScreenContext &context, TavlinModule &module, const QString &file, CheckReport &report);
