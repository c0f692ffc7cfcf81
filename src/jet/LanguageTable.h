#pragma once

#include <QString>
#include <QVector>

// One value read from a database column.
struct JetValue
{
    enum class Kind {
        Null, // the database's null: no value at all
        Number, // a number column (Byte, Integer, Long Integer, Single, Double, Currency,
                // Decimal) or Yes/No (-1 for Yes, 0 for No)
        Text, // a Text or Memo column (an empty text is not null)
        Other // any other column type; `text` holds the value as written out
    };
    Kind kind = Kind::Null;
    double number = 0;
    QString text;

    static JetValue null() { return {}; }
    static JetValue fromNumber(double n) { return { Kind::Number, n, QString() }; }
    static JetValue fromText(const QString &t) { return { Kind::Text, 0, t }; }
};

// A row of the language table: its "Language" and "Name" values.
struct LanguageRow
{
    JetValue language;
    JetValue name;
};

struct LanguageTableResult
{
    enum class Status {
        Ok,
        FileMissing, // no such file, or it cannot be opened for reading
        NotJet, // not an Access (Jet 3 or Jet 4) database
        Damaged, // a Jet database that cannot be read through, or whose rows or column
                 // types do not hold up (see readLanguageTableWithLibmdb)
        TableMissing, // no table LookupLanguages
        ColumnMissing // the table lacks the column "Language" or "Name"
    };
    Status status = Status::Damaged;
    QVector<LanguageRow> rows; // in the order the file holds them; empty unless Ok

    bool ok() const { return status == Status::Ok; }
};

// The language table of the visualisation: the rows of table LookupLanguages
// in a database named by a Windows path. Tests put a fake in its place.
class LanguageTable
{
public:
    virtual ~LanguageTable() = default;
    virtual LanguageTableResult read(const QString &windowsPath) = 0;
};
