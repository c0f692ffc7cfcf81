// jetwriter: writes a one-table Jet database from tab-separated rows.
//
//   jetwriter [--jet3] OUTPUT TABLE COLUMN:TYPE[:LENGTH]... < rows.tsv
//
// TYPE is long, integer, text (LENGTH characters, 50 when left out) or memo.
// Each input line (UTF-8) is one row, its values separated by tabs; "\N"
// stands for null, as does an empty number. A number that is not a whole
// decimal number fitting its column is refused with its line and column.
// Example:
//   printf '1\tDeutsch\n2\tEnglish\n' |
//       jetwriter Languages.mdb LookupLanguages Language:long Name:text:50
#include "JetWriter.h"
#include "TsvRows.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <cstdio>

namespace {

int usage()
{
    std::fputs("usage: jetwriter [--jet3] OUTPUT TABLE COLUMN:TYPE[:LENGTH]... < rows.tsv\n"
               "TYPE: long, integer, text, memo; in the rows \\N is null\n",
        stderr);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    JetWriter::Version version = JetWriter::Version::Jet4;
    if (!args.isEmpty() && args.first() == QLatin1String("--jet3")) {
        version = JetWriter::Version::Jet3;
        args.removeFirst();
    }
    if (args.size() < 3)
        return usage();

    JetWriter writer(version);
    writer.setTableName(args.at(1));
    for (const QString &spec : args.mid(2)) {
        const QStringList parts = spec.split(QLatin1Char(':'));
        if (parts.size() < 2 || parts.size() > 3)
            return usage();
        const QString type = parts.at(1).toLower();
        JetWriter::ColumnType t;
        if (type == QLatin1String("long"))
            t = JetWriter::ColumnType::LongInteger;
        else if (type == QLatin1String("integer"))
            t = JetWriter::ColumnType::Integer;
        else if (type == QLatin1String("text"))
            t = JetWriter::ColumnType::Text;
        else if (type == QLatin1String("memo"))
            t = JetWriter::ColumnType::Memo;
        else
            return usage();
        writer.addColumn(parts.at(0), t, parts.size() == 3 ? parts.at(2).toInt() : 50);
    }

    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        return usage();
    QString error;
    if (!addTsvRows(in.readAll(), writer, &error)) {
        std::fprintf(stderr, "jetwriter: %s\n", qPrintable(error));
        return 1;
    }

    if (!writer.write(args.at(0), &error)) {
        std::fprintf(stderr, "jetwriter: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
