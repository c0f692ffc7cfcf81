#include "check/IgnoreFile.h"

#include "check/CheckReport.h"
#include "model/VisuLayout.h"
#include "os/PathMapper.h"

#include <QFile>

#include <QRegularExpression>
#include <optional>
#include <vector>

namespace {

struct Rule
{
    int line = 0;
    QString text;
    QString kind;
    std::optional<QRegularExpression> file; // none: any file
    bool used = false;

    bool matches(const Finding &finding) const
    {
        if (kind != QLatin1String("*") && kind != finding.kind)
            return false;
        return !file
            || file->match(finding.file.isEmpty() ? finding.element : finding.file).hasMatch();
    }
};

// Only "*" and "?" are special: a path's backslashes, dots and brackets are
// themselves.
QRegularExpression wildcard(const QString &pattern)
{
    QString expression;
    for (const QChar c : pattern) {
        if (c == QLatin1Char('*'))
            expression += QLatin1String(".*");
        else if (c == QLatin1Char('?'))
            expression += QLatin1Char('.');
        else
            expression += QRegularExpression::escape(QString(c));
    }
    return QRegularExpression(
        QRegularExpression::anchoredPattern(expression), QRegularExpression::CaseInsensitiveOption);
}

std::vector<Rule> parse(const QString &text)
{
    std::vector<Rule> rules;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        Rule rule;
        rule.line = i + 1;
        rule.text = line;
        const qsizetype blank = line.indexOf(QRegularExpression(QStringLiteral("\\s")));
        rule.kind = blank < 0 ? line : line.left(blank);
        if (blank >= 0)
            rule.file = wildcard(line.mid(blank).trimmed());
        rules.push_back(rule);
    }
    return rules;
}

} // namespace

void applyIgnoreRules(CheckReport &report, const QString &windowsPath, const QString &text)
{
    std::vector<Rule> rules = parse(text);
    QVector<Finding> kept;
    for (const Finding &finding : report.findings) {
        bool ignored = false;
        for (Rule &rule : rules) {
            if (rule.matches(finding)) {
                rule.used = true;
                ignored = true;
            }
        }
        if (!ignored)
            kept.append(finding);
    }
    report.findings = kept;
    for (const Rule &rule : rules) {
        if (rule.used)
            continue;
        Finding unused;
        unused.severity = Finding::Severity::Warning;
        unused.kind = QStringLiteral("ignore-unused");
        unused.file = windowsPath;
        unused.line = rule.line;
        unused.element = rule.text;
        unused.message = QStringLiteral("this rule leaves out no finding: remove it");
        report.add(unused);
    }
}

void applyIgnoreFile(CheckReport &report, const QString &visuPfad)
{
    const QString windowsPath
        = VisuLayout::helpFolder(visuPfad) + QStringLiteral(".tavlin-check-ignore");
    QFile file(mapWindowsPath(windowsPath));
    if (file.open(QIODevice::ReadOnly))
        applyIgnoreRules(report, windowsPath, QString::fromUtf8(file.readAll()));
}
