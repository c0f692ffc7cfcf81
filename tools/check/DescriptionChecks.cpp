#include "check/DescriptionChecks.h"

#include "check/CheckReport.h"
#include "description/TavlinModule.h"
#include "model/ScreenContext.h"
#include "os/PathMapper.h"
#include "semantics/AnsiText.h"

#include <QFile>
#include <QHash>
#include <QStringDecoder>
#include <algorithm>

namespace {

const QStringList kGlobalKeys
    = { QStringLiteral("DispHInt"), QStringLiteral("VisuPfad"), QStringLiteral("Language") };
const QStringList kEntryKeys = { QStringLiteral("Name"), QStringLiteral("Index"),
    QStringLiteral("Tag"), QStringLiteral("Alignment"), QStringLiteral("Height"),
    QStringLiteral("Left"), QStringLiteral("Top"), QStringLiteral("Width"),
    QStringLiteral("ContainerName"), QStringLiteral("ContainerIndex") };

// A section as the INI reader sees it: a line starting with "[" ends the
// body before it; only the first header of a name is ever looked at.
struct Section
{
    QString name; // between the brackets, as written
    int header = 0; // line number
    int end = 0; // last line of the body
    int entry = -2; // entry number (-1 Global, -2 neither)
};

int editDistance(const QString &a, const QString &b)
{
    QVector<int> row(b.size() + 1);
    for (int j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (int i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = i;
        for (int j = 1; j <= b.size(); ++j) {
            const int above = row[j];
            row[j] = std::min(
                { row[j] + 1, row[j - 1] + 1, diagonal + (a.at(i - 1) == b.at(j - 1) ? 0 : 1) });
            diagonal = above;
        }
    }
    return row[b.size()];
}

// The number a section name stands for when it is written exactly as the
// reader asks for it ("5", never "05" or " 5"); -1 otherwise.
int canonicalNumber(const QString &name)
{
    bool ok = false;
    const int n = name.toInt(&ok);
    return ok && n >= 0 && QString::number(n) == name ? n : -1;
}

// The number a header was probably meant to be ("05", " 5 "); -1 for none.
int intendedNumber(const QString &name)
{
    const QString trimmed = name.trimmed();
    bool ok = false;
    const int n = trimmed.toInt(&ok);
    return ok && n >= 0 && !trimmed.startsWith(QLatin1Char('+')) ? n : -1;
}

// Text that was written as UTF-8 and read as Windows-1252 turns back into
// valid UTF-8 with characters beyond ASCII when encoded again.
QString asUtf8(const QString &line)
{
    const QByteArray bytes = toWindows1252(line);
    if (std::none_of(bytes.cbegin(), bytes.cend(), [](char c) { return uchar(c) >= 0x80; }))
        return QString();
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return decoder.hasError() ? QString() : text;
}

class DescriptionCheck
{
public:
    DescriptionCheck(const ScreenContext &context, TavlinModule &module, const QString &file,
        CheckReport &report)
        : m_context(context)
        , m_module(module)
        , m_file(file)
        , m_report(report)
    {
        indexSections();
    }

    void run()
    {
        checkLineEnds();
        checkHeaders();
        for (const Section &section : std::as_const(m_sections))
            checkKeys(section);
        checkNumbering();
        checkContainers();
        checkDisplayWidth();
        checkEncoding();
        checkTagMarkers();
        checkNotices();
    }

private:
    void add(Finding::Severity severity, const char *kind, int entry, int line,
        const QString &element, const QString &message)
    {
        Finding finding;
        finding.severity = severity;
        finding.kind = QLatin1String(kind);
        finding.entry = entry;
        finding.name = nameOf(entry);
        finding.file = m_file;
        finding.line = line;
        finding.element = element;
        finding.message = message;
        m_report.add(finding);
    }

    QString nameOf(int entry)
    {
        if (entry < 0)
            return QString();
        if (entry <= m_context.LastEntry)
            return m_context.HelpEntries[size_t(entry)].Name;
        return m_module.InputIniString(QString::number(entry), QStringLiteral("Name"), false);
    }

    void indexSections()
    {
        const int count = m_module.IniLineCount();
        QHash<QString, int> seen;
        for (int n = 1; n <= count; ++n) {
            const QString line = m_module.IniLine(n);
            if (!line.startsWith(QLatin1Char('[')))
                continue;
            if (!m_all.isEmpty())
                m_all.last().end = n - 1;
            Section section;
            section.header = n;
            section.end = count;
            if (line.endsWith(QLatin1Char(']')) && line.size() >= 2)
                section.name = line.mid(1, line.size() - 2);
            else
                section.name = line.mid(1);
            const QString upper = UCase(line);
            if (upper == QLatin1String("[GLOBAL]"))
                section.entry = -1;
            else if (line.endsWith(QLatin1Char(']')))
                section.entry = canonicalNumber(section.name);
            if (section.entry == -2 && !line.endsWith(QLatin1Char(']')))
                section.entry = -3;
            m_all.append(section);
            m_repeated.append(seen.contains(upper));
            seen.insert(upper, n);
        }
        for (int i = 0; i < m_all.size(); ++i) {
            if (!m_repeated.at(i) && m_all.at(i).entry >= -1)
                m_sections.append(m_all.at(i));
        }
    }

    void checkHeaders()
    {
        for (int i = 0; i < m_all.size(); ++i) {
            const Section &section = m_all.at(i);
            const QString header = m_module.IniLine(section.header);
            if (m_repeated.at(i) && section.entry >= -1 && section.entry <= m_context.LastEntry) {
                add(Finding::Severity::Warning, "repeated-key", section.entry, section.header,
                    header,
                    QStringLiteral("section %1 appears again here; only the first one is read")
                        .arg(header));
                continue;
            }
            if (section.entry >= -1)
                continue;
            const int meant = intendedNumber(section.name);
            const bool global = UCase(section.name.trimmed()) == QLatin1String("GLOBAL");
            if (meant >= 0 || global)
                add(Finding::Severity::Warning, "key-never-matches", global ? -1 : meant,
                    section.header, header,
                    QStringLiteral("section header %1 never matches: it must read [%2] exactly, "
                                   "without blanks or leading zeros")
                        .arg(header, global ? QStringLiteral("Global") : QString::number(meant)));
        }
    }

    // The keys of one section the reader looks at: repeated keys, and lines
    // meant as a key that the reader never matches.
    void checkKeys(const Section &section)
    {
        if (section.entry > m_context.LastEntry + 1)
            return; // never read at all: the numbering check reports it
        const QStringList &keys = section.entry == -1 ? kGlobalKeys : kEntryKeys;
        QHash<QString, int> first; // upper-cased key -> line
        struct Miss
        {
            int line;
            QString key;
            QString written;
        };
        QVector<Miss> misses;
        for (int n = section.header + 1; n <= section.end; ++n) {
            const QString line = m_module.IniLine(n);
            const int equals = int(line.indexOf(QLatin1Char('=')));
            if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char(';')) || equals < 0)
                continue;
            const QString written = line.left(equals);
            const QString upper = UCase(written);
            const auto exact = std::find_if(keys.cbegin(), keys.cend(),
                [&](const QString &key) { return UCase(key) == upper; });
            if (exact != keys.cend()) {
                if (first.contains(upper)) {
                    add(Finding::Severity::Warning, "repeated-key", section.entry, n, *exact,
                        QStringLiteral("%1 appears again; the first one, line %2, is read")
                            .arg(*exact)
                            .arg(first.value(upper)));
                } else {
                    first.insert(upper, n);
                }
                continue;
            }
            const QString bare = UCase(written.trimmed());
            for (const QString &key : keys) {
                const int distance = editDistance(bare, UCase(key));
                if (distance == 0 || distance <= (key.size() > 5 ? 2 : 1)) {
                    misses.append({ n, key, written });
                    break;
                }
            }
        }
        for (const Miss &miss : std::as_const(misses)) {
            const bool blanks = UCase(miss.written.trimmed()) == UCase(miss.key);
            QString message = blanks
                ? QStringLiteral("\"%1=\" never matches %2: no blank may stand before the key "
                                 "or the \"=\"")
                      .arg(miss.written, miss.key)
                : QStringLiteral("\"%1\" is no key the overlay reads; %2 was probably meant")
                      .arg(miss.written, miss.key);
            if (!first.contains(UCase(miss.key)))
                message += QStringLiteral(" (so %1 counts as missing)").arg(miss.key);
            add(Finding::Severity::Warning, "key-never-matches", section.entry, miss.line,
                miss.written, message);
        }
    }

    int headerLine(int entry) const
    {
        for (const Section &section : m_sections)
            if (section.entry == entry)
                return section.header;
        return 0;
    }

    void checkNumbering()
    {
        const int stop = m_context.LastEntry + 1;
        if (stop >= 1001) {
            int beyond = 0;
            while (
                !m_module
                     .InputIniString(QString::number(1001 + beyond), QStringLiteral("Name"), false)
                     .isEmpty())
                ++beyond;
            if (beyond > 0)
                add(Finding::Severity::Error, "too-many-entries", 1001, headerLine(1001),
                    QStringLiteral("[1001]"),
                    QStringLiteral("%1 entries: the overlay reads entries 0 to 1000 only; the "
                                   "%2 after them are never read")
                        .arg(1001 + beyond)
                        .arg(beyond));
            else
                add(Finding::Severity::Warning, "too-many-entries", 1000, headerLine(1000),
                    QStringLiteral("[1000]"),
                    QStringLiteral("1001 entries: more than the 1000 a description may hold"));
            return;
        }
        QStringList later;
        int firstLater = 0;
        for (const Section &section : m_sections) {
            if (section.entry > stop) {
                const QString name = m_module.InputIniString(
                    QString::number(section.entry), QStringLiteral("Name"), false);
                later << (name.isEmpty() ? QString::number(section.entry)
                                         : QStringLiteral("%1 (%2)").arg(section.entry).arg(name));
                if (firstLater == 0)
                    firstLater = section.header;
            }
        }
        if (later.isEmpty())
            return;
        const int header = headerLine(stop);
        const QString cause = header != 0
            ? QStringLiteral("section [%1] has no Name, so the list ends there").arg(stop)
            : QStringLiteral("there is no section [%1], so the list ends there").arg(stop);
        add(Finding::Severity::Error, "numbering-gap", stop, header != 0 ? header : firstLater,
            QStringLiteral("[%1]").arg(stop),
            QStringLiteral("%1: sections %2 are never read")
                .arg(cause,
                    later.size() > 8 ? later.mid(0, 8).join(QLatin1String(", "))
                            + QStringLiteral(" ... (%1 in all)").arg(later.size())
                                     : later.join(QLatin1String(", "))));
    }

    // What the overlay says in message boxes as it reads the description (a
    // number beyond 16 bits: "6 Overflow ..."), and then goes on.
    void checkNotices()
    {
        for (const TavlinModule::Notice &notice : m_module.takeNotices()) {
            const int entry = canonicalNumber(notice.section);
            add(Finding::Severity::Error, "read-error", entry, keyLine(entry, notice.entry),
                notice.entry,
                QStringLiteral("the overlay shows the message \"%1\" at start-up, reads 0 for "
                               "%2 and goes on")
                    .arg(notice.text, notice.entry));
        }
    }

    int keyLine(int entry, const QString &key) const
    {
        for (const Section &section : m_sections) {
            if (section.entry != entry)
                continue;
            const QString prefix = UCase(key) + QLatin1Char('=');
            for (int n = section.header + 1; n <= section.end; ++n)
                if (UCase(m_module.IniLine(n)).startsWith(prefix))
                    return n;
        }
        return 0;
    }

    void checkContainers()
    {
        for (int i = 0; i <= m_context.LastEntry; ++i) {
            const HelpEntry &entry = m_context.HelpEntries[size_t(i)];
            if (entry.ContainerPath != QLatin1String("FALSE"))
                continue;
            QString hint;
            for (int j = i + 1; j <= m_context.LastEntry; ++j) {
                const HelpEntry &other = m_context.HelpEntries[size_t(j)];
                if (other.Name == entry.ContainerName && other.Index == entry.ContainerIndex) {
                    hint = QStringLiteral(" (entry %1 describes it, but a container must come "
                                          "before what it holds)")
                               .arg(j);
                    break;
                }
            }
            add(Finding::Severity::Error, "container-not-found", i,
                keyLine(i, QStringLiteral("ContainerName")), QStringLiteral("ContainerName"),
                QStringLiteral("container \"%1\" (Index %2) is not among the entries before it, "
                               "so the entry is hidden%3")
                    .arg(entry.ContainerName)
                    .arg(entry.ContainerIndex)
                    .arg(hint));
        }
    }

    void checkDisplayWidth()
    {
        if (m_context.DispHInt == 800 || m_context.DispHInt == 1280)
            return;
        add(Finding::Severity::Error, "display-width", -1, keyLine(-1, QStringLiteral("DispHInt")),
            QStringLiteral("DispHInt"),
            QStringLiteral("DispHInt is %1, not 800 or 1280: the overlay has no footer button "
                           "and no place for the symbols, and a help click fails")
                .arg(m_context.DispHInt == -1 ? QStringLiteral("missing")
                                              : QString::number(m_context.DispHInt)));
    }

    int entryOfLine(int line) const
    {
        int entry = -1;
        for (const Section &section : m_all)
            if (section.header <= line)
                entry = section.entry >= 0 ? section.entry : -1;
        return entry;
    }

    // The overlay's reader ends a line at CR LF or CR only: a file written
    // with LF alone is one line to it, with nothing of the file in it.
    void checkLineEnds()
    {
        QFile file(mapWindowsPath(m_file));
        if (!file.open(QIODevice::ReadOnly))
            return;
        const QByteArray bytes = file.read(1 << 20);
        if (bytes.contains('\n') && !bytes.contains('\r'))
            add(Finding::Severity::Error, "line-ends", -1, 0, QString(),
                QStringLiteral("the lines end in LF alone, where the overlay reads lines ending "
                               "in CR LF: it sees one line and nothing of the description; save "
                               "it with Windows line ends"));
    }

    void checkEncoding()
    {
        for (int n = 1; n <= m_module.IniLineCount(); ++n) {
            const QString line = m_module.IniLine(n);
            const QString meant = asUtf8(line);
            if (meant.isEmpty())
                continue;
            add(Finding::Severity::Warning, "utf8-as-ansi", entryOfLine(n), n, line,
                QStringLiteral("\"%1\" looks like UTF-8 read as Windows-1252 (\"%2\"); the "
                               "description must be written in Windows-1252")
                    .arg(line, meant));
        }
    }

    void checkTagMarkers()
    {
        for (int i = 0; i <= m_context.LastEntry; ++i) {
            const QString tag
                = m_module.InputIniString(QString::number(i), QStringLiteral("Tag"), false);
            for (const char *marker : { "X=", "Y=" }) {
                const qsizetype p = tag.indexOf(QLatin1String(marker));
                if (p < 0 || tag.indexOf(QLatin1Char(';'), p) >= 0)
                    continue;
                add(Finding::Severity::Warning, "tag-marker", i, keyLine(i, QStringLiteral("Tag")),
                    QStringLiteral("Tag=") + tag,
                    QStringLiteral("the marker \"%1\" has no \";\" after it, so it takes the rest "
                                   "of the tag: the page name is \"%2\"")
                        .arg(QLatin1String(marker), m_context.HelpEntries[size_t(i)].Tag));
            }
        }
    }

    const ScreenContext &m_context;
    TavlinModule &m_module;
    QString m_file;
    CheckReport &m_report;
    QVector<Section> m_all; // every header line, in file order
    QVector<bool> m_repeated;
    QVector<Section> m_sections; // first headers of Global and entry sections
};

} // namespace

void checkDescription(
    const ScreenContext &context, TavlinModule &module, const QString &file, CheckReport &report)
{
    DescriptionCheck(context, module, file, report).run();
}
