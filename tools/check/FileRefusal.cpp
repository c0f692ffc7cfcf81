#include "check/FileRefusal.h"

#include "browser/HelpFiles.h"
#include "semantics/AnsiText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <dirent.h>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

QString entryFor(const QString &dir, const QByteArray &name)
{
    const QStringList entries = QDir(dir).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    const QString wanted = QFile::decodeName(name);
    if (entries.contains(wanted))
        return wanted;
    for (const QString &entry : entries)
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
            return entry;
    return QString();
}

namespace {

// Whether `dir` holds a name whose bytes, read as Windows-1252, spell `name`
// (a file copied from Windows without its name converted).
bool heldInWindows1252(const QString &dir, const QByteArray &name)
{
    const QString wanted = QString::fromUtf8(name);
    DIR *entries = ::opendir(QFile::encodeName(dir).constData());
    bool found = false;
    for (const dirent *e = entries ? ::readdir(entries) : nullptr; e && !found;
         e = ::readdir(entries)) {
        const QByteArray bytes(e->d_name);
        found = !bytes.isValidUtf8()
            && fromWindows1252(bytes).compare(wanted, Qt::CaseInsensitive) == 0;
    }
    if (entries)
        ::closedir(entries);
    return found;
}

} // namespace

FileRefusal refusalOf(const QString &folder, const QByteArrayList &names)
{
    QString path = folder;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString entry = entryFor(path, names.at(i));
        if (entry.isEmpty())
            return heldInWindows1252(path, names.at(i)) ? FileRefusal::Encoding
                                                        : FileRefusal::Missing;
        path += QLatin1Char('/') + entry;
        if (entry.startsWith(QLatin1Char('.')))
            return FileRefusal::Hidden;
        const QFileInfo info(path);
        if (info.isSymLink())
            return FileRefusal::Link;
        if (i + 1 < names.size() && !info.isDir())
            return FileRefusal::Missing;
    }
    struct stat status;
    const QByteArray local = QFile::encodeName(path);
    if (::lstat(local.constData(), &status) != 0)
        return FileRefusal::Missing;
    if (S_ISDIR(status.st_mode))
        return FileRefusal::Folder;
    if (status.st_nlink > 1)
        return FileRefusal::HardLink;
    if (status.st_size > HelpFiles::kLargestFile)
        return FileRefusal::TooLarge;
    if (::access(local.constData(), R_OK) != 0)
        return FileRefusal::Unreadable;
    return FileRefusal::Missing;
}

namespace {

// Each refusal's finding kind and what the help author hears, in the enum's order.
struct RefusalWords
{
    const char *kind;
    const char *text; // %1: the file's name
};
constexpr RefusalWords kWords[] = {
    { "missing", "%1 is not in the help folder" },
    { "hidden", "%1 is hidden (its name starts with \".\")" },
    { "link", "%1 is reached through a symbolic link" },
    { "folder", "%1 is a folder, not a file" },
    { "hard-link", "%1 has more than one name (a hard link)" },
    { "too-large", "%1 is larger than the %2 MB a help file may have" },
    { "unreadable", "%1 may not be read (its permissions)" },
    { "encoding",
        "the name %1 is written in Windows-1252 on this system, where names are "
        "UTF-8: rename the file" },
};
static_assert(std::size(kWords) == size_t(FileRefusal::Encoding) + 1);

} // namespace

const char *refusalKind(FileRefusal refusal)
{
    return kWords[size_t(refusal)].kind;
}

QString refusalText(FileRefusal refusal, const QString &name)
{
    QString text = QString::fromUtf8(kWords[size_t(refusal)].text).arg(name);
    if (refusal == FileRefusal::TooLarge)
        text = text.arg(HelpFiles::kLargestFile >> 20);
    return text;
}
