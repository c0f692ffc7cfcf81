#include "JetWriter.h"
#include "TsvRows.h"
#include "support/JetFixtures.h"

#include <gtest/gtest.h>

using Type = JetWriter::ColumnType;
using Version = JetWriter::Version;

// Unreadable numbers are refused with line and column, never written as 0; a BOM stays text.
TEST(JetWriter, tsvRowsRefuseWhatTheyCannotRead)
{
    const JetWriter empty = languageTableWriter({}, Version::Jet4,
        { { "Language", Type::LongInteger }, { "Name", Type::Text }, { "Small", Type::Integer } });
    JetWriter good = empty;
    QString error;
    ASSERT_TRUE(addTsvRows("1\tDeutsch\t7\n\tEnglish\t\r\n", good, &error)) << error.toStdString();
    EXPECT_EQ(good.rows(),
        (QVector<JetWriter::Row> { { 1, "Deutsch", 7 }, { QVariant(), "English", QVariant() } }));

    for (const QByteArray line :
        { "abc\tX\t1", "1.5\tX\t1", "1e3\tX\t1", "0x10\tX\t1", " 1\tX\t1", "+\tX\t1",
            "2147483648\tX\t1", "99999999999999999999\tX\t1", "1\tX\t32768", "1\tX\t-32769" }) {
        JetWriter bad = empty;
        EXPECT_FALSE(addTsvRows("2\tY\t2\n" + line + "\n", bad, &error)) << line.constData();
        EXPECT_TRUE(error.startsWith(
            QStringLiteral("line 2, column %1:").arg(line.startsWith("1\tX") ? 3 : 1)))
            << error.toStdString();
        EXPECT_TRUE(bad.rows().isEmpty());
    }

    JetWriter bom = languageTableWriter({}, Version::Jet4, { { "Name", Type::Text } });
    ASSERT_TRUE(addTsvRows("\xEF\xBB\xBF" + QByteArray("Deutsch\n"), bom, &error));
    EXPECT_TRUE(bom.build(&error).isEmpty());
}
