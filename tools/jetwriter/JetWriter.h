#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QVector>

// Writes a small Access (Jet) database holding one table, for tests and demo
// data. Nothing on Linux can create these files, and the language table is
// one, so this covers just what such a table needs: named columns of the types
// Long Integer, Integer, Text, Memo, Yes/No and Decimal (Jet 4; 18 digits, all
// before the point), any number of rows over as many data pages as they need,
// and null values (not in Yes/No, which has none). Jet 4 files store text as UCS-2 (never
// compressed here); Jet 3 files store it in Windows-1252.
//
// Limits: no indexes, no relationships, no properties; a Memo value is stored
// inside its row, so a row (with its Memos) must fit on one page. Anything
// outside these limits, or a value that does not suit its column, fails with
// a message instead of writing a file that a reader would misread.
class JetWriter
{
public:
    enum class Version { Jet3, Jet4 };
    enum class ColumnType { LongInteger, Integer, Text, Memo, YesNo, Decimal };

    struct Column
    {
        QString name;
        ColumnType type = ColumnType::Text;
        int textLength = 50; // Text only: the most characters a value may have (1..255)
    };

    // A row holds one value per column: an invalid QVariant is null, a
    // whole number goes to Long Integer, Integer and Decimal columns, a bool
    // to Yes/No, a string to Text and Memo columns.
    using Row = QVector<QVariant>;

    explicit JetWriter(Version version = Version::Jet4);

    void setTableName(const QString &name) { m_tableName = name; }
    void addColumn(const QString &name, ColumnType type, int textLength = 50);
    void addRow(const Row &row) { m_rows.append(row); }

    // The whole file, or an empty array with the reason in `error`.
    QByteArray build(QString *error = nullptr) const;
    // Writes the file; false with the reason in `error` when it cannot.
    bool write(const QString &path, QString *error = nullptr) const;

    // The page size of the version: 2048 for Jet 3, 4096 for Jet 4.
    int pageSize() const;

    Version version() const { return m_version; }
    const QString &tableName() const { return m_tableName; }
    const QVector<Column> &columns() const { return m_columns; }
    const QVector<Row> &rows() const { return m_rows; }

private:
    Version m_version;
    QString m_tableName = QStringLiteral("Table1");
    QVector<Column> m_columns;
    QVector<Row> m_rows;
};
