#include "SampleTables.h"

#include "semantics/AnsiText.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

using Type = JetWriter::ColumnType;
using Version = JetWriter::Version;

QStringList languageNames(Version version)
{
    return { "Deutsch", "English", "Français", "Español", "Português", "Íslenska", "Magyar",
        "Suomi", "Dansk", version == Version::Jet4 ? "Čeština" : "Norsk" };
}

// A column's value in row i; null for every eleventh name.
QVariant valueOf(const JetWriter::Column &column, int i, Version version)
{
    if (column.name == "Name")
        return i % 11 == 10 ? QVariant() : QVariant(languageNames(version).at(i % 10));
    switch (column.type) {
    case Type::LongInteger:
    case Type::Integer:
        return column.name == "Language" ? i : i * 7 % 1000;
    case Type::YesNo:
        return i % 2 == 0;
    case Type::Text:
        return column.name == "Language" ? QString::number(i)
                                         : QStringLiteral("%1 %2").arg(column.name.left(4)).arg(i);
    default:
        return QStringLiteral("über %1").arg(i);
    }
}

QByteArray encoded(const QString &text, Version version)
{
    return version == Version::Jet3
        ? toWindows1252(text)
        : QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

} // namespace

SampleTable makeSampleTable(
    const QString &title, Version version, const QVector<JetWriter::Column> &columns)
{
    JetWriter writer(version);
    writer.setTableName(QStringLiteral("LookupLanguages"));
    for (const JetWriter::Column &column : columns)
        writer.addColumn(column.name, column.type, column.textLength);
    SampleTable table { title, version, {}, {}, {}, {}, writer.pageSize() };
    QSet<QString> texts;
    for (int i = 0; i < 300; ++i) {
        JetWriter::Row row;
        QString rowText;
        for (const JetWriter::Column &column : columns) {
            row << valueOf(column, i, version);
            if (row.last().typeId() == QMetaType::QString) {
                texts << row.last().toString();
                rowText += row.last().toString();
            }
        }
        writer.addRow(row);
        table.rowTexts.push_back(rowText);
    }
    QString error;
    table.bytes = writer.build(&error);
    if (table.bytes.isEmpty()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(error));
        std::exit(1);
    }
    for (const QString &name : languageNames(version))
        table.names << name;
    table.textByte.assign(size_t(table.bytes.size()), false);
    for (const QString &text : texts) {
        const QByteArray bytes = encoded(text, version);
        for (qsizetype at = table.bytes.indexOf(bytes); !bytes.isEmpty() && at >= 0;
             at = table.bytes.indexOf(bytes, at + 1))
            std::fill_n(table.textByte.begin() + at, bytes.size(), true);
    }
    return table;
}

std::vector<SampleTable> sampleTables()
{
    std::vector<SampleTable> tables;
    for (const Version version : { Version::Jet3, Version::Jet4 }) {
        const QString v = version == Version::Jet3 ? "Jet 3" : "Jet 4";
        tables.push_back(makeSampleTable(v + " Long, Text", version,
            { { "Language", Type::LongInteger }, { "Name", Type::Text } }));
        tables.push_back(makeSampleTable(v + " five columns, Memo", version,
            { { "ID", Type::LongInteger }, { "Language", Type::Integer }, { "Code", Type::Text, 8 },
                { "Name", Type::Text, 40 }, { "Note", Type::Memo } }));
        tables.push_back(makeSampleTable(v + " Text, Memo", version,
            { { "Language", Type::Text, 10 }, { "Name", Type::Memo } }));
        tables.push_back(makeSampleTable(v + " Yes/No, Memo before", version,
            { { "Language", Type::Integer }, { "Comment", Type::Memo }, { "Name", Type::Text, 60 },
                { "Flag", Type::YesNo } }));
        tables.push_back(makeSampleTable(v + " texts after", version,
            { { "Language", Type::LongInteger }, { "Name", Type::Text, 40 },
                { "Description", Type::Text, 100 }, { "Extra", Type::LongInteger } }));
    }
    return tables;
}

bool SampleTable::reSplit(const QString &name) const
{
    return std::any_of(rowTexts.begin(), rowTexts.end(),
        [&](const QString &texts) { return texts.contains(name); });
}

bool SampleTable::explained(const QString &name, bool textChanged) const
{
    return name.isEmpty() || names.contains(name) || textChanged || reSplit(name);
}
