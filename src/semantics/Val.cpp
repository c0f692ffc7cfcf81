#include "semantics/Val.h"

#include "semantics/RuntimeError.h"

#include <cmath>

namespace {

bool isSkipped(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
}

class Scanner
{
public:
    explicit Scanner(const QString &text)
        : m_text(text)
    {
    }

    // The next significant character, without consuming it; QChar() at the end.
    QChar peek()
    {
        while (m_pos < m_text.size() && isSkipped(m_text.at(m_pos)))
            ++m_pos;
        return m_pos < m_text.size() ? m_text.at(m_pos) : QChar();
    }

    void take() { ++m_pos; }

private:
    const QString &m_text;
    qsizetype m_pos = 0;
};

int digitValue(QChar c, int radix)
{
    int value = -1;
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        value = u - '0';
    else if (u >= 'a' && u <= 'f')
        value = u - 'a' + 10;
    else if (u >= 'A' && u <= 'F')
        value = u - 'A' + 10;
    return value < radix ? value : -1;
}

double readRadix(Scanner &scanner, int radix)
{
    quint64 value = 0;
    bool tooLarge = false;
    for (int digit = digitValue(scanner.peek(), radix); digit >= 0;
         digit = digitValue(scanner.peek(), radix)) {
        scanner.take();
        value = value * quint64(radix) + quint64(digit);
        if (value > 0xFFFFFFFFull)
            tooLarge = true;
    }
    if (tooLarge)
        throw RuntimeError::overflow();
    if (value <= 0xFFFF)
        return double(static_cast<qint16>(static_cast<quint16>(value)));
    return double(static_cast<qint32>(static_cast<quint32>(value)));
}

} // namespace

double Val(const QString &text)
{
    Scanner scanner(text);

    if (scanner.peek() == QLatin1Char('&')) {
        scanner.take();
        const QChar kind = scanner.peek().toUpper();
        if (kind == QLatin1Char('H')) {
            scanner.take();
            return readRadix(scanner, 16);
        }
        if (kind == QLatin1Char('O')) {
            scanner.take();
            return readRadix(scanner, 8);
        }
        return 0.0;
    }

    // Collect the significant characters of a decimal number in C notation and
    // let the C-locale parser do the exact conversion.
    QString number;
    const QChar sign = scanner.peek();
    if (sign == QLatin1Char('+') || sign == QLatin1Char('-')) {
        number += sign;
        scanner.take();
    }
    bool anyDigit = false;
    bool seenPoint = false;
    for (QChar c = scanner.peek(); !c.isNull(); c = scanner.peek()) {
        if (c.unicode() >= '0' && c.unicode() <= '9') {
            anyDigit = true;
        } else if (c == QLatin1Char('.') && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
        number += c;
        scanner.take();
    }
    if (!anyDigit)
        return 0.0;

    const QChar e = scanner.peek();
    if (e == QLatin1Char('E') || e == QLatin1Char('e')) {
        scanner.take();
        QString exponent = QStringLiteral("e");
        const QChar expSign = scanner.peek();
        if (expSign == QLatin1Char('+') || expSign == QLatin1Char('-')) {
            exponent += expSign;
            scanner.take();
        }
        bool expDigits = false;
        for (QChar c = scanner.peek(); c.unicode() >= '0' && c.unicode() <= '9';
             c = scanner.peek()) {
            exponent += c;
            expDigits = true;
            scanner.take();
        }
        if (expDigits)
            number += exponent;
    }

    bool ok = false;
    const double value = number.toDouble(&ok);
    if (!std::isfinite(value))
        throw RuntimeError::overflow();
    return ok ? value : 0.0;
}
