#include "platform/LibmdbLanguageRead.h"

#include <mdbtools.h>

#include <clocale>
#include <cstdlib>
#include <memory>
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

// Whether the two columns are null in the row just fetched. Binding cannot
// tell: libmdb hands out a null and an empty text alike. The row's null mask
// can, so the row is taken apart once more from the page still loaded.
// Returns false when that is not possible.
bool nullFlags(
    MdbHandle *mdb, MdbTableDef *table, int first, int second, bool &firstNull, bool &secondNull)
{
    if (table->cur_row == 0 || mdb->cur_pg != table->cur_phys_pg || table->num_cols > MDB_MAX_COLS)
        return false;
    int start = 0;
    size_t size = 0;
    if (mdb_find_row(mdb, int(table->cur_row - 1), &start, &size) != 0)
        return false;
    std::vector<MdbField> fields(MDB_MAX_COLS);
    const int count = mdb_crack_row(table, start & 0x1fff, size, fields.data());
    if (count <= first || count <= second)
        return false;
    firstNull = fields[size_t(first)].is_null;
    secondNull = fields[size_t(second)].is_null;
    return true;
}

// The value just fetched into a bound column; libmdb writes every value out
// as text.
JetValue valueOf(const MdbColumn *col, const char *bound, bool isNull)
{
    if (isNull && col->col_type != MDB_BOOL)
        return JetValue::null();
    switch (col->col_type) {
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
    case MDB_FLOAT:
    case MDB_DOUBLE:
    case MDB_MONEY: {
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

} // namespace

LanguageTableResult readLanguageTableWithLibmdb(QByteArray bytes)
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

    MdbCatalogEntry *entry = nullptr;
    for (guint i = 0; i < mdb->num_catalog && i < mdb->catalog->len; ++i) {
        auto *e = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, i));
        if (e->object_type == MDB_TABLE && sameName(e->object_name, "LookupLanguages")) {
            entry = e;
            break;
        }
    }
    if (!entry) {
        result.status = Status::TableMissing;
        return result;
    }

    std::unique_ptr<MdbTableDef, TableFreer> table(mdb_read_table(entry));
    if (!table || !mdb_read_columns(table.get())) {
        result.status = Status::Damaged;
        return result;
    }
    const int language = columnIndex(table.get(), "Language");
    const int name = columnIndex(table.get(), "Name");
    if (language < 0 || name < 0) {
        result.status = Status::ColumnMissing;
        return result;
    }

    std::vector<char> languageText(mdb->bind_size + 1, '\0');
    std::vector<char> nameText(mdb->bind_size + 1, '\0');
    int languageLength = 0;
    int nameLength = 0;
    if (mdb_bind_column(table.get(), language + 1, languageText.data(), &languageLength) < 0
        || mdb_bind_column(table.get(), name + 1, nameText.data(), &nameLength) < 0) {
        result.status = Status::Damaged;
        return result;
    }
    const auto *languageColumn
        = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, guint(language)));
    const auto *nameColumn
        = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, guint(name)));

    mdb_rewind_table(table.get());
    while (mdb_fetch_row(table.get())) {
        bool languageNull = false;
        bool nameNull = false;
        if (!nullFlags(mdb.get(), table.get(), language, name, languageNull, nameNull)) {
            // Without the null mask: a value that starts nowhere is null.
            languageNull = languageColumn->cur_value_start == 0;
            nameNull = nameColumn->cur_value_start == 0;
        }
        LanguageRow row;
        row.language = valueOf(languageColumn, languageText.data(), languageNull);
        row.name = valueOf(nameColumn, nameText.data(), nameNull);
        result.rows.append(row);
    }
    result.status = Status::Ok;
    return result;
}
