#include "check/StyleReferences.h"

#include <algorithm>

namespace {

// A cursor over the style sheet that counts lines.
class Reader
{
public:
    Reader(const QString &css, int line)
        : m_css(css)
        , m_line(line)
    { }

    bool atEnd() const { return m_at >= m_css.size(); }
    QChar peek(int ahead = 0) const
    {
        return m_at + ahead < m_css.size() ? m_css.at(m_at + ahead) : QChar();
    }
    QChar take()
    {
        const QChar c = m_css.at(m_at++);
        if (c == QLatin1Char('\n'))
            ++m_line;
        return c;
    }
    int line() const { return m_line; }
    bool startsWith(const char *text) const
    {
        return QStringView(m_css).mid(m_at).startsWith(QLatin1String(text));
    }

    void skipComment()
    {
        m_at += 2;
        while (!atEnd() && !startsWith("*/"))
            take();
        m_at = std::min(m_at + 2, m_css.size());
    }
    void skipBlanks()
    {
        while (!atEnd() && peek().isSpace())
            take();
    }

    // After a backslash: a hexadecimal code point (and one blank after it),
    // or the character itself; a backslash before a line end is nothing.
    QString escape()
    {
        QString hex;
        while (hex.size() < 6 && !atEnd() && isHex(peek()))
            hex += take();
        if (hex.isEmpty())
            return atEnd() || peek() == QLatin1Char('\n') ? QString() : QString(take());
        if (!atEnd() && peek().isSpace())
            take();
        const char32_t code = char32_t(hex.toUInt(nullptr, 16));
        return code == 0 || code > 0x10FFFF ? QString(QChar(0xFFFD)) : QString::fromUcs4(&code, 1);
    }

    QString string()
    {
        const QChar quote = take();
        QString text;
        while (!atEnd() && peek() != quote && peek() != QLatin1Char('\n'))
            text += peek() == QLatin1Char('\\') ? (take(), escape()) : QString(take());
        if (!atEnd() && peek() == quote)
            take();
        return text;
    }

    QString name()
    {
        QString text;
        while (!atEnd() && (isNameChar(peek()) || peek() == QLatin1Char('\\')))
            text += peek() == QLatin1Char('\\') ? (take(), escape()) : QString(take());
        return text;
    }

    // After "url(": a string, or everything up to ")" without blanks inside.
    QString url()
    {
        skipBlanks();
        if (peek() == QLatin1Char('"') || peek() == QLatin1Char('\''))
            return string();
        QString text;
        while (!atEnd() && peek() != QLatin1Char(')') && !peek().isSpace())
            text += peek() == QLatin1Char('\\') ? (take(), escape()) : QString(take());
        return text;
    }

    static bool isHex(QChar c) { return c.isDigit() || QStringLiteral("abcdefABCDEF").contains(c); }
    static bool isNameChar(QChar c)
    {
        return c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_')
            || c.unicode() >= 0x80;
    }

private:
    const QString &m_css;
    qsizetype m_at = 0;
    int m_line;
};

} // namespace

QVector<StyleReference> styleReferences(const QString &css, int firstLine)
{
    QVector<StyleReference> references;
    Reader in(css, firstLine);
    bool afterImport = false;
    while (!in.atEnd()) {
        const QChar c = in.peek();
        const int line = in.line();
        if (in.startsWith("/*")) {
            in.skipComment();
        } else if (c.isSpace()) {
            in.take();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const QString text = in.string();
            if (afterImport)
                references.append({ line, text, true });
            afterImport = false;
        } else if (c == QLatin1Char('@')) {
            in.take();
            afterImport = in.name().compare(QLatin1String("import"), Qt::CaseInsensitive) == 0;
        } else if (Reader::isNameChar(c) || c == QLatin1Char('\\')) {
            const QString word = in.name();
            if (word.isEmpty()) {
                in.take();
            } else if (word.compare(QLatin1String("url"), Qt::CaseInsensitive) == 0
                && in.peek() == QLatin1Char('(')) {
                in.take();
                references.append({ line, in.url(), afterImport });
            }
            afterImport = false;
        } else {
            in.take();
            afterImport = false;
        }
    }
    return references;
}
