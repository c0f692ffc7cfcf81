#include "check/PageReferences.h"

#include <QRegularExpression>

namespace {

QString decodeEntities(QString text)
{
    text.replace(QLatin1String("&quot;"), QLatin1String("\""));
    text.replace(QLatin1String("&apos;"), QLatin1String("'"));
    text.replace(QLatin1String("&lt;"), QLatin1String("<"));
    text.replace(QLatin1String("&gt;"), QLatin1String(">"));
    text.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return text;
}

} // namespace

QVector<PageReference> pageReferences(const QByteArray &html)
{
    static const QRegularExpression element(
        QStringLiteral("<(a|area|link|img|script|iframe|frame|embed|source|video|audio|object|"
                       "track|input)\\b([^>]*)>|<!--.*?-->"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression attribute(
        QStringLiteral("(?:^|\\s)(href|src|data)\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))"),
        QRegularExpression::CaseInsensitiveOption);

    const QString text = QString::fromUtf8(html);
    QVector<PageReference> references;
    int line = 1;
    qsizetype counted = 0;
    for (auto it = element.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (match.capturedLength(1) == 0)
            continue; // a comment
        line += int(text.mid(counted, match.capturedStart() - counted).count(QLatin1Char('\n')));
        counted = match.capturedStart();
        const QString attributes = match.captured(2);
        for (auto a = attribute.globalMatch(attributes); a.hasNext();) {
            const QRegularExpressionMatch value = a.next();
            const QString target
                = decodeEntities(value.captured(2) + value.captured(3) + value.captured(4))
                      .trimmed();
            if (target.isEmpty() || target.startsWith(QLatin1Char('#')))
                continue;
            PageReference reference;
            reference.line
                = line + int(attributes.left(value.capturedStart()).count(QLatin1Char('\n')));
            reference.element
                = QStringLiteral("<%1 %2=\"%3\">")
                      .arg(match.captured(1).toLower(), value.captured(1).toLower(), target);
            reference.target = target;
            references.append(reference);
        }
    }
    return references;
}
