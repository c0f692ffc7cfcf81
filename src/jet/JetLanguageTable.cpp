#include "jet/JetLanguageTable.h"

#include "jet/IsolatedCall.h"
#include "jet/JetFileCheck.h"
#include "jet/LibmdbLanguageRead.h"
#include "os/PathMapper.h"

#include <QDataStream>
#include <QFile>
#include <QFileInfo>

namespace {

using Status = LanguageTableResult::Status;

// How long the child may take. A language table is read in milliseconds, on
// one busy core too; a file that keeps libmdb busy longer is treated as
// damaged. The overlay's start waits for this, so it is short: damage that
// sends libmdb's catalog walk round in a loop costs the operator a second.
constexpr int kChildTimeLimitMs = 1000;
constexpr quint32 kAnswerMagic = 0x5441564a; // "TAVJ"
constexpr quint32 kAnswerEnd = 0x454e4421; // "END!"

QByteArray encodeAnswer(const LanguageTableResult &result)
{
    QByteArray answer;
    QDataStream out(&answer, QIODevice::WriteOnly);
    out << kAnswerMagic << qint32(result.status) << qint32(result.rows.size());
    for (const LanguageRow &row : result.rows) {
        for (const JetValue *v : { &row.language, &row.name })
            out << qint32(v->kind) << v->number << v->text;
    }
    out << kAnswerEnd;
    return answer;
}

// The child's answer, or a damaged-file result when it is not whole.
LanguageTableResult decodeAnswer(const QByteArray &answer)
{
    LanguageTableResult damaged;
    damaged.status = Status::Damaged;

    QDataStream in(answer);
    quint32 magic = 0;
    qint32 status = 0;
    qint32 count = 0;
    in >> magic >> status >> count;
    if (in.status() != QDataStream::Ok || magic != kAnswerMagic || status < int(Status::Ok)
        || status > int(Status::ColumnMissing) || count < 0)
        return damaged;

    LanguageTableResult result;
    result.status = Status(status);
    for (qint32 i = 0; i < count; ++i) {
        LanguageRow row;
        for (JetValue *v : { &row.language, &row.name }) {
            qint32 kind = 0;
            in >> kind >> v->number >> v->text;
            if (in.status() != QDataStream::Ok || kind < int(JetValue::Kind::Null)
                || kind > int(JetValue::Kind::Other))
                return damaged;
            v->kind = JetValue::Kind(kind);
        }
        result.rows.append(row);
    }
    quint32 end = 0;
    in >> end;
    if (in.status() != QDataStream::Ok || end != kAnswerEnd || !in.atEnd())
        return damaged;
    if (!result.ok())
        result.rows.clear();
    return result;
}

} // namespace

LanguageTableResult JetLanguageTable::readBytes(const QByteArray &bytes)
{
    LanguageTableResult result;
    switch (checkJetFile(bytes)) {
    case JetFileKind::NotJet:
        result.status = Status::NotJet;
        return result;
    case JetFileKind::Damaged:
        result.status = Status::Damaged;
        return result;
    case JetFileKind::Jet3:
    case JetFileKind::Jet4:
        break;
    }
    const std::optional<QByteArray> answer = runIsolated(
        [&bytes] { return encodeAnswer(readLanguageTableWithLibmdb(bytes)); }, kChildTimeLimitMs);
    if (!answer) {
        result.status = Status::Damaged;
        return result;
    }
    return decodeAnswer(*answer);
}

LanguageTableResult JetLanguageTable::read(const QString &windowsPath)
{
    LanguageTableResult result;
    result.status = Status::FileMissing;
    QFile file(mapWindowsPath(windowsPath));
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
        return result;
    if (file.size() > kMaxFileSize) {
        result.status = Status::Damaged;
        return result;
    }
    const QByteArray bytes = file.read(kMaxFileSize + 1);
    const bool readWell = file.error() == QFileDevice::NoError;
    file.close();
    if (!readWell) {
        result.status = Status::Damaged;
        return result;
    }
    return readBytes(bytes);
}
