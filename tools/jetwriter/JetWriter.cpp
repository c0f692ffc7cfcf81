#include "JetWriter.h"

#include "semantics/AnsiText.h"

#include <QFile>
#include <QSaveFile>

#include <array>
#include <limits>

// File layout written here (page numbers):
//   0  database definition page (header, partly RC4-masked as every Jet file)
//   1  data page holding the four page-usage maps of the two tables
//   2  table definition of the catalog MSysObjects (readers expect it here)
//   3  the catalog's data page: one row for MSysObjects, one for the table
//   4  table definition of the user table
//   5… the user table's data pages, rows in the order they were added
// Usage maps are of the inline kind (type 0): a start page and a bitmap.

namespace {

constexpr quint8 kTypeBoolean = 0x01;
constexpr quint8 kTypeInteger = 0x03;
constexpr quint8 kTypeLong = 0x04;
constexpr quint8 kTypeText = 0x0a;
constexpr quint8 kTypeOle = 0x0b;
constexpr quint8 kTypeMemo = 0x0c;
constexpr quint8 kTypeDecimal = 0x10;

// Decimal columns are written as Access creates them by default: 18 digits,
// none of them after the point.
constexpr quint8 kDecimalPrecision = 18;

constexpr quint8 kFlagFixed = 0x01;
constexpr quint8 kFlagUpdatable = 0x02;

constexpr quint32 kCatalogTdefPage = 2;
constexpr quint32 kCatalogDataPage = 3;
constexpr quint32 kTableTdefPage = 4;
constexpr quint32 kFirstDataPage = 5;
constexpr quint32 kMapPage = 1;

constexpr int kMaxRowsPerPage = 255; // a row pointer keeps the row number in one byte

// The catalog's flags for a system object.
constexpr quint32 kSystemObjectFlags = 0x80000002u;

void put8(QByteArray &b, int at, quint8 v)
{
    b[at] = char(v);
}
void put16(QByteArray &b, int at, quint16 v)
{
    b[at] = char(v & 0xff);
    b[at + 1] = char(v >> 8);
}
void put32(QByteArray &b, int at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xff);
}
void append8(QByteArray &b, quint8 v)
{
    b.append(char(v));
}
void append16(QByteArray &b, quint16 v)
{
    b.append(char(v & 0xff));
    b.append(char(v >> 8));
}
void append32(QByteArray &b, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b.append(char((v >> (8 * i)) & 0xff));
}

// RC4, which Jet uses to mask part of the definition page; applying it twice
// gives the plain bytes back.
void rc4(QByteArray &data, int offset, int length, const QByteArray &key)
{
    std::array<quint8, 256> s {};
    for (int i = 0; i < 256; ++i)
        s[size_t(i)] = quint8(i);
    quint8 j = 0;
    for (int i = 0; i < 256; ++i) {
        j = quint8(j + s[size_t(i)] + quint8(key[i % key.size()]));
        std::swap(s[size_t(i)], s[j]);
    }
    quint8 a = 0;
    j = 0;
    for (int n = 0; n < length; ++n) {
        a = quint8(a + 1);
        j = quint8(j + s[a]);
        std::swap(s[a], s[j]);
        data[offset + n] = char(quint8(data[offset + n]) ^ s[quint8(s[a] + s[j])]);
    }
}

struct ColumnLayout
{
    QString name;
    quint8 type = 0;
    bool fixed = false;
    quint16 size = 0; // bytes; 0 for Memo
    quint16 number = 0;
    quint16 varIndex = 0; // position among the variable-length columns
    quint16 fixedOffset = 0; // position inside the fixed-length area
    int maxChars = 0; // Text only
};

struct TableLayout
{
    QString name;
    bool system = false;
    QVector<ColumnLayout> columns;
    int fixedSize = 0;
    int varCount = 0;

    void add(const QString &colName, quint8 type, int textLength, bool jet4)
    {
        ColumnLayout c;
        c.name = colName;
        c.type = type;
        c.number = quint16(columns.size());
        switch (type) {
        case kTypeLong:
            c.fixed = true;
            c.size = 4;
            break;
        case kTypeInteger:
            c.fixed = true;
            c.size = 2;
            break;
        case kTypeBoolean: // the value is the row's null-mask bit
            c.fixed = true;
            c.size = 0;
            break;
        case kTypeDecimal: // a sign byte and a 128-bit magnitude
            c.fixed = true;
            c.size = 17;
            break;
        case kTypeText:
            c.maxChars = textLength;
            c.size = quint16(jet4 ? 2 * textLength : textLength);
            break;
        default:
            c.size = 0;
            break;
        }
        if (c.fixed) {
            c.fixedOffset = quint16(fixedSize);
            fixedSize += c.size;
        } else {
            c.varIndex = quint16(varCount++);
        }
        columns.append(c);
    }
};

class Builder
{
public:
    Builder(bool jet4, QString *error)
        : m_jet4(jet4)
        , m_pageSize(jet4 ? 4096 : 2048)
        , m_error(error)
    { }

    bool fail(const QString &message)
    {
        if (m_error && m_error->isEmpty())
            *m_error = message;
        return false;
    }

    // Text of a Text or Memo value as the file stores it.
    bool encodeText(const QString &text, QByteArray &out)
    {
        if (m_jet4) {
            if (text.startsWith(QChar(0xfeff)))
                return fail(
                    QStringLiteral("a text may not start with U+FEFF (it marks compressed text)"));
            out.clear();
            for (QChar c : text) {
                if (c.isSurrogate())
                    return fail(QStringLiteral("characters beyond U+FFFF do not fit UCS-2"));
                append16(out, c.unicode());
            }
            return true;
        }
        for (QChar c : text) {
            if (!isWindows1252(c))
                return fail(
                    QStringLiteral("\"%1\" is not Windows-1252 text, which Jet 3 needs").arg(text));
        }
        out = toWindows1252(text);
        return true;
    }

    bool encodeName(const QString &name, QByteArray &out)
    {
        if (name.isEmpty() || name.size() > 64)
            return fail(QStringLiteral("names must have 1 to 64 characters"));
        QByteArray bytes;
        if (!encodeText(name, bytes))
            return false;
        if (m_jet4)
            append16(out, quint16(bytes.size()));
        else
            append8(out, quint8(bytes.size()));
        out.append(bytes);
        return true;
    }

    // Jet 3's offset table: one byte an offset, the end of data first and the
    // first column's last, then the jump table, then the count. A row of 256
    // bytes or more lists in its jump table, from the count downwards, the
    // first column whose offset passes each further 256; a row that only
    // passes 256 through this table itself keeps one unused jump byte.
    static void appendJet3Offsets(
        QByteArray &row, const QVector<int> &starts, int end, qsizetype maskSize)
    {
        const int count = int(starts.size());
        int jumps = 0;
        for (int need = -1; need != jumps;) {
            need = (int(row.size()) + count + 1 + jumps + 1 + int(maskSize) - 1) / 256;
            std::swap(need, jumps);
        }
        append8(row, quint8(end));
        for (int i = count - 1; i >= 0; --i)
            append8(row, quint8(starts[i]));
        for (int j = jumps - 1; j >= 0; --j) {
            int first = count + 1; // the unused one
            for (int i = count; i >= 0; --i)
                if ((i == count ? end : starts[i]) >= 256 * (j + 1))
                    first = i;
            append8(row, quint8(first));
        }
        append8(row, quint8(count));
    }

    // One row in the file's row format, or false when a value does not fit.
    bool encodeRow(const TableLayout &table, const JetWriter::Row &values, QByteArray &row)
    {
        const int columnCount = table.columns.size();
        if (values.size() != columnCount)
            return fail(QStringLiteral("a row of %1 values for %2 columns")
                            .arg(values.size())
                            .arg(columnCount));

        QByteArray fixedArea(table.fixedSize, '\0');
        QByteArray varArea;
        QVector<int> varStarts(table.varCount, 0);
        QByteArray nullMask((columnCount + 7) / 8, '\0');
        const int countSize = m_jet4 ? 2 : 1;

        for (const ColumnLayout &c : table.columns) {
            const QVariant &v = values.at(c.number);
            if (!c.fixed)
                varStarts[c.varIndex] = countSize + table.fixedSize + varArea.size();
            const bool isNull = !v.isValid() || v.isNull();
            if (c.type == kTypeBoolean) {
                if (isNull || v.typeId() == QMetaType::QString)
                    return fail(QStringLiteral("column %1 needs Yes or No").arg(c.name));
                if (!v.toBool())
                    continue;
            } else if (isNull) {
                continue;
            }
            nullMask[c.number / 8] = char(quint8(nullMask[c.number / 8]) | (1u << (c.number % 8)));
            if (c.type == kTypeBoolean)
                continue;
            if (c.fixed) {
                bool ok = false;
                const qlonglong n = v.toLongLong(&ok);
                if (!ok || v.typeId() == QMetaType::QString || v.toDouble() != double(n))
                    return fail(QStringLiteral("column %1 needs a whole number").arg(c.name));
                if (c.type == kTypeDecimal) {
                    // Sign, then the magnitude as four 32-bit words, the most
                    // significant first, each stored low byte first.
                    const quint64 magnitude = n < 0 ? 0 - quint64(n) : quint64(n);
                    put8(fixedArea, c.fixedOffset, n < 0 ? 0x80 : 0x00);
                    put32(fixedArea, c.fixedOffset + 9, quint32(magnitude >> 32));
                    put32(fixedArea, c.fixedOffset + 13, quint32(magnitude));
                } else if (c.type == kTypeInteger) {
                    if (n < std::numeric_limits<qint16>::min()
                        || n > std::numeric_limits<qint16>::max())
                        return fail(QStringLiteral("%1 does not fit the Integer column %2")
                                        .arg(n)
                                        .arg(c.name));
                    put16(fixedArea, c.fixedOffset, quint16(qint16(n)));
                } else {
                    if (n < std::numeric_limits<qint32>::min()
                        || n > std::numeric_limits<qint32>::max())
                        return fail(QStringLiteral("%1 does not fit the Long Integer column %2")
                                        .arg(n)
                                        .arg(c.name));
                    put32(fixedArea, c.fixedOffset, quint32(qint32(n)));
                }
                continue;
            }
            if (v.typeId() != QMetaType::QString)
                return fail(QStringLiteral("column %1 needs a text").arg(c.name));
            const QString text = v.toString();
            QByteArray bytes;
            if (!encodeText(text, bytes))
                return false;
            if (c.type == kTypeText) {
                if (text.size() > c.maxChars)
                    return fail(
                        QStringLiteral("\"%1\" is longer than the %2 characters of column %3")
                            .arg(text)
                            .arg(c.maxChars)
                            .arg(c.name));
                varArea.append(bytes);
            } else {
                // A Memo kept inside the row: length with the "inline" bit, no
                // long-value page, then the text itself.
                QByteArray memo;
                append32(memo, quint32(bytes.size()) | 0x80000000u);
                append32(memo, 0);
                append32(memo, 0);
                memo.append(bytes);
                varArea.append(memo);
            }
        }

        row.clear();
        if (m_jet4)
            append16(row, quint16(columnCount));
        else
            append8(row, quint8(columnCount));
        row.append(fixedArea);
        row.append(varArea);
        if (table.varCount > 0) {
            const int end = countSize + table.fixedSize + varArea.size();
            if (m_jet4) {
                append16(row, quint16(end));
                for (int i = table.varCount - 1; i >= 0; --i)
                    append16(row, quint16(varStarts[i]));
                append16(row, quint16(table.varCount));
            } else {
                appendJet3Offsets(row, varStarts, end, nullMask.size());
            }
        }
        row.append(nullMask);
        return true;
    }

    QByteArray emptyPage() const { return QByteArray(m_pageSize, '\0'); }

    int dataHeaderSize() const { return m_jet4 ? 14 : 10; }
    int rowCountOffset() const { return m_jet4 ? 12 : 8; }

    // Data pages holding `rows` in order; each row must fit on a page.
    bool dataPages(quint32 tdefPage, const QVector<QByteArray> &rows, QVector<QByteArray> &pages)
    {
        int next = 0;
        do {
            QByteArray page = emptyPage();
            put8(page, 0, 0x01);
            put8(page, 1, 0x01);
            put32(page, 4, tdefPage);
            int top = m_pageSize; // rows grow down from the end of the page
            int count = 0;
            int free = m_pageSize - dataHeaderSize();
            while (next < rows.size() && count < kMaxRowsPerPage) {
                const QByteArray &row = rows.at(next);
                if (row.size() + 2 > free) {
                    if (count == 0)
                        return fail(QStringLiteral("a row of %1 bytes does not fit on a page")
                                        .arg(row.size()));
                    break;
                }
                top -= row.size();
                page.replace(top, row.size(), row);
                put16(page, rowCountOffset() + 2 + 2 * count, quint16(top));
                free -= row.size() + 2;
                ++count;
                ++next;
            }
            put16(page, rowCountOffset(), quint16(count));
            put16(page, 2, quint16(free));
            pages.append(page);
        } while (next < rows.size());
        return true;
    }

    bool tdefPage(const TableLayout &table, quint32 rowCount, quint32 usedMap, quint32 freeMap,
        QByteArray &page)
    {
        page = emptyPage();
        put8(page, 0, 0x02);
        put8(page, 1, 0x01);
        if (!m_jet4) {
            put8(page, 2, 'V');
            put8(page, 3, 'C');
        }
        int pos;
        if (m_jet4) {
            put32(page, 16, rowCount);
            put8(page, 40, table.system ? 0x53 : 0x4e);
            put16(page, 41, quint16(table.columns.size()));
            put16(page, 43, quint16(table.varCount));
            put16(page, 45, quint16(table.columns.size()));
            put32(page, 47, 0);
            put32(page, 51, 0);
            put32(page, 55, usedMap);
            put32(page, 59, freeMap);
            pos = 63;
        } else {
            put32(page, 12, rowCount);
            put8(page, 20, table.system ? 0x53 : 0x4e);
            put16(page, 21, quint16(table.columns.size()));
            put16(page, 23, quint16(table.varCount));
            put16(page, 25, quint16(table.columns.size()));
            put32(page, 27, 0);
            put32(page, 31, 0);
            put32(page, 35, usedMap);
            put32(page, 39, freeMap);
            pos = 43;
        }

        QByteArray defs;
        for (const ColumnLayout &c : table.columns) {
            const bool text = c.type == kTypeText || c.type == kTypeMemo;
            const quint8 flags = quint8(kFlagUpdatable | (c.fixed ? kFlagFixed : 0));
            if (m_jet4) {
                append8(defs, c.type);
                append32(defs, 0);
                append16(defs, c.number);
                append16(defs, c.varIndex);
                append16(defs, c.number);
                if (c.type == kTypeDecimal) {
                    append8(defs, kDecimalPrecision);
                    append8(defs, 0); // scale
                } else {
                    append16(defs, text ? 0x0409 : 0); // general sort order
                }
                append16(defs, 0);
                append8(defs, flags);
                append8(defs, 0); // no unicode compression
                append32(defs, 0);
                append16(defs, c.fixedOffset);
                append16(defs, c.size);
            } else {
                append8(defs, c.type);
                append16(defs, c.number);
                append16(defs, c.varIndex);
                append16(defs, c.number);
                append16(defs, text ? 0x0409 : 0);
                append16(defs, text ? 0x04e4 : 0); // code page 1252
                append16(defs, 0);
                append8(defs, flags);
                append16(defs, c.fixedOffset);
                append16(defs, c.size);
            }
        }
        for (const ColumnLayout &c : table.columns) {
            if (!encodeName(c.name, defs))
                return false;
        }
        append16(defs, 0xffff); // no per-column usage maps
        if (pos + defs.size() > m_pageSize)
            return fail(QStringLiteral("the table definition does not fit on one page"));
        page.replace(pos, defs.size(), defs);
        const int end = pos + defs.size();
        put32(page, 8, quint32(end - 8));
        if (m_jet4)
            put16(page, 2, quint16(m_pageSize - end - 8));
        return true;
    }

    // An inline usage map covering pages 0 .. lastPage, with `pages` marked.
    QByteArray usageMap(const QVector<quint32> &pages, quint32 lastPage) const
    {
        const int bytes = std::max<int>(m_jet4 ? 64 : 128, int(lastPage / 8 + 1));
        QByteArray map(5 + bytes, '\0');
        put8(map, 0, 0x00);
        put32(map, 1, 0);
        for (quint32 p : pages)
            map[5 + int(p / 8)] = char(quint8(map[5 + int(p / 8)]) | (1u << (p % 8)));
        return map;
    }

    QByteArray headerPage() const
    {
        QByteArray page = emptyPage();
        put32(page, 0, 0x00000100);
        page.replace(4, 16, QByteArray("Standard Jet DB\0", 16));
        put32(page, 0x14, m_jet4 ? 1 : 0);
        put16(page, 0x3c, 0x04e4); // code page 1252
        put32(page, 0x3e, 0); // no page encryption
        if (m_jet4)
            put32(page, 0x6e, 0x0409); // general sort order
        else
            put16(page, 0x3a, 0x0409);
        QByteArray key;
        append32(key, 0x6b39dac7);
        rc4(page, 0x18, m_jet4 ? 128 : 126, key);
        return page;
    }

    const bool m_jet4;
    const int m_pageSize;
    QString *m_error;
};

} // namespace

JetWriter::JetWriter(Version version)
    : m_version(version)
{ }

void JetWriter::addColumn(const QString &name, ColumnType type, int textLength)
{
    m_columns.append(Column { name, type, textLength });
}

int JetWriter::pageSize() const
{
    return m_version == Version::Jet4 ? 4096 : 2048;
}

QByteArray JetWriter::build(QString *error) const
{
    if (error)
        error->clear();
    const bool jet4 = m_version == Version::Jet4;
    Builder b(jet4, error);

    if (m_columns.isEmpty() || m_columns.size() > 255) {
        b.fail(QStringLiteral("a table needs 1 to 255 columns"));
        return {};
    }
    if (m_tableName.isEmpty() || m_tableName.size() > 64) {
        b.fail(QStringLiteral("names must have 1 to 64 characters"));
        return {};
    }
    if (m_tableName.startsWith(QLatin1String("MSys"), Qt::CaseInsensitive)) {
        b.fail(QStringLiteral("MSys names belong to the system tables"));
        return {};
    }

    TableLayout table;
    table.name = m_tableName;
    for (const Column &c : m_columns) {
        for (const ColumnLayout &other : table.columns) {
            if (other.name.compare(c.name, Qt::CaseInsensitive) == 0) {
                b.fail(QStringLiteral("column %1 appears twice").arg(c.name));
                return {};
            }
        }
        quint8 type = kTypeText;
        switch (c.type) {
        case ColumnType::LongInteger:
            type = kTypeLong;
            break;
        case ColumnType::Integer:
            type = kTypeInteger;
            break;
        case ColumnType::Text:
            type = kTypeText;
            if (c.textLength < 1 || c.textLength > 255) {
                b.fail(QStringLiteral("Text columns hold 1 to 255 characters"));
                return {};
            }
            break;
        case ColumnType::Memo:
            type = kTypeMemo;
            break;
        case ColumnType::YesNo:
            type = kTypeBoolean;
            break;
        case ColumnType::Decimal:
            if (!jet4) {
                b.fail(QStringLiteral("Decimal columns need Jet 4"));
                return {};
            }
            type = kTypeDecimal;
            break;
        }
        table.add(c.name, type, c.textLength, jet4);
    }

    // The catalog: the columns every reader looks up, one row per object.
    TableLayout catalog;
    catalog.name = QStringLiteral("MSysObjects");
    catalog.system = true;
    catalog.add(QStringLiteral("Id"), kTypeLong, 0, jet4);
    catalog.add(QStringLiteral("ParentId"), kTypeLong, 0, jet4);
    catalog.add(QStringLiteral("Name"), kTypeText, 128, jet4);
    catalog.add(QStringLiteral("Type"), kTypeInteger, 0, jet4);
    catalog.add(QStringLiteral("Flags"), kTypeLong, 0, jet4);
    catalog.add(QStringLiteral("LvProp"), kTypeOle, 0, jet4); // object properties: none

    QVector<QByteArray> tableRows;
    for (const Row &r : m_rows) {
        QByteArray encoded;
        if (!b.encodeRow(table, r, encoded))
            return {};
        tableRows.append(encoded);
    }
    QVector<QByteArray> dataPages;
    if (!b.dataPages(kTableTdefPage, tableRows, dataPages))
        return {};

    QVector<QByteArray> catalogRows(2);
    const qint32 tablesFolder = 0x0f000001; // the catalog's "Tables" container
    if (!b.encodeRow(catalog,
            { qint32(kCatalogTdefPage), tablesFolder, catalog.name, 1, qint32(kSystemObjectFlags),
                QVariant() },
            catalogRows[0])
        || !b.encodeRow(catalog,
            { qint32(kTableTdefPage), tablesFolder, table.name, 1, 0, QVariant() }, catalogRows[1]))
        return {};
    QVector<QByteArray> catalogPages;
    if (!b.dataPages(kCatalogTdefPage, catalogRows, catalogPages) || catalogPages.size() != 1) {
        b.fail(QStringLiteral("the catalog does not fit on one page"));
        return {};
    }

    const quint32 lastPage = kFirstDataPage + quint32(dataPages.size()) - 1;
    QVector<quint32> tablePages;
    for (quint32 p = kFirstDataPage; p <= lastPage; ++p)
        tablePages.append(p);
    const QVector<QByteArray> maps { b.usageMap({ kCatalogDataPage }, lastPage),
        b.usageMap({}, lastPage), b.usageMap(tablePages, lastPage), b.usageMap({}, lastPage) };
    QVector<QByteArray> mapPages;
    if (!b.dataPages(0, maps, mapPages) || mapPages.size() != 1) {
        b.fail(QStringLiteral("too many data pages for the usage maps"));
        return {};
    }
    auto rowRef = [](quint32 page, quint32 row) { return (page << 8) | row; };

    QByteArray catalogTdef;
    QByteArray tableTdef;
    if (!b.tdefPage(catalog, 2, rowRef(kMapPage, 0), rowRef(kMapPage, 1), catalogTdef)
        || !b.tdefPage(
            table, quint32(m_rows.size()), rowRef(kMapPage, 2), rowRef(kMapPage, 3), tableTdef))
        return {};

    QByteArray file = b.headerPage();
    file.append(mapPages.first());
    file.append(catalogTdef);
    file.append(catalogPages.first());
    file.append(tableTdef);
    for (const QByteArray &p : dataPages)
        file.append(p);
    return file;
}

bool JetWriter::write(const QString &path, QString *error) const
{
    const QByteArray bytes = build(error);
    if (bytes.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}
