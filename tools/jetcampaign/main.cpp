// Damages language tables the way a panel's flash memory would and reads each
// one as the overlay does. A campaign run by hand, not in the test command:
//   jet-campaign [MUTANTS [SEED]]        (20000 and 1 unless given)
// Ten tables (Jet 3 and Jet 4, five column layouts, 300 rows over several
// pages, names beyond ASCII) are damaged in turn: bytes changed anywhere or
// in the table's pages, the file cut, two pages swapped, header and row-table
// fields set to extreme values, row-table entries, variable-column offsets and
// Memo pointers moved. It prints how many reads gave a name the undamaged table
// does not hold, split by where the damage lay: inside a text's own bytes
// (no reader can tell), or in the structure; names with control characters;
// and the slowest reads.
#include "SampleTables.h"
#include "jet/JetLanguageTable.h"

#include <QElapsedTimer>
#include <QtEndian>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <vector>

namespace {

using Version = JetWriter::Version;
using Table = SampleTable;

// The damages; each returns the damaged bytes.
using Random = std::mt19937;

int below(Random &random, int n)
{
    return n <= 0 ? 0 : int(random() % unsigned(n));
}

// A page of the table's rows (a data page after the table's definition).
int dataPage(const Table &table, Random &random)
{
    std::vector<int> pages;
    for (int p = 3; p < table.bytes.size() / table.pageSize; ++p)
        if (table.bytes.at(p * table.pageSize) == 0x01)
            pages.push_back(p);
    return pages.empty() ? 0 : pages[size_t(below(random, int(pages.size())))];
}

void put16(QByteArray &bytes, qsizetype at, int value)
{
    if (at >= 0 && at + 2 <= bytes.size())
        qToLittleEndian<quint16>(quint16(value), bytes.data() + at);
}

int get16(const QByteArray &bytes, qsizetype at)
{
    return at >= 0 && at + 2 <= bytes.size() ? qFromLittleEndian<quint16>(bytes.constData() + at)
                                             : 0;
}

QByteArray damage(const Table &table, int kind, Random &random)
{
    QByteArray bytes = table.bytes;
    const int size = int(bytes.size()), pageSize = table.pageSize;
    const int countAt = table.version == Version::Jet4 ? 12 : 8;
    const qsizetype page = qsizetype(dataPage(table, random)) * pageSize;
    const int rows = get16(bytes, page + countAt);
    const int row = below(random, rows);
    const int entry = get16(bytes, page + countAt + 2 + 2 * row);
    const int rowEnd = row == 0 ? pageSize : get16(bytes, page + countAt + 2 * row) & 0x1fff;
    const int extremes[] = { 0, 1, 0xff, 0xffff, pageSize, pageSize - 1, 0x8000, 0x4000 | entry };
    switch (kind) {
    case 0: // bytes anywhere
        for (int n = 1 + below(random, 3); n > 0; --n)
            bytes[below(random, size)] = char(random());
        break;
    case 1: // bytes in one of the table's pages
        for (int n = 1 + below(random, 3); n > 0; --n)
            bytes[page + below(random, pageSize)] = char(random());
        break;
    case 2: // cut
        bytes.truncate(below(random, size));
        break;
    case 3: { // two pages swapped
        const int a = below(random, size / pageSize), b = below(random, size / pageSize);
        const QByteArray first = bytes.mid(a * pageSize, pageSize);
        bytes.replace(a * pageSize, pageSize, bytes.mid(b * pageSize, pageSize));
        bytes.replace(b * pageSize, pageSize, first);
        break;
    }
    case 4: // a header or row-table field of a data page, or of the definition, at an extreme
        put16(bytes,
            (below(random, 2) ? page : 4 * pageSize)
                + 2 * below(random, (countAt + 2 + 2 * rows) / 2),
            extremes[below(random, 8)]);
        break;
    case 5: // a row-table entry moved a little, or to an extreme
        put16(bytes, page + countAt + 2 + 2 * row,
            below(random, 2) ? entry + below(random, 5) - 2 : extremes[below(random, 8)]);
        break;
    case 6: { // a byte of the row's end: offsets, counts and null mask
        const qsizetype at = page + rowEnd - 1 - below(random, 12);
        bytes[at] = char(quint8(bytes.at(at)) + below(random, 5) - 2);
        break;
    }
    default: { // a Memo kept in the row sent to a page: its length's high bytes 00 80
        const qsizetype at = bytes.indexOf(QByteArray::fromHex("000080"), page + (entry & 0x1fff));
        if (at > 0 && at + 7 < page + rowEnd) {
            bytes[at + 2] = char(below(random, 2) ? 0x40 : 0x00); // on one page, or a chain
            qToLittleEndian<quint32>(
                quint32(below(random, size / pageSize)) << 8, bytes.data() + at + 3);
        }
        break;
    }
    }
    return bytes;
}

const char *const kKinds[] = { "bytes anywhere", "bytes in a data page", "cut", "pages swapped",
    "extreme field", "row-table entry", "row end (offsets, counts, mask)", "Memo pointer" };
constexpr int kKindCount = 8;

bool holdsControl(const QString &name)
{
    return std::any_of(name.cbegin(), name.cend(),
        [](QChar c) { return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F); });
}

struct Tally
{
    int reads = 0, refused = 0, foreignText = 0, reSplit = 0, foreignStructure = 0, control = 0;
};

} // namespace

int main(int argc, char **argv)
{
    const int mutants = argc > 1 ? std::atoi(argv[1]) : 20000;
    Random random(argc > 2 ? unsigned(std::atoi(argv[2])) : 1u);
    const std::vector<Table> tables = sampleTables();
    std::map<int, Tally> byKind;
    std::vector<std::pair<qint64, QString>> slowest;
    QStringList examples;
    for (int m = 0; m < mutants; ++m) {
        const Table &table = tables[size_t(m) % tables.size()];
        const int kind = below(random, kKindCount);
        const QByteArray bytes = damage(table, kind, random);
        QElapsedTimer timer;
        timer.start();
        const LanguageTableResult result = JetLanguageTable::readBytes(bytes);
        slowest.emplace_back(timer.nsecsElapsed() / 1000, table.title + ", " + kKinds[kind]);
        std::sort(slowest.rbegin(), slowest.rend());
        slowest.resize(std::min<size_t>(slowest.size(), 3));

        Tally &tally = byKind[kind];
        ++tally.reads;
        tally.refused += result.ok() ? 0 : 1;
        bool textHit = false;
        for (qsizetype i = 0; i < std::min(bytes.size(), table.bytes.size()); ++i)
            textHit = textHit || (bytes.at(i) != table.bytes.at(i) && table.textByte[size_t(i)]);
        for (const LanguageRow &row : result.rows) {
            // An empty name is no name: the overlay takes English, as for null.
            if (row.name.text.isEmpty() || table.names.contains(row.name.text))
                continue;
            tally.control += holdsControl(row.name.text) ? 1 : 0;
            const bool reSplit = !textHit && table.reSplit(row.name.text);
            (textHit ? tally.foreignText : reSplit ? tally.reSplit : tally.foreignStructure) += 1;
            if (!textHit && !reSplit && examples.size() < 12)
                examples
                    << QStringLiteral("%1, %2: '%3'").arg(table.title, kKinds[kind], row.name.text);
            break; // one foreign name makes the read count
        }
    }

    Tally all;
    std::printf("foreign names (not in the table, not empty), by where the damage lay: inside a "
                "text's own bytes; in the structure, re-splitting one row's texts; elsewhere in "
                "the structure\n");
    std::printf("%-34s %7s %8s %6s %9s %7s %8s\n", "damage", "reads", "refused", "text", "re-split",
        "other", "control");
    const auto print = [](const char *what, const Tally &t) {
        std::printf("%-34s %7d %8d %6d %9d %7d %8d\n", what, t.reads, t.refused, t.foreignText,
            t.reSplit, t.foreignStructure, t.control);
    };
    for (const auto &[kind, t] : byKind) {
        print(kKinds[kind], t);
        all.reads += t.reads;
        all.refused += t.refused;
        all.foreignText += t.foreignText;
        all.reSplit += t.reSplit;
        all.foreignStructure += t.foreignStructure;
        all.control += t.control;
    }
    print("all", all);
    for (const QString &example : examples)
        std::printf("  structure: %s\n", qPrintable(example));
    for (const auto &[us, what] : slowest)
        std::printf("slow read: %.1f ms (%s)\n", us / 1000.0, qPrintable(what));
    return 0;
}
