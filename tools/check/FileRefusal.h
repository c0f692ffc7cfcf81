#pragma once

#include <QByteArrayList>
#include <QString>

// Why the help window would not open a file of the help folder, for the help
// author: the help window itself only says "not found" (see HelpFiles::open).
enum class FileRefusal {
    Missing, // no such name, not even without regard to case
    Hidden, // a name starting with "."
    Link, // a symbolic link on the way, or the file itself
    Folder, // a folder where a file is meant
    HardLink, // a file with more than one name
    TooLarge, // more than HelpFiles::kLargestFile bytes
    Unreadable, // the permissions forbid reading it
    Encoding, // its name is written in Windows-1252 where this system writes UTF-8
};

// The refusal of the file at `names` below the local folder `folder`, names
// matched as the help window matches them.
FileRefusal refusalOf(const QString &folder, const QByteArrayList &names);

// The finding kind's ending ("missing", "link", "folder", ...) and what the
// help author should hear about the file `name`.
const char *refusalKind(FileRefusal refusal);
QString refusalText(FileRefusal refusal, const QString &name);

// The entry of the local folder `dir` the help window takes for `name`:
// exactly, else without regard to case; empty for none.
QString entryFor(const QString &dir, const QByteArray &name);
