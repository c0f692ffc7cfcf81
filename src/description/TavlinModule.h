#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class RuntimeError;

// The shared routines: reading values out of an INI-style text file, and the
// environment lookup. The whole file is read once by OpenIni; lookups then
// scan its lines by section and entry, comparing upper-cased and untrimmed.
// Every routine guards itself: a failure is reported in a message box that
// names the routine, and the routine carries on with its next step.
class TavlinModule
{
public:
    bool OpenIni(const QString &FileName, bool ShowMessage);
    void CloseIni();
    QString FindeIniEintrag(const QString &Section, const QString &Entry, bool ShowMessage);
    qint16 InputIniInteger(const QString &Section, const QString &Entry, bool ShowMessage);
    QString InputIniString(const QString &Section, const QString &Entry, bool ShowMessage);
    static QString GetDOSEnvironmentVariable(const QString &Name);

    // Lines of the last OpenIni (line 1 first); the help author's check reads them.
    int IniLineCount() const { return m_lineCount; }
    QString IniLine(int number) const { return m_lines.value(number - 1); }

private:
    static void reportError(const RuntimeError &error, const char *routine);
    void indexSections();

    QStringList m_lines;      // IniLines(1) .. IniLines(m_lineCount)
    QStringList m_upperLines; // the same lines upper-cased, for the lookups
    QHash<QString, int> m_firstHeader; // upper-cased header line -> its first line index
    int m_lineCount = 0;
    bool m_loaded = false;
    QString m_fileName;
};
