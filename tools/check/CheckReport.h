#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// Where else a finding holds: the same missing picture shown by many pages.
struct FindingPlace
{
    int entry = -1;
    QString name;
    QString file;
    int line = 0;
    QString element;
};

// One thing the check found. An error is something the operator will meet; a
// warning is probably not what the help author meant.
struct Finding
{
    enum class Severity { Error, Warning };

    Severity severity = Severity::Error;
    QString kind; // stable identifier, e.g. "page-missing"
    int entry = -1; // entry number; -1 for the description as a whole, the
                    // language table and the footer
    QString name; // the entry's Name
    QString file; // the file, as the overlay names it (Windows path) or relative
    int line = 0; // 1-based line in `file`; 0 when none applies
    QString element; // the key, HTML element or symbol concerned
    QString message;
    QStringList languages; // the language folders the finding holds for
    QVector<FindingPlace> morePlaces; // the same finding (kind and message) in other places
};

// What the check looked at and what it found.
struct CheckReport
{
    QString descriptionFile;
    int displayWidth = 0;
    int displayHeight = 0;
    int entries = 0;
    QStringList languages; // language folders whose pages were checked
    QStringList notes; // things worth knowing that are no finding
    int pagesChecked = 0;
    QVector<Finding> findings;

    int count(Finding::Severity severity) const;
    // 0 nothing found, 1 errors (or warnings, when they count as errors), 2 warnings only.
    int exitStatus(bool warningsAreErrors = false) const;
    void add(Finding finding) { findings.append(std::move(finding)); }
};
