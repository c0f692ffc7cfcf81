#include "check/ReportFormats.h"

#include "check/CheckReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QXmlStreamWriter>

namespace {

bool isError(const Finding &finding)
{
    return finding.severity == Finding::Severity::Error;
}

// Where a finding lies: its file, else the key or symbol it is about, with its line.
QString place(const Finding &finding)
{
    QString where = finding.file.isEmpty() ? finding.element : finding.file;
    if (finding.line > 0)
        where += QStringLiteral(":%1").arg(finding.line);
    return where;
}

QJsonObject sarifResult(const Finding &finding)
{
    QJsonObject region;
    if (finding.line > 0)
        region[QStringLiteral("startLine")] = finding.line;
    QJsonObject physical;
    physical[QStringLiteral("artifactLocation")] = QJsonObject { { QStringLiteral("uri"),
        QString(finding.file.isEmpty() ? finding.element : finding.file)
            .replace(QLatin1Char('\\'), QLatin1Char('/')) } };
    if (!region.isEmpty())
        physical[QStringLiteral("region")] = region;
    QJsonObject result;
    result[QStringLiteral("ruleId")] = finding.kind;
    result[QStringLiteral("level")] = isError(finding) ? "error" : "warning";
    result[QStringLiteral("message")] = QJsonObject { { QStringLiteral("text"),
        finding.element.isEmpty() || finding.file.isEmpty()
            ? finding.message
            : finding.element + QStringLiteral(": ") + finding.message } };
    result[QStringLiteral("locations")]
        = QJsonArray { QJsonObject { { QStringLiteral("physicalLocation"), physical } } };
    QJsonObject properties;
    properties[QStringLiteral("entry")] = finding.entry;
    properties[QStringLiteral("name")] = finding.name;
    properties[QStringLiteral("languages")] = QJsonArray::fromStringList(finding.languages);
    result[QStringLiteral("properties")] = properties;
    return result;
}

} // namespace

QByteArray reportSarif(const CheckReport &report)
{
    QJsonArray rules;
    QJsonArray results;
    QSet<QString> kinds;
    for (const Finding &finding : report.findings) {
        if (!kinds.contains(finding.kind)) {
            kinds.insert(finding.kind);
            rules.append(QJsonObject { { QStringLiteral("id"), finding.kind } });
        }
        results.append(sarifResult(finding));
    }
    const QJsonObject driver { { QStringLiteral("name"), QStringLiteral("tavlin-check") },
        { QStringLiteral("rules"), rules } };
    const QJsonObject run { { QStringLiteral("tool"),
                                QJsonObject { { QStringLiteral("driver"), driver } } },
        { QStringLiteral("results"), results } };
    const QJsonObject root { { QStringLiteral("version"), QStringLiteral("2.1.0") },
        { QStringLiteral("$schema"),
            QStringLiteral("https://json.schemastore.org/sarif-2.1.0.json") },
        { QStringLiteral("runs"), QJsonArray { run } } };
    return QJsonDocument(root).toJson();
}

QByteArray reportJunit(const CheckReport &report, bool warningsFail)
{
    QByteArray xml;
    QXmlStreamWriter out(&xml);
    out.setAutoFormatting(true);
    out.writeStartDocument();
    out.writeStartElement(QStringLiteral("testsuites"));
    out.writeStartElement(QStringLiteral("testsuite"));
    out.writeAttribute(QStringLiteral("name"), QStringLiteral("tavlin-check"));
    const int failing = int(std::count_if(report.findings.cbegin(), report.findings.cend(),
        [warningsFail](const Finding &f) { return isError(f) || warningsFail; }));
    out.writeAttribute(
        QStringLiteral("tests"), QString::number(std::max<qsizetype>(report.findings.size(), 1)));
    out.writeAttribute(QStringLiteral("failures"), QString::number(failing));
    if (report.findings.isEmpty()) {
        out.writeEmptyElement(QStringLiteral("testcase"));
        out.writeAttribute(QStringLiteral("classname"), QStringLiteral("help set"));
        out.writeAttribute(QStringLiteral("name"), report.descriptionFile);
    }
    for (const Finding &finding : report.findings) {
        out.writeStartElement(QStringLiteral("testcase"));
        out.writeAttribute(QStringLiteral("classname"),
            finding.entry < 0 ? QStringLiteral("description, language table and footer")
                              : QStringLiteral("entry %1 %2").arg(finding.entry).arg(finding.name));
        out.writeAttribute(
            QStringLiteral("name"), finding.kind + QLatin1Char(' ') + place(finding));
        const QString text = finding.element.isEmpty()
            ? finding.message
            : finding.element + QStringLiteral(": ") + finding.message;
        if (isError(finding) || warningsFail) {
            out.writeStartElement(QStringLiteral("failure"));
            out.writeAttribute(QStringLiteral("type"), isError(finding) ? "error" : "warning");
            out.writeAttribute(QStringLiteral("message"), text);
            out.writeCharacters(text);
            out.writeEndElement();
        } else {
            out.writeTextElement(QStringLiteral("system-out"), QStringLiteral("warning: ") + text);
        }
        out.writeEndElement();
    }
    out.writeEndDocument();
    return xml;
}
