#include "description/LanguageResolver.h"

#include "jet/JetLanguageTable.h"
#include "jet/LanguageTable.h"
#include "model/ScreenContext.h"
#include "model/VisuLayout.h"

#include <QLocale>

#include <cmath>

std::optional<double> languageNumber(const JetValue &value)
{
    switch (value.kind) {
    case JetValue::Kind::Number:
        return value.number;
    case JetValue::Kind::Text: {
        // The text must be a number as a whole: the database engine would not
        // take "1a" for 1. Blanks around it are allowed, as the conversion
        // of a text to a number allows them.
        const QString text = value.text.trimmed();
        if (text.isEmpty())
            return std::nullopt;
        for (QChar c : text) {
            if (!(c.isDigit() && c.unicode() < 128) && c != QLatin1Char('.')
                && c != QLatin1Char('-') && c != QLatin1Char('+') && c != QLatin1Char('e')
                && c != QLatin1Char('E'))
                return std::nullopt; // no "inf", "nan", hexadecimal or other scripts' digits
        }
        bool ok = false;
        const double n = QLocale::c().toDouble(text, &ok);
        if (ok && std::isfinite(n))
            return n;
        return std::nullopt;
    }
    case JetValue::Kind::Null:
    case JetValue::Kind::Other:
        break;
    }
    return std::nullopt;
}

bool languageMatches(const JetValue &value, qint16 number)
{
    const std::optional<double> n = languageNumber(value);
    return n && *n == double(number);
}

QString languageNameText(const JetValue &value)
{
    switch (value.kind) {
    case JetValue::Kind::Null:
        return QString();
    case JetValue::Kind::Number:
        if (std::abs(value.number) < 1e15 && value.number == std::trunc(value.number))
            return QString::number(qint64(value.number));
        return QString::number(value.number, 'g', 15);
    case JetValue::Kind::Text:
    case JetValue::Kind::Other:
        break;
    }
    return value.text;
}

void ResolveLanguage(ScreenContext &context, LanguageTable &table)
{
    const QString path = VisuLayout::languageTable(context.VisuPfad);
    const LanguageTableResult result = table.read(path);
    if (result.ok()) {
        for (const LanguageRow &row : result.rows) {
            if (languageMatches(row.language, context.LanguageNumber))
                context.LanguageName = languageNameText(row.name);
        }
    }
    if (context.LanguageName.isEmpty())
        context.LanguageName = QStringLiteral("English");
}

void ResolveLanguage(ScreenContext &context)
{
    JetLanguageTable table;
    ResolveLanguage(context, table);
}
