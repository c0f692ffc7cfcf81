#include "description/TavlinModule.h"

#include "os/Environment.h"
#include "os/FileSystem.h"
#include "os/TextFile.h"
#include "semantics/AnsiText.h"
#include "semantics/Arithmetic.h"
#include "semantics/RuntimeError.h"
#include "semantics/Val.h"

#include <new>
#include <utility>

void TavlinModule::report(
    const RuntimeError &error, const char *routine, const QString &section, const QString &entry)
{
    m_notices.append({ QStringLiteral("%1 %2 %3 %4")
                           .arg(error.number())
                           .arg(error.description(), error.source(), QLatin1String(routine)),
        section, entry });
}

QList<TavlinModule::Notice> TavlinModule::takeNotices()
{
    return std::exchange(m_notices, {});
}

bool TavlinModule::OpenIni(const QString &FileName, bool ShowMessage)
{
    bool result = false;
    m_lineCount = 0;
    m_fileName = FileName;
    if (!m_loaded) {
        try {
            const std::optional<QByteArray> content = readWholeFile(FileName);
            if (content) {
                // The line table grows with the file, so files beyond 5000 lines
                // are read whole rather than failing on the first line too many.
                m_lines = splitAnsiLines(*content);
                m_lineCount = static_cast<int>(m_lines.size());
                indexSections();
                result = true;
            } else if (ShowMessage) {
                m_notices.append(
                    { QStringLiteral("File '") + m_fileName + QStringLiteral("' not found"), {},
                        {} });
            }
        } catch (const RuntimeError &error) {
            report(error, "OpenIni");
        } catch (const std::bad_alloc &) {
            m_lines.clear();
            m_lineCount = 0;
            report(RuntimeError(7, QStringLiteral("Out of memory")), "OpenIni");
        }
    }
    m_loaded = true;
    return result;
}

void TavlinModule::indexSections()
{
    m_upperLines.clear();
    m_upperLines.reserve(m_lines.size());
    m_firstHeader.clear();
    for (int i = 0; i < m_lines.size(); ++i) {
        m_upperLines.append(UCase(m_lines.at(i)));
        const QString &upper = m_upperLines.last();
        if (upper.startsWith(QLatin1Char('[')) && !m_firstHeader.contains(upper))
            m_firstHeader.insert(upper, i);
    }
}

void TavlinModule::CloseIni()
{
    m_loaded = false;
}

QString TavlinModule::FindeIniEintrag(
    const QString &Section, const QString &Entry, bool ShowMessage)
{
    // The first header that equals "[SECTION]" as a whole line, then the first
    // line of its body that starts with "ENTRY=". Only lines of the last open
    // count, never more than m_lineCount of them.
    const QString header = QLatin1Char('[') + UCase(Section) + QLatin1Char(']');
    const auto found = m_firstHeader.constFind(header);
    if (found != m_firstHeader.cend() && *found < m_lineCount) {
        const QString key = UCase(Entry) + QLatin1Char('=');
        for (int i = *found + 1; i < m_lineCount; ++i) {
            const QString &upper = m_upperLines.at(i);
            if (upper.startsWith(QLatin1Char('[')))
                break;
            if (upper.startsWith(key))
                return m_lines.at(i).mid(key.size());
        }
    }
    if (ShowMessage) {
        m_notices.append(
            { QStringLiteral("Section [") + Section + QStringLiteral("] or Entry '") + Entry
                    + QStringLiteral("' in file '") + m_fileName + QStringLiteral("' not found"),
                Section, Entry });
    }
    return QString();
}

qint16 TavlinModule::InputIniInteger(const QString &Section, const QString &Entry, bool ShowMessage)
{
    const QString value = FindeIniEintrag(Section, Entry, ShowMessage);
    if (value.isEmpty())
        return -1;
    try {
        return Arithmetic::toInteger(Val(value));
    } catch (const RuntimeError &error) {
        report(error, "InputIniInteger", Section, Entry);
    }
    return 0;
}

QString TavlinModule::InputIniString(const QString &Section, const QString &Entry, bool ShowMessage)
{
    return FindeIniEintrag(Section, Entry, ShowMessage);
}

QString TavlinModule::GetDOSEnvironmentVariable(const QString &Name)
{
    return environmentValue(Name);
}
