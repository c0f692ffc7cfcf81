#include "support/JetFixtures.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace {

// Runs an mdbtools program; its standard output, or a null string on failure.
QString run(const QString &program, const QStringList &arguments, QString *problem)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        *problem = QStringLiteral("%1 %2 failed: %3")
                       .arg(program, arguments.join(QLatin1Char(' ')),
                           QString::fromUtf8(process.readAllStandardError()));
        return QString();
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString typeName(const JetWriter::Column &column)
{
    switch (column.type) {
    case JetWriter::ColumnType::LongInteger:
        return QStringLiteral("Long Integer");
    case JetWriter::ColumnType::Integer:
        return QStringLiteral("Integer");
    case JetWriter::ColumnType::Text:
        return QStringLiteral("Text (%1)").arg(column.textLength);
    case JetWriter::ColumnType::Memo:
        return QStringLiteral("Memo/Hyperlink (255)");
    case JetWriter::ColumnType::YesNo:
        return QStringLiteral("Boolean NOT NULL");
    case JetWriter::ColumnType::Decimal:
        return QStringLiteral("Numeric (18, 0)");
    }
    return QString();
}

const QString kNull = QStringLiteral("<null>");

// mdb-export's CSV for the rows written. mdb-export prints an empty text the
// way it prints a null, so both are expected as the null marker here; our
// own reader's tests tell the two apart.
QString expectedExport(const JetWriter &writer)
{
    QStringList lines;
    QStringList header;
    for (const JetWriter::Column &c : writer.columns())
        header << c.name;
    lines << header.join(QLatin1Char(','));
    for (const JetWriter::Row &row : writer.rows()) {
        QStringList fields;
        for (int i = 0; i < row.size(); ++i) {
            const QVariant &v = row.at(i);
            const JetWriter::ColumnType type = writer.columns().at(i).type;
            const bool text
                = type == JetWriter::ColumnType::Text || type == JetWriter::ColumnType::Memo;
            if (!v.isValid() || (text && v.toString().isEmpty()))
                fields << kNull;
            else if (text)
                fields << QLatin1Char('"')
                        + v.toString().replace(QLatin1Char('"'), QStringLiteral("\"\""))
                        + QLatin1Char('"');
            else if (type == JetWriter::ColumnType::YesNo)
                fields << QString::number(v.toBool() ? 1 : 0);
            else
                fields << QString::number(v.toLongLong());
        }
        lines << fields.join(QLatin1Char(','));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

// The column lines of mdb-schema's CREATE TABLE, as "[name] type".
QStringList schemaColumns(const QString &schema, const QString &table, QString *problem)
{
    const QString start = QStringLiteral("CREATE TABLE [%1]").arg(table);
    const qsizetype at = schema.indexOf(start);
    if (at < 0) {
        *problem = QStringLiteral("mdb-schema has no \"%1\":\n%2").arg(start, schema);
        return {};
    }
    const qsizetype open = schema.indexOf(QLatin1Char('('), at);
    const qsizetype close = schema.indexOf(QStringLiteral(");"), open);
    QStringList columns;
    for (QString line : schema.mid(open + 1, close - open - 1).split(QLatin1Char('\n'))) {
        line = line.simplified();
        if (line.endsWith(QLatin1Char(',')))
            line.chop(1);
        if (!line.isEmpty())
            columns << line;
    }
    return columns;
}

// Empty when mdbtools agree with what `writer` holds, else what differs.
QString mdbToolsMismatch(const QString &path, const JetWriter &writer)
{
    QString problem;
    const QString tables
        = run(QStringLiteral("mdb-tables"), { QStringLiteral("-1"), path }, &problem);
    if (!problem.isEmpty())
        return problem;
    if (tables.split(QLatin1Char('\n'), Qt::SkipEmptyParts) != QStringList { writer.tableName() })
        return QStringLiteral("mdb-tables lists \"%1\"").arg(tables);

    const QString schema = run(QStringLiteral("mdb-schema"), { path }, &problem);
    if (!problem.isEmpty())
        return problem;
    const QStringList columns = schemaColumns(schema, writer.tableName(), &problem);
    if (!problem.isEmpty())
        return problem;
    QStringList expectedColumns;
    for (const JetWriter::Column &c : writer.columns())
        expectedColumns << QStringLiteral("[%1] %2").arg(c.name, typeName(c));
    if (columns != expectedColumns)
        return QStringLiteral("mdb-schema columns: %1\nexpected: %2")
            .arg(columns.join(QLatin1String(" | ")), expectedColumns.join(QLatin1String(" | ")));

    const QString exported = run(QStringLiteral("mdb-export"),
        { QStringLiteral("-0"), kNull, path, writer.tableName() }, &problem);
    if (!problem.isEmpty())
        return problem;
    const QString expected = expectedExport(writer);
    if (exported != expected)
        return QStringLiteral("mdb-export printed:\n%1\nexpected:\n%2")
            .arg(exported.left(2000), expected.left(2000));
    return QString();
}

} // namespace

QString writeCheckedJetFile(const QString &path, const JetWriter &writer)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QString error;
    EXPECT_TRUE(writer.write(path, &error)) << error.toStdString();
    const QString mismatch = mdbToolsMismatch(path, writer);
    EXPECT_TRUE(mismatch.isEmpty()) << path.toStdString() << ": " << mismatch.toStdString();
    return path;
}

JetWriter languageTableWriter(
    const std::vector<std::pair<QVariant, QVariant>> &rows, JetWriter::Version version)
{
    JetWriter writer(version);
    writer.setTableName(QStringLiteral("LookupLanguages"));
    writer.addColumn(QStringLiteral("Language"), JetWriter::ColumnType::LongInteger);
    writer.addColumn(QStringLiteral("Name"), JetWriter::ColumnType::Text, 50);
    for (const auto &[language, name] : rows)
        writer.addRow({ language, name });
    return writer;
}

QString realJetFile(const char *name)
{
    return QStringLiteral(TAVLIN_SOURCE_DIR "/tests/data/jet/") + QLatin1String(name);
}
