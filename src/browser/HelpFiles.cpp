#include "browser/HelpFiles.h"

#include "os/PathMapper.h"

#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class Descriptor
{
public:
    explicit Descriptor(int fd = -1)
        : m_fd(fd)
    { }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    Descriptor &operator=(Descriptor &&other) noexcept
    {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    int get() const { return m_fd; }

private:
    int m_fd;
};

std::optional<QString> strictUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

bool sameIgnoringCase(const QByteArray &a, const QByteArray &b)
{
    if (a.compare(b, Qt::CaseInsensitive) == 0) // ASCII letters
        return true;
    const std::optional<QString> left = strictUtf8(a), right = strictUtf8(b);
    return left && right && left->compare(*right, Qt::CaseInsensitive) == 0;
}

// The entry of the open folder `dir` that `name` stands for: the name itself
// when it exists, else the first entry (in byte order) equal to it without
// regard to case. Empty when there is none.
QByteArray matchEntry(int dir, const QByteArray &name)
{
    struct stat info;
    if (::fstatat(dir, name.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0)
        return name;
    const int listing = ::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0)
        return QByteArray();
    DIR *entries = ::fdopendir(listing);
    if (!entries) {
        ::close(listing);
        return QByteArray();
    }
    QByteArrayList candidates;
    while (const dirent *entry = ::readdir(entries)) {
        const QByteArray candidate(entry->d_name);
        if (sameIgnoringCase(candidate, name))
            candidates << candidate;
    }
    ::closedir(entries);
    if (candidates.isEmpty())
        return QByteArray();
    return *std::min_element(candidates.cbegin(), candidates.cend());
}

bool acceptableName(const QByteArray &name)
{
    return !name.isEmpty() && !name.startsWith('.') && !name.contains('/') && !name.contains('\0');
}

} // namespace

namespace HelpFiles {

std::optional<QByteArrayList> namesOf(const QUrl &url)
{
    if (!url.isValid() || url.scheme() != QLatin1String(kScheme)
        || url.host() != QLatin1String(kHost) || !url.userInfo().isEmpty() || url.port() != -1)
        return std::nullopt;
    const QByteArray path
        = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    QByteArrayList names;
    for (const QByteArray &name : path.split('/'))
        if (!name.isEmpty())
            names << name;
    return names;
}

QUrl urlOf(const QString &helpFolderWindowsPath, const QString &windowsPath)
{
    if (helpFolderWindowsPath.isEmpty() || !windowsPath.startsWith(helpFolderWindowsPath))
        return QUrl();
    QString relative = windowsPath.mid(helpFolderWindowsPath.size());
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QByteArray path;
    for (const QString &name : relative.split(QLatin1Char('/'), Qt::SkipEmptyParts))
        path += '/' + QFile::encodeName(name).toPercentEncoding();
    QUrl url;
    url.setScheme(QLatin1String(kScheme));
    url.setHost(QLatin1String(kHost));
    url.setPath(QString::fromLatin1(path), QUrl::StrictMode);
    return url;
}

int open(const QString &folder, const QByteArrayList &names)
{
    if (folder.isEmpty() || names.isEmpty())
        return -1;
    // The folder itself may be reached through links (the visualisation's
    // drive mapping); nothing below it is.
    Descriptor current(
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (current.get() < 0)
        return -1;
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (!acceptableName(names[i]))
            return -1;
        const QByteArray entry = matchEntry(current.get(), names[i]);
        if (entry.isEmpty())
            return -1;
        // The last name only as a path, which opens nothing: what it names
        // is looked at before anything is opened for reading, so neither a
        // device's driver nor a named pipe is ever opened by a page.
        const bool last = i == names.size() - 1;
        const int flags = O_NOFOLLOW | O_CLOEXEC | (last ? O_PATH : O_RDONLY | O_DIRECTORY);
        Descriptor next(::openat(current.get(), entry.constData(), flags));
        if (next.get() < 0)
            return -1;
        current = std::move(next);
    }
    // A regular file with a single name: another name elsewhere (a hard
    // link from outside the folder) would bring that file in as a link does.
    struct stat info;
    if (::fstat(current.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_nlink != 1
        || info.st_size > kLargestFile)
        return -1;
    // Opened for reading through the path itself: the very file looked at,
    // whatever has become of its name meanwhile.
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(current.get());
    return ::open(self.constData(), O_RDONLY | O_CLOEXEC);
}

std::optional<QByteArray> read(const QString &folder, const QByteArrayList &names)
{
    const Descriptor file(open(folder, names));
    if (file.get() < 0)
        return std::nullopt;
    QByteArray content;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            return content;
        content.append(buffer, got);
        if (content.size() > kLargestFile)
            return std::nullopt;
    }
}

bool reachable(const QString &helpFolderWindowsPath, const QString &windowsPath)
{
    const std::optional<QByteArrayList> names = namesOf(urlOf(helpFolderWindowsPath, windowsPath));
    return names && read(mapWindowsPath(helpFolderWindowsPath), *names).has_value();
}

QByteArray contentType(const QByteArray &name)
{
    static const struct
    {
        const char *extension;
        const char *type;
    } types[] = {
        { "html", "text/html" },
        { "htm", "text/html" },
        { "css", "text/css" },
        { "js", "text/javascript" },
        { "json", "application/json" },
        { "txt", "text/plain" },
        { "png", "image/png" },
        { "gif", "image/gif" },
        { "jpg", "image/jpeg" },
        { "jpeg", "image/jpeg" },
        { "bmp", "image/bmp" },
        { "svg", "image/svg+xml" },
        { "webp", "image/webp" },
        { "ico", "image/x-icon" },
        { "woff", "font/woff" },
        { "woff2", "font/woff2" },
        { "ttf", "font/ttf" },
    };
    const QByteArray extension = name.mid(name.lastIndexOf('.') + 1).toLower();
    for (const auto &known : types)
        if (extension == known.extension)
            return known.type;
    return "application/octet-stream";
}

} // namespace HelpFiles
