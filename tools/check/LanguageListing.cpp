#include "check/LanguageListing.h"

#include "description/LanguageResolver.h"
#include "description/StartupInput.h"
#include "description/TavlinModule.h"
#include "jet/JetLanguageTable.h"
#include "model/ScreenContext.h"
#include "model/VisuLayout.h"
#include "os/PathMapper.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const char *statusName(LanguageTableResult::Status status)
{
    switch (status) {
    case LanguageTableResult::Status::Ok:
        return "ok";
    case LanguageTableResult::Status::FileMissing:
        return "missing";
    case LanguageTableResult::Status::NotJet:
        return "not-jet";
    case LanguageTableResult::Status::Damaged:
        return "damaged";
    case LanguageTableResult::Status::TableMissing:
        return "no-table";
    case LanguageTableResult::Status::ColumnMissing:
        return "no-column";
    }
    return "damaged";
}

// The installation folder: the one given, else the description's VisuPfad.
QString visuPfad(const CheckOptions &options)
{
    ScreenContext context;
    TavlinModule module;
    if (!options.visuFolder.isEmpty())
        return visuPfadOf(options.visuFolder);
    context.TempPfad = workingFolder(options.tempFolder);
    const QString description = VisuLayout::descriptionFile(context.TempPfad);
    if (!readDescriptionInput(context, module).found)
        throw CheckFailed { QStringLiteral("no description %1 to take VisuPfad from, and no "
                                           "--visu")
                                .arg(description) };
    return context.VisuPfad;
}

} // namespace

QString languageTableProblem(LanguageTableResult::Status status)
{
    switch (status) {
    case LanguageTableResult::Status::Ok:
        break;
    case LanguageTableResult::Status::FileMissing:
        return QStringLiteral("is missing");
    case LanguageTableResult::Status::NotJet:
        return QStringLiteral("is no Access (Jet) database");
    case LanguageTableResult::Status::Damaged:
        return QStringLiteral("cannot be read (damaged)");
    case LanguageTableResult::Status::TableMissing:
        return QStringLiteral("has no table LookupLanguages");
    case LanguageTableResult::Status::ColumnMissing:
        return QStringLiteral("lacks the column Language or Name");
    }
    return QString();
}

LanguageListing readLanguageListing(const CheckOptions &options)
{
    const QString path = VisuLayout::languageTable(visuPfad(options));
    JetLanguageTable table;
    return LanguageListing { mapWindowsPath(path), table.read(path) };
}

QString languageListingText(const LanguageListing &listing)
{
    if (!listing.result.ok())
        return QStringLiteral("The language table %1 %2: the overlay shows every page in "
                              "English.\n")
            .arg(listing.table, languageTableProblem(listing.result.status));
    QString text;
    for (const LanguageRow &row : listing.result.rows) {
        const std::optional<double> number = languageNumber(row.language);
        text += (number ? QString::number(*number, 'g', 15) : QStringLiteral("-"))
            + QLatin1Char(' ')
            + (row.name.kind == JetValue::Kind::Null ? QStringLiteral("(no name)")
                                                     : languageNameText(row.name))
            + QLatin1Char('\n');
    }
    return text;
}

QByteArray languageListingJson(const LanguageListing &listing)
{
    QJsonArray rows;
    for (const LanguageRow &row : listing.result.rows) {
        const std::optional<double> number = languageNumber(row.language);
        rows.append(QJsonObject {
            { QStringLiteral("language"), number ? QJsonValue(*number) : QJsonValue() },
            { QStringLiteral("name"),
                row.name.kind == JetValue::Kind::Null ? QJsonValue()
                                                      : QJsonValue(languageNameText(row.name)) },
        });
    }
    const QJsonObject root {
        { QStringLiteral("table"), listing.table },
        { QStringLiteral("status"), QLatin1String(statusName(listing.result.status)) },
        { QStringLiteral("rows"), rows },
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

int languageListingExitStatus(const LanguageListing &listing)
{
    return listing.result.ok() ? 0 : 1;
}
