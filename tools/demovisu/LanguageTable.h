#pragma once

#include <QString>
#include <vector>

// The visualisation's language table "Program\Tools\Languages.mdb": table
// LookupLanguages with the columns Language (number), Name (the help page
// folder of that language) and Kuerzel (a short code), in a Jet 4 file.
struct DemoLanguage
{
    int number;
    QString name;
    QString code;
};

// The rows: 1 Deutsch, 2 English and a few more without help pages.
std::vector<DemoLanguage> demoLanguages();

// Writes the table; false with the reason in `error`.
bool writeDemoLanguageTable(const QString &fileName, QString *error);
