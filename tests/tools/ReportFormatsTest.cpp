#include "check/ReportFormats.h"
#include "check/CheckReport.h"
#include "check/IgnoreFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

using Severity = Finding::Severity;

Finding finding(Severity severity, const char *kind, const char *file, int line = 0)
{
    Finding f;
    f.severity = severity;
    f.kind = QString::fromLatin1(kind);
    f.file = QString::fromLatin1(file);
    f.element = f.file.isEmpty() ? QStringLiteral("Symbol(2)") : QString();
    f.line = line;
    f.message = QStringLiteral("what the operator meets");
    return f;
}

// The JUnit report's test cases and its suite's failure count.
std::pair<int, int> junitCounts(const QByteArray &xml)
{
    QXmlStreamReader reader(xml);
    int cases = 0, failures = -1;
    while (reader.readNext() != QXmlStreamReader::Invalid && !reader.atEnd()) {
        if (reader.isStartElement() && reader.name() == QLatin1String("testcase"))
            ++cases;
        if (reader.isStartElement() && reader.name() == QLatin1String("testsuite"))
            failures = reader.attributes().value(QLatin1String("failures")).toInt();
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    return { cases, failures };
}

} // namespace

// Findings are left out by kind and file pattern (any case); a rule that leaves out none is
// reported at its line.
TEST(IgnoreRules, LeaveOutByKindAndFileAndReportUnusedRules)
{
    CheckReport report;
    report.add(finding(Severity::Error, "page-missing", "C:\\V\\Help\\English\\A.html"));
    report.add(finding(Severity::Warning, "page-unreachable", "C:\\V\\Help\\Deutsch\\Alt.html"));
    report.add(finding(Severity::Error, "page-missing", "C:\\V\\Help\\Deutsch\\A.html"));
    applyIgnoreRules(report, "C:\\V\\Help\\.tavlin-check-ignore",
        "# known\n\npage-missing *\\english\\?.html\npage-unreachable\n* *\\Nowhere\\*\n");
    ASSERT_EQ(report.findings.size(), 2);
    EXPECT_EQ(report.findings[0].file, "C:\\V\\Help\\Deutsch\\A.html");
    EXPECT_EQ(report.findings[1].kind, "ignore-unused");
    EXPECT_EQ(report.findings[1].line, 5);
    EXPECT_EQ(report.findings[1].element, "* *\\Nowhere\\*");
}

// SARIF and JUnit carry every finding; warnings fail only when they count as errors.
TEST(ReportFormats, SarifAndJunitCarryEveryFinding)
{
    CheckReport report;
    report.add(finding(Severity::Error, "page-missing", "C:\\V\\English\\A.html", 11));
    report.add(finding(Severity::Warning, "symbols-same-spot", ""));
    const QJsonObject sarif = QJsonDocument::fromJson(reportSarif(report)).object();
    EXPECT_EQ(sarif["version"].toString(), "2.1.0");
    const QJsonObject run = sarif["runs"].toArray().at(0).toObject();
    EXPECT_EQ(run["tool"].toObject()["driver"].toObject()["rules"].toArray().size(), 2);
    const QJsonArray results = run["results"].toArray();
    ASSERT_EQ(results.size(), 2);
    const QJsonObject first = results.at(0).toObject();
    EXPECT_EQ(first["ruleId"].toString(), "page-missing");
    EXPECT_EQ(first["level"].toString(), "error");
    const QJsonObject location
        = first["locations"].toArray().at(0).toObject()["physicalLocation"].toObject();
    EXPECT_EQ(location["artifactLocation"].toObject()["uri"].toString(), "C:/V/English/A.html");
    EXPECT_EQ(location["region"].toObject()["startLine"].toInt(), 11);
    EXPECT_EQ(results.at(1).toObject()["level"].toString(), "warning");

    EXPECT_EQ(junitCounts(reportJunit(report, false)), std::make_pair(2, 1));
    EXPECT_EQ(junitCounts(reportJunit(report, true)), std::make_pair(2, 2));
    EXPECT_EQ(junitCounts(reportJunit(CheckReport(), false)), std::make_pair(1, 0));
    report.findings.removeFirst();
    EXPECT_EQ(report.exitStatus(), 2);
    EXPECT_EQ(report.exitStatus(true), 1);
}
