#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class RuntimeError;

// The shared routines: reading values out of an INI-style text file, and the
// environment lookup. The whole file is read once by OpenIni; lookups then
// scan its lines by section and entry, comparing upper-cased and untrimmed.
// Every routine guards itself: a failure becomes a notice, the text the
// classic routine showed in its message box (naming the routine), and the
// routine carries on with its next step. The caller decides what a notice
// means: the overlay shows each one, the help author's check reports it.
class TavlinModule
{
public:
    struct Notice
    {
        QString text;
        QString section, entry; // the lookup it came from; empty for the file itself
    };

    bool OpenIni(const QString &FileName, bool ShowMessage);
    void CloseIni();
    QString FindeIniEintrag(const QString &Section, const QString &Entry, bool ShowMessage);
    qint16 InputIniInteger(const QString &Section, const QString &Entry, bool ShowMessage);
    QString InputIniString(const QString &Section, const QString &Entry, bool ShowMessage);
    static QString GetDOSEnvironmentVariable(const QString &Name);

    // The notices since the last call, in order.
    QList<Notice> takeNotices();

    // Lines of the last OpenIni (line 1 first); the help author's check reads them.
    int IniLineCount() const { return m_lineCount; }
    QString IniLine(int number) const { return m_lines.value(number - 1); }

private:
    void report(const RuntimeError &error, const char *routine, const QString &section = {},
        const QString &entry = {});
    void indexSections();

    QStringList m_lines; // IniLines(1) .. IniLines(m_lineCount)
    QStringList m_upperLines; // the same lines upper-cased, for the lookups
    QHash<QString, int> m_firstHeader; // upper-cased header line -> its first line index
    int m_lineCount = 0;
    bool m_loaded = false;
    QString m_fileName;
    QList<Notice> m_notices;
};
