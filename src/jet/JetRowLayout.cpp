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
    const int countSize = jet4 ? 2 : 1;
    if (start < 0 || end > page.size() || end - start < countSize)
        return false;
    const int rowColumns = jet4 ? wordAt(page, start) : byteAt(page, start);
    if (rowColumns == 0 || rowColumns > int(columns.size()))
        return false;
    const int maskAt = end - (rowColumns + 7) / 8;
    const int dataStart = start + countSize;
    if (maskAt < dataStart)
        return false;

    const int tableVariable = int(std::count_if(
        columns.begin(), columns.end(), [](const JetColumnPlace &c) { return !c.fixed; }));
    int rowVariable = 0;
    std::vector<int> offsets;
    int tableStart = maskAt;
    if (tableVariable > 0) {
        const int countAt = maskAt - countSize;
        if (countAt < dataStart)
            return false;
        rowVariable = jet4 ? wordAt(page, countAt) : byteAt(page, countAt);
        if (rowVariable > tableVariable || rowVariable > rowColumns)
            return false;
        if (!(jet4 ? jet4Offsets(page, dataStart, countAt, rowVariable, offsets, tableStart)
                   : jet3Offsets(page, start, end, countAt, rowVariable, offsets, tableStart)))
            return false;
    }

    // The row's fixed columns are the table's first ones: a row written
    // before a column was added lacks the last.
    const int rowFixed = rowColumns - rowVariable;
    int fixedEnd = countSize;
    int fixedSeen = 0;
    for (const JetColumnPlace &c : columns)
        if (c.fixed && ++fixedSeen <= rowFixed)
            fixedEnd = std::max(fixedEnd, countSize + c.fixedOffset + c.size);
    if (start + fixedEnd > tableStart)
        return false;
    // The data may end a little before the offset table: the desktop database
    // program leaves bytes between them at times.
    if (tableVariable > 0) {
        if (offsets.front() != fixedEnd || offsets.back() > tableStart - start)
            return false;
        if (!std::is_sorted(offsets.begin(), offsets.end()))
            return false;
    }

    fields.assign(columns.size(), JetFieldPlace());
    fixedSeen = 0;
    for (size_t i = 0; i < columns.size(); ++i) {
        const JetColumnPlace &c = columns[i];
        JetFieldPlace &field = fields[i];
        const bool inRow = c.fixed ? ++fixedSeen <= rowFixed : c.varIndex < rowVariable;
        if (!inRow)
            continue;
        if (c.number < rowColumns)
            field.isNull = !(byteAt(page, maskAt + c.number / 8) & (1 << (c.number % 8)));
        if (c.fixed) {
            field.start = dataStart + c.fixedOffset;
            field.size = c.size;
        } else {
            field.start = start + offsets[size_t(c.varIndex)];
            field.size = offsets[size_t(c.varIndex) + 1] - offsets[size_t(c.varIndex)];
            if (!field.isNull
                && ((c.size > 0 && field.size > c.size) || !valueSound(page, field, c.kind, jet4)))
                return false;
        }
    }
    return true;
}
