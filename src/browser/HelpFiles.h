#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QUrl>
#include <optional>

// The files of the help folder as the help window may show them.
//
// A file is opened below the folder one name at a time, each relative to the
// folder opened before it, never following a symbolic link and never taking
// "..": whatever a local process swaps in meanwhile, the bytes read are those
// of a regular file inside the folder. Names are matched as Dir matches them:
// exactly, and failing that without regard to case, on the bytes the file
// system holds (a name that is not valid UTF-8 matches only exactly). Hidden
// names (starting with ".") are not there.
namespace HelpFiles {

// The scheme and host of help page URLs: tavlin://help/English/Page.html.
inline constexpr char kScheme[] = "tavlin";
inline constexpr char kHost[] = "help";

// The path below the help folder named by a help URL, split into names
// (percent-decoded bytes); nothing for any other URL.
std::optional<QByteArrayList> namesOf(const QUrl &url);

// The help URL of the page `windowsPath` inside the help folder
// `helpFolderWindowsPath` (both Windows paths); an invalid URL when the page
// does not lie below the folder by name.
QUrl urlOf(const QString &helpFolderWindowsPath, const QString &windowsPath);

// The largest help file; a larger one is not a help file.
inline constexpr qint64 kLargestFile = 64 * 1024 * 1024;

// Opens the file at `names` below the local folder `folder` for reading; the
// descriptor is the caller's. -1 when a name is missing, hidden, "." or "..",
// a link, or the file is not a regular file with a single name (a hard link
// from elsewhere) of at most kLargestFile bytes. Nothing that is not such a
// file is ever opened, not even to be refused.
int open(const QString &folder, const QByteArrayList &names);

// The whole file `open` opens; nothing when it opens none.
std::optional<QByteArray> read(const QString &folder, const QByteArrayList &names);

// Whether the help page `windowsPath` can be shown from the help folder
// `helpFolderWindowsPath`.
bool reachable(const QString &helpFolderWindowsPath, const QString &windowsPath);

// The content type of a help file, from its name's extension.
QByteArray contentType(const QByteArray &name);

} // namespace HelpFiles
