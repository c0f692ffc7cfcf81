#pragma once

#include <QString>

class TavlinModule;
struct ScreenContext;
struct HelpEntry;

// ReadDescription: reads TempPfad & "\Tavlin.txt" into DispHInt, VisuPfad,
// LanguageNumber and the entry table; false, with nothing read, when the file
// does not exist. Never shows a message.
bool ReadDescription(ScreenContext &context, TavlinModule &module);

// Splits the markers "X=...;", "Y=...;" and "T=" off an entry's Tag into
// TagX and TagY, leaving the help topic in Tag.
void cutTag(HelpEntry &entry);
