#pragma once

#include <QString>
#include <optional>

class LanguageTable;
struct JetValue;
struct ScreenContext;

// ResolveLanguage: sets LanguageName, the folder of the help pages, from the
// row of the language table VisuPfad & "Program\Tools\Languages.mdb" whose
// "Language" equals LanguageNumber. Every row is examined and the last
// matching one wins; "English" when none matches or its name is empty.
//
// The table is only ever a help: when the file is missing, is no Jet
// database or is damaged, lacks table LookupLanguages or one of its two
// columns, or the matching row's "Name" is null, the result is "English" as
// for a number no row carries - silently, never a run-time error.
void ResolveLanguage(ScreenContext &context, LanguageTable &table);

// The same with the language table read from the file itself.
void ResolveLanguage(ScreenContext &context);

// Numeric equality of a "Language" value with the language number. A null
// never matches; a number matches when equal; a text matches when, apart
// from blanks around it, it is a decimal number (sign, digits, a "." part,
// an exponent) of that value - "1", " 1 " and "1.0" match 1, while an empty
// text, "1a" or "one" never match. Other column types never match.
bool languageMatches(const JetValue &value, qint16 number);
// The number a "Language" value matches, if any (see languageMatches).
std::optional<double> languageNumber(const JetValue &value);

// A "Name" value as a String: a null gives an empty text, so that a null name
// falls back to "English" like an empty one.
QString languageNameText(const JetValue &value);
