#pragma once

#include <QByteArray>

#include <vector>

// The layout of data pages and of the rows on them, read from the bytes of a
// page alone, in Jet 3 and Jet 4. A damaged row table or row gives a row
// whose values take bytes of their neighbours; these checks refuse such rows
// instead of handing out what the bytes happen to spell.

// A column as the table's definition page describes it.
struct JetColumnPlace
{
    enum class Kind { Other, Text, Memo };
    Kind kind = Kind::Other;
    int number = 0; // in the table, for the null mask
    bool fixed = false;
    int fixedOffset = 0; // fixed columns: from the end of the column count
    int varIndex = 0; // variable columns: the place in the offset table
    int size = 0; // fixed columns: their bytes; variable ones: the most they hold, 0 for no limit
};

// Where one value of a row lies on its page.
struct JetFieldPlace
{
    bool isNull = true;
    int start = 0;
    int size = 0;
};

// Whether the row table of a data page is sound: every entry, deleted rows
// and rows moved elsewhere among them, places its row after the table and
// inside the page, each below the one before (rows fill the page from its
// end, and a row ends where the one before it starts), so that no two rows
// share a byte.
bool jetRowTableSound(const QByteArray &page, int rowCountOffset);

// Takes apart the row in [start, end) of the page, giving each column's
// place. False when the row contradicts its own layout or the table's
// definition:
//  - a column count of none, or more than the table has;
//  - a null mask, a count of variable columns or an offset table that does
//    not fit the row, or more variable columns than the table has;
//  - an offset table whose first variable column does not start where the
//    fixed columns end, whose offsets fall back, or whose end of data lies
//    beyond the start of the offset table;
//  - a value longer than its column allows;
//  - a Jet 4 text that is not two bytes a character and not compressed;
//  - a Memo whose header (12 bytes) does not fill the value when its text
//    lies elsewhere, or whose length does not match the text kept after it.
// (Jet 3 rows of 256 bytes or more add the high bytes of their offsets in a
// jump table, read the same way.)
bool crackJetRow(const QByteArray &page, int start, int end, bool jet4,
    const std::vector<JetColumnPlace> &columns, std::vector<JetFieldPlace> &fields);
