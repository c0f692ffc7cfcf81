#include "check/ReportOutput.h"

#include "check/CheckReport.h"
#include "os/PathMapper.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>

namespace {

QString severityName(Finding::Severity severity)
{
    return severity == Finding::Severity::Error ? QStringLiteral("error")
                                                : QStringLiteral("warning");
}

QString plural(int n, const char *one, const char *more)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : more));
}

QString summary(const CheckReport &report)
{
    return QStringLiteral("%1, %2 in %3 and %4 (%5 checked)")
        .arg(plural(report.count(Finding::Severity::Error), "error", "errors"),
            plural(report.count(Finding::Severity::Warning), "warning", "warnings"),
            plural(report.entries, "entry", "entries"),
            plural(int(report.languages.size()), "language", "languages"),
            plural(report.pagesChecked, "page", "pages"));
}

// Where a file the overlay names by its Windows path lies on this file system;
// empty for a name that is no such path.
QString localPath(const QString &file)
{
    const bool windows = file.size() > 2 && file.at(1) == QLatin1Char(':')
        && file.at(2) == QLatin1Char('\\') && file.at(0).isLetter();
    return windows ? mapWindowsPath(file) : QString();
}

// Every place of a finding, in JSON.
QJsonObject place(const FindingPlace &p)
{
    return { { QStringLiteral("entry"), p.entry }, { QStringLiteral("name"), p.name },
        { QStringLiteral("file"), p.file }, { QStringLiteral("localFile"), localPath(p.file) },
        { QStringLiteral("line"), p.line }, { QStringLiteral("element"), p.element } };
}

} // namespace

int CheckReport::count(Finding::Severity severity) const
{
    return int(std::count_if(findings.cbegin(), findings.cend(),
        [severity](const Finding &f) { return f.severity == severity; }));
}

int CheckReport::exitStatus(bool warningsAreErrors) const
{
    if (count(Finding::Severity::Error) > 0 || (warningsAreErrors && !findings.isEmpty()))
        return 1;
    return findings.isEmpty() ? 0 : 2;
}

QString reportText(const CheckReport &report)
{
    QString text = QStringLiteral("Tavlin help check of %1\n").arg(report.descriptionFile);
    text += QStringLiteral("  screen %1 x %2, %3, languages: %4\n")
                .arg(report.displayWidth)
                .arg(report.displayHeight)
                .arg(plural(report.entries, "entry", "entries"),
                    report.languages.isEmpty() ? QStringLiteral("none")
                                               : report.languages.join(QLatin1String(", ")));
    for (const QString &note : report.notes)
        text += QStringLiteral("  note: %1\n").arg(note);

    QMap<int, QVector<const Finding *>> groups;
    for (const Finding &finding : report.findings)
        groups[finding.entry].append(&finding);
    for (auto it = groups.cbegin(); it != groups.cend(); ++it) {
        const Finding &first = *it.value().first();
        text += it.key() < 0 ? QStringLiteral("\nDescription, language table and footer\n")
                             : QStringLiteral("\nEntry %1 \"%2\"\n").arg(it.key()).arg(first.name);
        for (const Finding *f : it.value()) {
            QString where = f->file.isEmpty() ? f->element : f->file;
            if (f->line > 0)
                where += QStringLiteral(":%1").arg(f->line);
            text += QStringLiteral("  %1  %2\n").arg(severityName(f->severity), -7).arg(where);
            if (const QString local = localPath(f->file); !local.isEmpty())
                text += QStringLiteral("           on this machine: %1\n").arg(local);
            if (!f->element.isEmpty() && !f->file.isEmpty())
                text += QStringLiteral("           %1\n").arg(f->element);
            text += QStringLiteral("           %1").arg(f->message);
            if (f->languages.size() > 1 || (f->languages.size() == 1 && f->file.isEmpty()))
                text += QStringLiteral(" [%1]").arg(f->languages.join(QLatin1String(", ")));
            text += QStringLiteral(" (%1)\n").arg(f->kind);
            if (!f->morePlaces.isEmpty())
                text += QStringLiteral("           the same in %1 more places, the first %2:%3\n")
                            .arg(f->morePlaces.size())
                            .arg(f->morePlaces.first().file)
                            .arg(f->morePlaces.first().line);
        }
    }
    text += QStringLiteral("\nSummary: %1\n").arg(summary(report));
    return text;
}

QByteArray reportJson(const CheckReport &report)
{
    QJsonArray findings;
    for (const Finding &f : report.findings) {
        QJsonObject object;
        object[QStringLiteral("severity")] = severityName(f.severity);
        object[QStringLiteral("kind")] = f.kind;
        object[QStringLiteral("entry")] = f.entry;
        object[QStringLiteral("name")] = f.name;
        object[QStringLiteral("file")] = f.file;
        object[QStringLiteral("localFile")] = localPath(f.file);
        object[QStringLiteral("line")] = f.line;
        object[QStringLiteral("element")] = f.element;
        object[QStringLiteral("message")] = f.message;
        object[QStringLiteral("languages")] = QJsonArray::fromStringList(f.languages);
        QJsonArray places;
        places.append(place({ f.entry, f.name, f.file, f.line, f.element }));
        for (const FindingPlace &more : f.morePlaces)
            places.append(place(more));
        object[QStringLiteral("places")] = places;
        findings.append(object);
    }
    QJsonObject root;
    root[QStringLiteral("description")] = report.descriptionFile;
    root[QStringLiteral("width")] = report.displayWidth;
    root[QStringLiteral("height")] = report.displayHeight;
    root[QStringLiteral("entries")] = report.entries;
    root[QStringLiteral("languages")] = QJsonArray::fromStringList(report.languages);
    root[QStringLiteral("notes")] = QJsonArray::fromStringList(report.notes);
    root[QStringLiteral("pages")] = report.pagesChecked;
    root[QStringLiteral("errors")] = report.count(Finding::Severity::Error);
    root[QStringLiteral("warnings")] = report.count(Finding::Severity::Warning);
    root[QStringLiteral("findings")] = findings;
    root[QStringLiteral("summary")] = summary(report);
    return QJsonDocument(root).toJson();
}
