#include "jet/JetRowLayout.h"

#include <algorithm>

namespace {

int byteAt(const QByteArray &page, int at)
{
    return quint8(page.at(at));
}

int wordAt(const QByteArray &page, int at)
{
    return byteAt(page, at) | byteAt(page, at + 1) << 8;
}

// The variable columns' offsets from the row's start, the end of their data
// last: Jet 4 keeps two bytes for each, from the count of variable columns
// downwards.
bool jet4Offsets(const QByteArray &page, int dataStart, int countAt, int count,
    std::vector<int> &offsets, int &tableStart)
{
    tableStart = countAt - 2 * (count + 1);
    if (tableStart < dataStart)
        return false;
    for (int i = 0; i <= count; ++i)
        offsets.push_back(wordAt(page, countAt - 2 - 2 * i));
    return true;
}

// Jet 3 keeps one byte for each and, for a row of 256 bytes or more, a jump
// table below the count: the column numbers from which on each further 256
// is added. The last jump is left out when the offset table itself lies in
// the 256 bytes below it.
bool jet3Offsets(const QByteArray &page, int start, int end, int countAt, int count,
    std::vector<int> &offsets, int &tableStart)
{
    int jumps = (end - start - 1) / 256;
    const int first = countAt - jumps - 1; // the first column's offset
    tableStart = first - count;
    if (tableStart < start + 1)
        return false;
    if ((first - start - count) / 256 < jumps)
        --jumps;
    int used = 0;
    for (int i = 0; i <= count; ++i) {
        while (used < jumps && i == byteAt(page, countAt - used - 1))
            ++used;
        offsets.push_back(byteAt(page, first - i) + 256 * used);
    }
    return true;
}

// Whether a Jet 4 text value's bytes are possible: two bytes a character,
// unless it starts with the compression mark FF FE.
bool jet4TextSound(const QByteArray &stored)
{
    return stored.startsWith("\xff\xfe") || stored.size() % 2 == 0;
}

// A text or Memo value as its column's kind has it (see crackJetRow).
bool valueSound(
    const QByteArray &page, const JetFieldPlace &field, JetColumnPlace::Kind kind, bool jet4)
{
    constexpr int kMemoHeader = 12;
    if (kind == JetColumnPlace::Kind::Text)
        return !jet4 || jet4TextSound(page.mid(field.start, field.size));
    if (kind != JetColumnPlace::Kind::Memo || field.size == 0)
        return true;
    if (field.size < kMemoHeader)
        return false;
    const quint32 length
        = quint32(wordAt(page, field.start)) | quint32(wordAt(page, field.start + 2)) << 16;
    if (!(length & 0x80000000u))
        return field.size == kMemoHeader;
    const int kept = field.size - kMemoHeader;
    return (length & 0x00ffffffu) == quint32(kept)
        && (!jet4 || jet4TextSound(page.mid(field.start + kMemoHeader, kept)));
}

// What a row says of itself at its two ends: its column count, where its null
// mask lies, and its variable columns' offsets with where their table begins.
struct RowFrame
{
    int start = 0, countSize = 0, columns = 0, maskAt = 0, variable = 0, tableStart = 0;
    std::vector<int> offsets; // from the row's start, the end of data last

    int fixedColumns() const { return columns - variable; }
};

bool readFrame(const QByteArray &page, int start, int end, bool jet4, int tableColumns,
    int tableVariable, RowFrame &row)
{
    row.start = start;
    row.countSize = jet4 ? 2 : 1;
    if (start < 0 || end > page.size() || end - start < row.countSize)
        return false;
    row.columns = jet4 ? wordAt(page, start) : byteAt(page, start);
    if (row.columns == 0 || row.columns > tableColumns)
        return false;
    row.maskAt = end - (row.columns + 7) / 8;
    row.tableStart = row.maskAt;
    const int dataStart = start + row.countSize;
    if (row.maskAt < dataStart)
        return false;
    if (tableVariable == 0)
        return true;
    const int countAt = row.maskAt - row.countSize;
    if (countAt < dataStart)
        return false;
    row.variable = jet4 ? wordAt(page, countAt) : byteAt(page, countAt);
    if (row.variable > tableVariable || row.variable > row.columns)
        return false;
    return jet4 ? jet4Offsets(page, dataStart, countAt, row.variable, row.offsets, row.tableStart)
                : jet3Offsets(page, start, end, countAt, row.variable, row.offsets, row.tableStart);
}

// The row's fixed columns are the table's first ones (a row written before a
// column was added lacks the last); the variable ones start where they end,
// never fall back, and end at or before the offset table: the desktop
// database program leaves bytes between data and table at times.
bool offsetsFitFixedColumns(const RowFrame &row, const std::vector<JetColumnPlace> &columns)
{
    const int rowFixed = row.fixedColumns();
    int fixedEnd = row.countSize;
    int fixedSeen = 0;
    for (const JetColumnPlace &c : columns)
        if (c.fixed && ++fixedSeen <= rowFixed)
            fixedEnd = std::max(fixedEnd, row.countSize + c.fixedOffset + c.size);
    if (row.start + fixedEnd > row.tableStart)
        return false;
    return row.offsets.empty()
        || (row.offsets.front() == fixedEnd && row.offsets.back() <= row.tableStart - row.start
            && std::is_sorted(row.offsets.begin(), row.offsets.end()));
}

} // namespace

bool jetRowTableSound(const QByteArray &page, int rowCountOffset)
{
    if (rowCountOffset + 2 > page.size())
        return false;
    const int rows = wordAt(page, rowCountOffset);
    const int tableEnd = rowCountOffset + 2 + 2 * rows;
    if (tableEnd > page.size())
        return false;
    int above = int(page.size());
    for (int row = 0; row < rows; ++row) {
        const int start = wordAt(page, rowCountOffset + 2 + 2 * row) & 0x1fff;
        if (start < tableEnd || start >= above)
            return false;
        above = start;
    }
    return true;
}

bool crackJetRow(const QByteArray &page, int start, int end, bool jet4,
    const std::vector<JetColumnPlace> &columns, std::vector<JetFieldPlace> &fields)
{
    const int tableVariable = int(std::count_if(
        columns.begin(), columns.end(), [](const JetColumnPlace &c) { return !c.fixed; }));
    RowFrame row;
    if (!readFrame(page, start, end, jet4, int(columns.size()), tableVariable, row)
        || !offsetsFitFixedColumns(row, columns))
        return false;

    fields.assign(columns.size(), JetFieldPlace());
    int fixedSeen = 0;
    for (size_t i = 0; i < columns.size(); ++i) {
        const JetColumnPlace &c = columns[i];
        JetFieldPlace &field = fields[i];
        const bool inRow = c.fixed ? ++fixedSeen <= row.fixedColumns() : c.varIndex < row.variable;
        if (!inRow)
            continue;
        if (c.number < row.columns)
            field.isNull = !(byteAt(page, row.maskAt + c.number / 8) & (1 << (c.number % 8)));
        if (c.fixed) {
            field.start = start + row.countSize + c.fixedOffset;
            field.size = c.size;
            continue;
        }
        const size_t at = size_t(c.varIndex);
        field.start = start + row.offsets[at];
        field.size = row.offsets[at + 1] - row.offsets[at];
        if (!field.isNull
            && ((c.size > 0 && field.size > c.size) || !valueSound(page, field, c.kind, jet4)))
            return false;
    }
    return true;
}
