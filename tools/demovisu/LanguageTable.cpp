#include "demovisu/LanguageTable.h"

#include "JetWriter.h"

std::vector<DemoLanguage> demoLanguages()
{
    return {
        { 1, QStringLiteral("Deutsch"), QStringLiteral("de") },
        { 2, QStringLiteral("English"), QStringLiteral("en") },
        { 3, QStringLiteral("Français"), QStringLiteral("fr") },
        { 4, QStringLiteral("Español"), QStringLiteral("es") },
        { 5, QStringLiteral("Polski"), QStringLiteral("pl") },
        { 7, QStringLiteral("Čeština"), QStringLiteral("cs") },
    };
}

bool writeDemoLanguageTable(const QString &fileName, QString *error)
{
    JetWriter writer(JetWriter::Version::Jet4);
    writer.setTableName(QStringLiteral("LookupLanguages"));
    writer.addColumn(QStringLiteral("Language"), JetWriter::ColumnType::LongInteger);
    writer.addColumn(QStringLiteral("Name"), JetWriter::ColumnType::Text, 50);
    writer.addColumn(QStringLiteral("Kuerzel"), JetWriter::ColumnType::Text, 5);
    for (const DemoLanguage &language : demoLanguages())
        writer.addRow(
            { QVariant(language.number), QVariant(language.name), QVariant(language.code) });
    return writer.write(fileName, error);
}
