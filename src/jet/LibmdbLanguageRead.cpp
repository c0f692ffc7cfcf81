#include "jet/LibmdbLanguageRead.h"

#include "jet/JetRowLayout.h"

#include <mdbtools.h>

#include <QByteArray>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using Status = LanguageTableResult::Status;

struct HandleCloser
{
    void operator()(MdbHandle *mdb) const { mdb_close(mdb); }
};
struct TableFreer
{
    void operator()(MdbTableDef *table) const { mdb_free_tabledef(table); }
};

// Names are compared as the database engine does: without regard to case.
bool sameName(const char *a, const char *b)
{
    return g_ascii_strcasecmp(a, b) == 0;
}

int columnIndex(MdbTableDef *table, const char *name)
{
    for (guint i = 0; i < table->num_cols && i < table->columns->len; ++i) {
        const auto *col = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, i));
        if (sameName(col->name, name))
            return int(i);
    }
    return -1;
}

// Whether the resolver can use a column of this type: "Language" is compared
// as a number, so it must hold numbers (Yes/No among them) or text; "Name"
// becomes the folder name, so it must hold text. Any other type in a language
// table means the file is not what it claims to be.
bool usableLanguageType(int type)
{
    switch (type) {
    case MDB_BOOL:
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
    case MDB_MONEY:
    case MDB_FLOAT:
    case MDB_DOUBLE:
    case MDB_NUMERIC:
    case MDB_TEXT:
    case MDB_MEMO:
        return true;
    default:
        return false;
    }
}

bool usableNameType(int type)
{
    return type == MDB_TEXT || type == MDB_MEMO;
}

// Where one value of the row just fetched lies on the page, and whether it is
// null (for Yes/No: whether it is No).
struct RawValue
{
    int start = 0;
    int size = 0;
    bool isNull = true;
};

// The table's columns as the row layout needs them.
std::vector<JetColumnPlace> columnPlaces(MdbTableDef *table)
{
    std::vector<JetColumnPlace> places;
    for (guint i = 0; i < table->num_cols && i < table->columns->len; ++i) {
        const auto *col = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, i));
        JetColumnPlace place;
        place.kind = col->col_type == MDB_TEXT ? JetColumnPlace::Kind::Text
            : col->col_type == MDB_MEMO        ? JetColumnPlace::Kind::Memo
                                               : JetColumnPlace::Kind::Other;
        place.number = col->col_num;
        place.fixed = col->is_fixed;
        place.fixedOffset = col->fixed_offset;
        place.varIndex = col->var_col_num;
        place.size = col->col_type == MDB_MEMO ? 0 : col->col_size;
        places.push_back(place);
    }
    return places;
}

// The page libmdb has loaded, without a copy.
QByteArray loadedPage(MdbHandle *mdb, const void *buffer)
{
    return QByteArray::fromRawData(static_cast<const char *>(buffer), qsizetype(mdb->fmt->pg_size));
}

// Takes the row just fetched apart once more, from the page still loaded,
// with the row layout's own checks: the page's row table, the row's place in
// it and the row's own layout must be sound, and libmdb must have found the
// two values where the layout puts them. libmdb itself only checks a row
// against the page's end, so a damaged row table or offset table hands out
// bytes of neighbouring rows and values. False when the row is not sound.
// The row's null mask also tells a null from an empty text, which binding
// cannot: libmdb hands out both alike.
bool crackSoundRow(MdbHandle *mdb, MdbTableDef *table, const std::vector<JetColumnPlace> &places,
    int first, int second, RawValue &firstValue, RawValue &secondValue)
{
    if (table->cur_row == 0 || mdb->cur_pg != table->cur_phys_pg || table->num_cols > MDB_MAX_COLS)
        return false;
    const QByteArray page = loadedPage(mdb, mdb->pg_buf);
    const int countAt = int(mdb->fmt->row_count_offset);
    if (!jetRowTableSound(page, countAt))
        return false;
    const int rows = mdb_get_int16(mdb->pg_buf, countAt);
    const int row = int(table->cur_row - 1);
    if (row >= rows)
        return false;
    const int entry = mdb_get_int16(mdb->pg_buf, countAt + 2 + 2 * row);
    if (entry & 0xc000)
        return false; // deleted, or a pointer to the row's new place, which libmdb does not follow
    const int start = entry & 0x1fff;
    const int next
        = row == 0 ? int(page.size()) : mdb_get_int16(mdb->pg_buf, countAt + 2 * row) & 0x1fff;
    std::vector<JetFieldPlace> layout;
    if (!crackJetRow(page, start, next, mdb->f->jet_version != MDB_VER_JET3, places, layout))
        return false;

    std::vector<MdbField> fields(MDB_MAX_COLS);
    const int count = mdb_crack_row(table, start, size_t(next - start), fields.data());
    if (count <= first || count <= second || layout.size() <= size_t(std::max(first, second)))
        return false;
    for (auto [index, value] :
        { std::pair { first, &firstValue }, std::pair { second, &secondValue } }) {
        const MdbField &field = fields[size_t(index)];
        const JetFieldPlace &place = layout[size_t(index)];
        if (bool(field.is_null) != place.isNull
            || (!place.isNull && (field.start != place.start || field.siz != place.size)))
            return false;
        value->isNull = place.isNull;
        value->start = place.start;
        value->size = place.size;
    }
    return true;
}

// The stored bytes of a Text or Memo value, following a Memo onto the pages
// that hold it; empty when they cannot all be found.
std::optional<QByteArray> storedText(MdbHandle *mdb, int type, const RawValue &value)
{
    const auto *page = reinterpret_cast<const char *>(mdb->pg_buf);
    if (type == MDB_TEXT)
        return QByteArray(page + value.start, value.size);
    if (value.size < MDB_MEMO_OVERHEAD)
        return QByteArray(); // libmdb reads an empty text
    const quint32 length = quint32(mdb_get_int32(mdb->pg_buf, value.start));
    if (length & 0x80000000u)
        return QByteArray(page + value.start + MDB_MEMO_OVERHEAD, value.size - MDB_MEMO_OVERHEAD);
    const bool onePage = length & 0x40000000u;
    if (!onePage && (length & 0xff000000u))
        return std::nullopt;
    QByteArray bytes;
    int pointer = int(mdb_get_int32(mdb->pg_buf, value.start + 4));
    for (int pages = 0; pages < 1024; ++pages) {
        void *buffer = nullptr;
        int offset = 0;
        size_t size = 0;
        if (mdb_find_pg_row(mdb, pointer, &buffer, &offset, &size) != 0)
            return std::nullopt;
        // A long value lies on a data page, whose row table holds its row.
        const QByteArray valuePage = loadedPage(mdb, buffer);
        if (valuePage.at(0) != 0x01
            || !jetRowTableSound(valuePage, int(mdb->fmt->row_count_offset)))
            return std::nullopt;
        const char *row = static_cast<const char *>(buffer) + offset;
        if (onePage)
            return QByteArray(row, qsizetype(size));
        if (size < 4)
            return std::nullopt;
        bytes.append(row + 4, qsizetype(size) - 4);
        pointer = int(mdb_get_int32(buffer, offset));
        if (pointer == 0)
            return bytes;
    }
    return std::nullopt;
}

// Whether the text holds a NUL character, which libmdb's C strings would cut
// the text at. Jet 3 keeps one byte a character; Jet 4 two, or, after the
// mark FF FE, runs of one-byte characters where a 0 byte only switches runs.
bool holdsNul(const QByteArray &stored, bool jet3)
{
    if (jet3)
        return stored.contains('\0');
    if (stored.startsWith("\xff\xfe"))
        return false;
    for (qsizetype i = 0; i + 1 < stored.size(); i += 2) {
        if (stored.at(i) == 0 && stored.at(i + 1) == 0)
            return true;
    }
    return false;
}

// Whether a name holds a control character (C0, DEL or C1): no language's
// name does, and as a folder name it would never be found. Such a name comes
// from damage that moved a text's bounds into the bytes around it.
bool holdsControl(const QString &name)
{
    return std::any_of(name.cbegin(), name.cend(),
        [](QChar c) { return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F); });
}

// The value just fetched into a bound column; libmdb writes every value out
// as text. Yes/No has no bytes of its own: it is Yes (-1) unless its null bit
// says No.
JetValue valueOf(const MdbColumn *col, const char *bound, bool isNull)
{
    if (col->col_type == MDB_BOOL)
        return JetValue::fromNumber(isNull ? 0 : -1);
    if (isNull)
        return JetValue::null();
    switch (col->col_type) {
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
    case MDB_FLOAT:
    case MDB_DOUBLE:
    case MDB_MONEY:
    case MDB_NUMERIC: {
        char *end = nullptr;
        const double n = std::strtod(bound, &end);
        if (end != bound && *end == '\0')
            return JetValue::fromNumber(n);
        break;
    }
    case MDB_TEXT:
    case MDB_MEMO:
        return JetValue::fromText(QString::fromUtf8(bound));
    default:
        break;
    }
    return { JetValue::Kind::Other, 0, QString::fromUtf8(bound) };
}

// The user table of that name in the catalog read, or null.
MdbCatalogEntry *findTable(MdbHandle *mdb, const char *tableName)
{
    for (guint i = 0; i < mdb->num_catalog && i < mdb->catalog->len; ++i) {
        auto *e = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, i));
        if (e->object_type == MDB_TABLE && sameName(e->object_name, tableName))
            return e;
    }
    return nullptr;
}

// The two columns read, each bound to a buffer libmdb writes its values into.
struct BoundColumn
{
    int index = -1;
    const MdbColumn *column = nullptr;
    std::vector<char> text;
    int length = 0;
};

// Every row of the bound table, or nullopt when one of them is not sound.
std::optional<QVector<LanguageRow>> readRows(
    MdbHandle *mdb, MdbTableDef *table, BoundColumn &language, BoundColumn &name)
{
    const bool jet3 = mdb->f->jet_version == MDB_VER_JET3;
    // A text that filled the whole bind buffer may have been cut at its end.
    auto whole = [mdb](const std::vector<char> &bound) {
        return std::strlen(bound.data()) + 1 < mdb->bind_size;
    };
    const std::vector<JetColumnPlace> places = columnPlaces(table);
    QVector<LanguageRow> rows;
    mdb_rewind_table(table);
    while (mdb_fetch_row(table)) {
        RawValue languageRaw;
        RawValue nameRaw;
        if (!crackSoundRow(mdb, table, places, language.index, name.index, languageRaw, nameRaw))
            return std::nullopt;
        for (auto [bound, raw] :
            { std::pair { &language, &languageRaw }, std::pair { &name, &nameRaw } }) {
            const int type = bound->column->col_type;
            if (raw->isNull || (type != MDB_TEXT && type != MDB_MEMO))
                continue;
            const std::optional<QByteArray> stored = storedText(mdb, type, *raw);
            if (!stored || holdsNul(*stored, jet3) || !whole(bound->text))
                return std::nullopt;
        }
        LanguageRow row;
        row.language = valueOf(language.column, language.text.data(), languageRaw.isNull);
        row.name = valueOf(name.column, name.text.data(), nameRaw.isNull);
        if (holdsControl(row.name.text))
            return std::nullopt;
        rows.append(row);
    }
    return rows;
}

} // namespace

LanguageTableResult readLanguageTableWithLibmdb(QByteArray bytes)
{
    return readTwoColumnsWithLibmdb(std::move(bytes), "LookupLanguages", "Language", "Name");
}

LanguageTableResult readTwoColumnsWithLibmdb(
    QByteArray bytes, const char *tableName, const char *languageColumn, const char *nameColumn)
{
    // Numbers come back as text from libmdb; read them in the C locale
    // whatever the process's locale is (this runs in a child of its own).
    std::setlocale(LC_NUMERIC, "C");

    LanguageTableResult result;
    std::unique_ptr<MdbHandle, HandleCloser> mdb(
        mdb_open_buffer(bytes.data(), size_t(bytes.size()), MDB_NOFLAGS));
    if (!mdb) {
        result.status = Status::NotJet;
        return result;
    }
    if (!mdb_read_catalog(mdb.get(), MDB_TABLE)) {
        result.status = Status::Damaged;
        return result;
    }

    MdbCatalogEntry *entry = findTable(mdb.get(), tableName);
    if (!entry) {
        result.status = Status::TableMissing;
        return result;
    }

    std::unique_ptr<MdbTableDef, TableFreer> table(mdb_read_table(entry));
    if (!table || !mdb_read_columns(table.get())) {
        result.status = Status::Damaged;
        return result;
    }
    BoundColumn language;
    BoundColumn name;
    language.index = columnIndex(table.get(), languageColumn);
    name.index = columnIndex(table.get(), nameColumn);
    if (language.index < 0 || name.index < 0) {
        result.status = Status::ColumnMissing;
        return result;
    }
    for (BoundColumn *bound : { &language, &name }) {
        bound->text.assign(mdb->bind_size + 1, '\0');
        bound->column
            = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, guint(bound->index)));
        if (mdb_bind_column(table.get(), bound->index + 1, bound->text.data(), &bound->length)
            < 0) {
            result.status = Status::Damaged;
            return result;
        }
    }
    if (!usableLanguageType(language.column->col_type) || !usableNameType(name.column->col_type)) {
        result.status = Status::Damaged;
        return result;
    }

    std::optional<QVector<LanguageRow>> rows = readRows(mdb.get(), table.get(), language, name);
    if (!rows) {
        result.status = Status::Damaged;
        return result;
    }
    result.rows = std::move(*rows);
    result.status = Status::Ok;
    return result;
}
