#include "support/JetFixtures.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

QString writeJetFile(const QString &path, const JetWriter &writer)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QString error;
    EXPECT_TRUE(writer.write(path, &error)) << path.toStdString() << ": " << error.toStdString();
    return path;
}

JetWriter languageTableWriter(
    const std::vector<std::pair<QVariant, QVariant>> &rows, JetWriter::Version version)
{
    JetWriter writer(version);
    writer.setTableName(QStringLiteral("LookupLanguages"));
    writer.addColumn(QStringLiteral("Language"), JetWriter::ColumnType::LongInteger);
    writer.addColumn(QStringLiteral("Name"), JetWriter::ColumnType::Text, 50);
    for (const auto &[language, name] : rows)
        writer.addRow({ language, name });
    return writer;
}

QString realJetFile(const char *name)
{
    return QStringLiteral(TAVLIN_SOURCE_DIR "/tests/data/jet/") + QLatin1String(name);
}
