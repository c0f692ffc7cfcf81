#include "check/HelpPageChecks.h"

#include "browser/HelpFiles.h"
#include "check/CheckReport.h"
#include "check/FileRefusal.h"
#include "check/LanguageListing.h"
#include "check/PageReferences.h"
#include "check/StyleReferences.h"
#include "description/LanguageResolver.h"
#include "jet/JetLanguageTable.h"
#include "model/ScreenContext.h"
#include "model/VisuLayout.h"
#include "os/FileSystem.h"
#include "os/PathMapper.h"
#include "os/Picture.h"
#include "overlay/FooterButton.h"
#include "semantics/AnsiText.h"
#include "semantics/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QSet>
#include <QUrl>
#include <algorithm>

namespace {

// The language table read once: ResolveLanguage is asked for many numbers.
class ReadOnce : public LanguageTable
{
public:
    LanguageTableResult read(const QString &windowsPath) override
    {
        if (!m_result)
            m_result = JetLanguageTable().read(windowsPath);
        return *m_result;
    }

private:
    std::optional<LanguageTableResult> m_result;
};

enum class Target { Fine, Missing, Outside, Web, OtherScheme, CaseOnly, Embedded };

// A name as a help author may have meant it: without regard to case, accents,
// blanks at either end or the endings .html and .htm.
QString looseName(const QString &name)
{
    QString loose;
    for (const QChar c : name.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            loose += c.toLower();
    for (bool cut = true; cut;) {
        loose = loose.trimmed();
        cut = loose.endsWith(QLatin1String(".html")) || loose.endsWith(QLatin1String(".htm"));
        if (cut)
            loose.truncate(loose.lastIndexOf(QLatin1Char('.')));
    }
    return loose;
}

// The name among `names` that `wanted` was probably meant to be; empty for none.
QString nearMatch(const QString &wanted, const QStringList &names)
{
    const QString loose = looseName(wanted);
    for (const QString &name : names)
        if (name != wanted && looseName(name) == loose)
            return name;
    return QString();
}

class InstallationCheck
{
public:
    InstallationCheck(const ScreenContext &context, ScreenMetrics &screen, CheckReport &report)
        : m_context(context)
        , m_screen(screen)
        , m_report(report)
        , m_helpFolder(VisuLayout::helpFolder(context.VisuPfad))
        , m_helpLocal(mapWindowsPath(m_helpFolder))
    { }

    void run(std::optional<qint16> language)
    {
        checkFooter();
        QStringList languages = chooseLanguages(language);
        collectTopics();
        if (!language) {
            for (const QString &folder : std::as_const(m_moreLanguages))
                if (!languages.contains(folder, Qt::CaseInsensitive))
                    languages << folder;
        }
        m_languages = languages;
        for (const QString &name : std::as_const(languages))
            checkPages(name);
        for (const QString &name : std::as_const(languages))
            checkOrphans(name);
        flush();
    }

private:
    Finding make(Finding::Severity severity, const QByteArray &kind, int entry, const QString &file,
        const QString &message)
    {
        Finding f;
        f.severity = severity;
        f.kind = QLatin1String(kind);
        f.entry = entry;
        if (entry >= 0)
            f.name = m_context.HelpEntries[size_t(entry)].Name;
        f.file = file;
        f.message = message;
        return f;
    }

    void checkFooter()
    {
        if (m_context.DispHInt != 800 && m_context.DispHInt != 1280)
            return; // the display width's own finding says enough
        const QString path = footerButtonImagePath(m_context);
        try {
            LoadPicture(path, m_screen);
        } catch (const RuntimeError &error) {
            m_report.add(make(Finding::Severity::Error, "footer-image", -1, path,
                QStringLiteral("the footer button image %1: the operator sees the way out of "
                               "help mode without it")
                    .arg(error.number() == 53 ? QStringLiteral("is missing")
                                              : QStringLiteral("cannot be read"))));
        }
    }

    QString resolve(qint16 number)
    {
        ScreenContext context;
        context.VisuPfad = m_context.VisuPfad;
        context.LanguageNumber = number;
        ResolveLanguage(context, m_table);
        return context.LanguageName;
    }

    QStringList chooseLanguages(std::optional<qint16> only)
    {
        const QString tablePath = VisuLayout::languageTable(m_context.VisuPfad);
        const LanguageTableResult table = m_table.read(tablePath);
        if (!table.ok())
            m_report.add(make(Finding::Severity::Error, "language-table", -1, tablePath,
                QStringLiteral("the language table %1: the overlay shows every page in English")
                    .arg(languageTableProblem(table.status))));

        const qint16 number = only ? *only : m_context.LanguageNumber;
        const QString operatorLanguage = resolve(number);
        if (table.ok()
            && std::none_of(table.rows.cbegin(), table.rows.cend(),
                [number](const LanguageRow &row) { return languageMatches(row.language, number); }))
            m_report.notes << QStringLiteral("Language %1 is not in the language table: the "
                                             "overlay shows the %2 pages.")
                                  .arg(number)
                                  .arg(operatorLanguage);
        QStringList languages;
        auto take = [&](const QString &name) {
            if (!languages.contains(name))
                languages << name;
        };
        if (isFolder(operatorLanguage)) {
            take(operatorLanguage);
        } else {
            const QString near = nearMatch(
                operatorLanguage, QDir(m_helpLocal).entryList(QDir::Dirs | QDir::NoDotAndDotDot));
            Finding f
                = make(Finding::Severity::Error, near.isEmpty() ? "language-folder" : "near-match",
                    -1, m_helpFolder + operatorLanguage,
                    QStringLiteral("no help folder for %1, the language of number %2: every help "
                                   "click shows \"File ... not found\"%3")
                        .arg(operatorLanguage)
                        .arg(number)
                        .arg(near.isEmpty() ? QString()
                                            : QStringLiteral(" (did you mean the folder \"%1\"? "
                                                             "name it as the language table does)")
                                                  .arg(near)));
            f.languages << operatorLanguage;
            m_report.add(f);
        }
        if (only)
            return languages;

        QStringList withoutFolder;
        for (const LanguageRow &row : table.rows) {
            if (row.language.kind != JetValue::Kind::Number || row.language.number < -32768
                || row.language.number > 32767)
                continue;
            const QString name = resolve(qint16(row.language.number));
            if (isFolder(name))
                take(name);
            else if (name != operatorLanguage && !withoutFolder.contains(name))
                withoutFolder << QStringLiteral("%1 (%2)").arg(name).arg(row.language.number);
        }
        if (!withoutFolder.isEmpty())
            m_report.notes << QStringLiteral("No help folder for %1: an operator with one of "
                                             "these languages gets \"File ... not found\".")
                                  .arg(withoutFolder.join(QLatin1String(", ")));
        m_extraFolders = QDir(m_helpLocal).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        return languages;
    }

    bool isFolder(const QString &name) const
    {
        return QFileInfo(mapWindowsPath(m_helpFolder + name)).isDir();
    }

    // The page names of the entries that show a symbol, each with the
    // entries that name it, the first of which the findings go to.
    void collectTopics()
    {
        for (int i = 0; i <= m_context.LastEntry; ++i) {
            const HelpEntry &entry = m_context.HelpEntries[size_t(i)];
            if (entry.Tag.isEmpty() || UCase(entry.Name) == VisuLayout::kFooterName
                || entry.ContainerPath == QLatin1String("FALSE"))
                continue;
            if (!m_topicEntries.contains(entry.Tag))
                m_topics << entry.Tag;
            m_topicEntries[entry.Tag] << i;
        }
        // Folders of the help folder not in the table count as languages when
        // they hold a page of this screen (so "Bilder" does not).
        for (const QString &folder : std::as_const(m_extraFolders)) {
            for (const QString &topic : std::as_const(m_topics)) {
                if (Dir(m_helpFolder + folder + QLatin1Char('\\') + topic
                        + QStringLiteral(".html"))) {
                    m_moreLanguages << folder;
                    break;
                }
            }
        }
    }

    void checkPages(const QString &language)
    {
        m_report.languages << language;
        QVector<Linked> linked;
        for (const QString &topic : std::as_const(m_topics)) {
            const int entry = m_topicEntries.value(topic).first();
            const QString path
                = m_helpFolder + language + QLatin1Char('\\') + topic + QStringLiteral(".html");
            // As the symbol click decides: Dir finds the page and the help
            // window serves it (HelpFiles::reachable, with the folder mapped
            // once). HelpFiles serves only regular, non-hidden files, matching
            // names as Dir does, so a page it serves is one Dir finds.
            const std::optional<QByteArrayList> names
                = HelpFiles::namesOf(HelpFiles::urlOf(m_helpFolder, path));
            std::optional<QByteArray> html;
            if (names)
                html = HelpFiles::read(m_helpLocal, *names);
            if (!html) {
                const FileRefusal refusal
                    = names ? refusalOf(m_helpLocal, *names) : FileRefusal::Missing;
                const QString near = refusal == FileRefusal::Missing
                    ? nearMatch(topic + QStringLiteral(".html"),
                        QDir(mapWindowsPath(m_helpFolder + language)).entryList(QDir::Files))
                    : QString();
                const QString what = !near.isEmpty()
                    ? QStringLiteral("the help page \"%1.html\" is missing, but \"%2\" is there "
                                     "(did you mean it?)")
                          .arg(topic, near)
                    : refusal == FileRefusal::Missing
                    ? QStringLiteral("the help page %1.html is missing").arg(topic)
                    : QStringLiteral("the help window refuses the help page: %1")
                          .arg(refusalText(refusal, topic + QStringLiteral(".html")));
                record(make(Finding::Severity::Error,
                           near.isEmpty() ? QByteArray("page-") + refusalKind(refusal)
                                          : QByteArray("near-match"),
                           entry, path,
                           QStringLiteral("%1: the operator gets \"File '...' not found\"%2")
                               .arg(what, alsoEntries(topic))),
                    language);
                continue;
            }
            scanPage(language, { *names, entry, true }, path, linked, html);
        }
        // Then the pages they link to, each once; their findings go to the
        // entry whose page linked to them first.
        while (!linked.isEmpty()) {
            const Linked page = linked.takeFirst();
            scanPage(language, page, windowsPathOf(page.names), linked, std::nullopt);
        }
    }

    QString alsoEntries(const QString &topic) const
    {
        QStringList others;
        const QVector<int> &entries = m_topicEntries.value(topic);
        for (int k = 1; k < entries.size(); ++k)
            others << QString::number(entries.at(k));
        return others.isEmpty()
            ? QString()
            : QStringLiteral(" (also for entries %1)").arg(others.join(QLatin1String(", ")));
    }

    struct Linked
    {
        QByteArrayList names;
        int entry;
        bool entryPage = false;
    };

    // `html` is the page's content when it has been read already.
    void scanPage(const QString &linkingLanguage, const Linked &linkedPage, const QString &linkPath,
        QVector<Linked> &linked, std::optional<QByteArray> html)
    {
        // A page is judged under its name on disk, once however links spell it,
        // and its findings count for the language whose folder holds it.
        const Linked page { onDisk(linkedPage.names), linkedPage.entry, linkedPage.entryPage };
        const QString path = page.names == linkedPage.names ? linkPath : windowsPathOf(page.names);
        const QString folder = QFile::decodeName(page.names.first());
        const QString language
            = page.names.size() > 1 && m_languages.contains(folder, Qt::CaseInsensitive)
            ? folder
            : linkingLanguage;
        const QByteArray key = page.names.join('/');
        if (!firstVisit(key))
            return;
        if (!html)
            html = HelpFiles::read(m_helpLocal, page.names);
        if (!html)
            return;
        ++m_report.pagesChecked;
        // A linked page's name is judged with the link that leads to it.
        if (page.entryPage && !exactly(page.names))
            record(make(Finding::Severity::Warning, "name-case", page.entry, path,
                       QStringLiteral("the page's file name matches only without regard to case")),
                language);
        if (const QString kind = notHtml(*html); !kind.isEmpty()) {
            record(make(Finding::Severity::Error, "not-html", page.entry, path,
                       QStringLiteral("the file is no HTML page but %1: the operator sees it as "
                                      "text, or nothing")
                           .arg(kind)),
                language);
            return;
        }
        const QUrl base = helpUrl(key);
        const PageLinks links = pageLinks(*html);
        checkCharset(links.charset, *html, page.entry, path, language);
        for (const PageReference &reference : links.newWindows) {
            Finding f = make(Finding::Severity::Error, "target-blank", page.entry, path,
                QStringLiteral("the link to %1 asks for a new window, which the help window "
                               "never opens: the click does nothing")
                    .arg(reference.target));
            record(withPlace(f, reference), language);
        }
        m_anchors.insert(key, links.anchors);
        // A <base href> moves every relative address; one outside the help
        // folder takes them all there.
        const QUrl moved = links.base.isEmpty() ? base : base.resolved(QUrl(links.base));
        const bool away = moved.scheme() != base.scheme() || moved.host() != base.host();
        for (const PageReference &reference : links.references) {
            QByteArrayList target;
            const QString address
                = away ? moved.resolved(QUrl(reference.target)).toString() : reference.target;
            if (judgeAndRecord(
                    away ? base : moved, address, target, page.entry, path, reference, language)) {
                const QByteArray last = target.last().toLower();
                if (last.endsWith(".css"))
                    scanStyleSheet(target, page.entry, language);
                if (last.endsWith(".html") || last.endsWith(".htm")) {
                    linked.append({ target, page.entry, false });
                    checkFragment(QUrl(address).fragment(QUrl::FullyDecoded), target, page.entry,
                        path, reference, language);
                }
            }
        }
    }

    static Finding withPlace(Finding f, const PageReference &reference)
    {
        f.line = reference.line;
        f.element = reference.element;
        return f;
    }

    // What a file named as a page is when it is no HTML: another program's
    // document, or binary bytes; empty for text.
    static QString notHtml(const QByteArray &bytes)
    {
        static const std::pair<QByteArray, const char *> signatures[] = {
            { QByteArray("\xd0\xcf\x11\xe0", 4), "a Word or Excel document" },
            { QByteArray("PK\x03\x04", 4), "an Office document or a ZIP archive" },
            { QByteArray("%PDF"), "a PDF document" },
            { QByteArray("{\\rtf"), "an RTF document" },
        };
        for (const auto &[signature, kind] : signatures)
            if (bytes.startsWith(signature))
                return QLatin1String(kind);
        return bytes.left(1024).contains('\0') ? QStringLiteral("binary data") : QString();
    }

    // A page must be what it declares: one that says UTF-8 and is not shows the
    // operator replacement characters; one that says Windows-1252 or Latin-1 and
    // is UTF-8 shows two odd characters for each accented letter.
    void checkCharset(const QString &declared, const QByteArray &bytes, int entry,
        const QString &path, const QString &language)
    {
        const bool validUtf8 = bytes.isValidUtf8();
        const bool saysUtf8
            = declared == QLatin1String("utf-8") || declared == QLatin1String("utf8");
        const bool saysAnsi = declared == QLatin1String("windows-1252")
            || declared == QLatin1String("iso-8859-1") || declared == QLatin1String("latin1");
        const bool beyondAscii
            = std::any_of(bytes.cbegin(), bytes.cend(), [](char c) { return c & 0x80; });
        if (saysUtf8 && !validUtf8)
            record(make(Finding::Severity::Error, "charset", entry, path,
                       QStringLiteral("the page says UTF-8 but is not (Windows-1252?): the "
                                      "operator sees replacement characters")),
                language);
        else if (saysAnsi && validUtf8 && beyondAscii)
            record(make(Finding::Severity::Warning, "charset", entry, path,
                       QStringLiteral("the page says %1 but is UTF-8: the operator sees two odd "
                                      "characters for each accented letter")
                           .arg(declared)),
                language);
    }

    // The names of the file the help window opens for `names`, as they are on
    // disk (exactly, else without regard to case); `names` when there is none.
    QByteArrayList onDisk(const QByteArrayList &names) const
    {
        if (exactly(names))
            return names; // one look, not a folder listing a name
        QByteArrayList found;
        QString folder = m_helpLocal;
        for (const QByteArray &name : names) {
            const QString entry = entryFor(folder, name);
            if (entry.isEmpty())
                return names;
            found << QFile::encodeName(entry);
            folder += QLatin1Char('/') + entry;
        }
        return found;
    }

    // A file of the help folder as the help window addresses it.
    static QUrl helpUrl(const QByteArray &names)
    {
        QUrl url;
        url.setScheme(QLatin1String(HelpFiles::kScheme));
        url.setHost(QLatin1String(HelpFiles::kHost));
        url.setPath(QLatin1Char('/') + QString::fromUtf8(names));
        return url;
    }

    // The pages of a language folder that no entry of this screen reaches,
    // directly or through links: one finding a language, with every page.
    // Another screen's entries may reach them; the ignore file takes the kind.
    void checkOrphans(const QString &language)
    {
        const QStringList pages
            = QDir(mapWindowsPath(m_helpFolder + language))
                  .entryList({ QStringLiteral("*.html"), QStringLiteral("*.htm") }, QDir::Files,
                      QDir::Name);
        Finding orphans;
        for (const QString &page : pages) {
            // Both names come from the disk already.
            const QByteArrayList names { QFile::encodeName(language), QFile::encodeName(page) };
            if (m_scanned.contains(names.join('/')))
                continue;
            const QString path = windowsPathOf(names);
            if (orphans.kind.isEmpty())
                orphans = make(Finding::Severity::Warning, "page-orphan", -1, path, QString());
            else
                orphans.morePlaces.append({ -1, QString(), path, 0, QString() });
        }
        if (orphans.kind.isEmpty())
            return;
        orphans.message = QStringLiteral("%1 page(s) of %2 that no entry of this screen reaches, "
                                         "directly or through a link")
                              .arg(orphans.morePlaces.size() + 1)
                              .arg(language);
        orphans.languages << language;
        m_report.add(orphans);
    }

    // What a style sheet the page loads loads in turn, judged from the sheet's place.
    void scanStyleSheet(const QByteArrayList &sheet, int entry, const QString &language)
    {
        const QByteArray key = sheet.join('/');
        if (!firstVisit(key))
            return;
        const std::optional<QByteArray> css = HelpFiles::read(m_helpLocal, sheet);
        if (!css)
            return;
        const QUrl base = helpUrl(key);
        const QString path = windowsPathOf(sheet);
        for (const StyleReference &r : styleReferences(QString::fromUtf8(*css))) {
            const PageReference reference { r.line,
                QStringLiteral("%1(%2)").arg(r.import ? "@import" : "url", r.target), r.target };
            QByteArrayList target;
            if (judgeAndRecord(base, r.target, target, entry, path, reference, language)
                && target.last().toLower().endsWith(".css"))
                scanStyleSheet(target, entry, language);
        }
    }

    // A "#place" must be an id (or the name of an <a>) in the page it leads to;
    // the browser otherwise shows the page's top, which "#top" asks for anyway.
    void checkFragment(const QString &fragment, const QByteArrayList &target, int entry,
        const QString &path, const PageReference &reference, const QString &language)
    {
        if (fragment.isEmpty() || fragment.compare(QLatin1String("top"), Qt::CaseInsensitive) == 0)
            return;
        const QByteArray key = target.join('/');
        auto anchors = m_anchors.constFind(key);
        if (anchors == m_anchors.cend()) {
            const std::optional<QByteArray> html = HelpFiles::read(m_helpLocal, target);
            anchors = m_anchors.insert(key, html ? pageLinks(*html).anchors : QSet<QString>());
        }
        if (anchors->contains(fragment))
            return;
        Finding f = make(Finding::Severity::Warning, "fragment-missing", entry, path,
            QStringLiteral("#%1 is no id or anchor name in %2: the page opens at its top")
                .arg(fragment, QFile::decodeName(target.last())));
        record(withPlace(f, reference), language);
    }

    QString windowsPathOf(const QByteArrayList &names) const
    {
        QStringList parts;
        for (const QByteArray &name : names)
            parts << QFile::decodeName(name);
        return m_helpFolder + parts.join(QLatin1Char('\\'));
    }

    bool exactly(const QByteArrayList &names) const
    {
        return QFileInfo::exists(
            m_helpLocal + QLatin1Char('/') + QFile::decodeName(names.join('/')));
    }

    // Whether a page or style sheet is met for the first time: each is read once.
    bool firstVisit(const QByteArray &key)
    {
        const qsizetype before = m_scanned.size();
        m_scanned.insert(key);
        return m_scanned.size() != before;
    }

    // Judges a reference of a page or style sheet, records what is wrong with
    // it, and says whether its target is a file of the help folder to follow
    // (names in `target`).
    bool judgeAndRecord(const QUrl &base, const QString &address, QByteArrayList &target, int entry,
        const QString &path, const PageReference &reference, const QString &language)
    {
        const Target verdict = judge(base, address, target);
        if (verdict != Target::Fine && verdict != Target::Embedded)
            record(referenceFinding(verdict, entry, path, reference, target), language);
        return verdict == Target::Fine || verdict == Target::CaseOnly;
    }

    // Where a reference of the page at `base` leads, as the help window sees it.
    Target judge(const QUrl &base, const QString &written, QByteArrayList &names)
    {
        // A UNC path ("\\server\share") leaves the help folder; otherwise the
        // engine reads a backslash as a slash in the help scheme's addresses, a
        // standard scheme to it as http is ("..\Bilder\a.png").
        if (written.startsWith(QLatin1String("\\\\")))
            return Target::Outside;
        const QString writtenScheme = QUrl(written).scheme().toLower();
        const QString reference
            = writtenScheme.isEmpty() || writtenScheme == QLatin1String(HelpFiles::kScheme)
            ? QString(written).replace(QLatin1Char('\\'), QLatin1Char('/'))
            : written;
        const QUrl url(reference);
        const QString scheme = url.scheme().toLower();
        static const QStringList web = { QStringLiteral("http"), QStringLiteral("https"),
            QStringLiteral("ftp"), QStringLiteral("ws"), QStringLiteral("wss") };
        if (web.contains(scheme) || reference.startsWith(QLatin1String("//")))
            return Target::Web;
        if (scheme == QLatin1String("file") || scheme.size() == 1)
            return Target::Outside;
        // Pictures and other data written into the page itself load nothing.
        if (scheme == QLatin1String("data") || scheme == QLatin1String("blob"))
            return Target::Embedded;
        if (!scheme.isEmpty() && scheme != QLatin1String(HelpFiles::kScheme))
            return Target::OtherScheme;
        // ".." beyond the help folder: the browser stops at the folder, the
        // author meant a file outside it.
        QStringList folders = base.path().split(QLatin1Char('/'), Qt::SkipEmptyParts);
        folders.removeLast();
        for (const QString &part : url.path().split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
            if (part == QLatin1String("..")) {
                if (folders.isEmpty() && !url.path().startsWith(QLatin1Char('/')))
                    return Target::Outside;
                if (!folders.isEmpty())
                    folders.removeLast();
            } else if (part != QLatin1String(".")) {
                folders << part;
            }
        }
        const std::optional<QByteArrayList> resolved = HelpFiles::namesOf(base.resolved(url));
        if (!resolved || resolved->isEmpty())
            return Target::Outside;
        names = *resolved;
        const QByteArray key = names.join('/');
        auto cached = m_targets.constFind(key);
        if (cached == m_targets.cend()) {
            Target verdict = Target::Missing;
            if (HelpFiles::read(m_helpLocal, names))
                verdict = exactly(names) ? Target::Fine : Target::CaseOnly;
            cached = m_targets.insert(key, verdict);
        }
        return *cached;
    }

    Finding referenceFinding(Target verdict, int entry, const QString &page,
        const PageReference &reference, const QByteArrayList &target)
    {
        QByteArray kind = "reference-missing";
        Finding::Severity severity = Finding::Severity::Error;
        QString message;
        switch (verdict) {
        case Target::Missing: {
            const FileRefusal refusal
                = target.isEmpty() ? FileRefusal::Missing : refusalOf(m_helpLocal, target);
            kind = QByteArray("reference-") + refusalKind(refusal);
            message = refusal == FileRefusal::Missing
                ? QStringLiteral("points to %1, which is not in the help folder")
                      .arg(reference.target)
                : QStringLiteral("points to %1, which the help window refuses: %2")
                      .arg(
                          reference.target, refusalText(refusal, QFile::decodeName(target.last())));
            break;
        }
        case Target::Outside:
            kind = "reference-outside";
            message = QStringLiteral("points outside the help folder (%1): the help window "
                                     "refuses it")
                          .arg(reference.target);
            break;
        case Target::Web:
            kind = "reference-web";
            message = QStringLiteral("points to the web (%1): the help window refuses it")
                          .arg(reference.target);
            break;
        case Target::OtherScheme:
            kind = "reference-scheme";
            message = QStringLiteral("uses another scheme (%1): the help window refuses it")
                          .arg(reference.target);
            break;
        case Target::CaseOnly:
            kind = "name-case";
            severity = Finding::Severity::Warning;
            message = QStringLiteral("%1 matches a file only without regard to case")
                          .arg(reference.target);
            break;
        case Target::Fine:
        case Target::Embedded:
            break;
        }
        return withPlace(make(severity, kind, entry, page, message), reference);
    }

    // Findings that differ only in their language are reported once, with
    // every language they hold for.
    void record(Finding finding, const QString &language)
    {
        QString tail = finding.file;
        if (tail.startsWith(m_helpFolder + language + QLatin1Char('\\')))
            tail = tail.mid(m_helpFolder.size() + language.size() + 1);
        const QString key = finding.kind + QChar(1) + QString::number(finding.entry) + QChar(1)
            + tail + QChar(1) + finding.element + QChar(1) + finding.message;
        const auto it = m_merged.constFind(key);
        if (it != m_merged.cend()) {
            m_pending[*it].languages << language;
            return;
        }
        finding.languages << language;
        m_merged.insert(key, int(m_pending.size()));
        m_pending.append(finding);
    }

    // The same reference fault in many pages (one missing picture every page
    // shows) is one finding with every place it holds in.
    void flush()
    {
        QHash<QString, qsizetype> first;
        for (const Finding &finding : std::as_const(m_pending)) {
            const bool groups = finding.kind.startsWith(QLatin1String("reference-"))
                || finding.kind == QLatin1String("fragment-missing");
            const QString key = finding.kind + QChar(1) + finding.message + QChar(1)
                + finding.languages.join(QChar(2));
            const auto it = first.constFind(key);
            if (groups && it != first.cend()) {
                m_report.findings[*it].morePlaces.append(
                    { finding.entry, finding.name, finding.file, finding.line, finding.element });
                continue;
            }
            first.insert(key, m_report.findings.size());
            m_report.add(finding);
        }
    }

    const ScreenContext &m_context;
    ScreenMetrics &m_screen;
    CheckReport &m_report;
    QString m_helpFolder; // Windows path, ends in "\"
    QString m_helpLocal; // on this machine
    ReadOnce m_table;
    QStringList m_extraFolders;
    QStringList m_moreLanguages;
    QStringList m_languages; // every language whose pages are checked
    QStringList m_topics;
    QHash<QString, QVector<int>> m_topicEntries;
    QSet<QByteArray> m_scanned;
    QHash<QByteArray, Target> m_targets;
    QHash<QByteArray, QSet<QString>> m_anchors; // each page's ids and anchor names
    QHash<QString, int> m_merged;
    QVector<Finding> m_pending;
};

} // namespace

void checkInstallation(const ScreenContext &context, std::optional<qint16> language,
    ScreenMetrics &screen, CheckReport &report)
{
    InstallationCheck(context, screen, report).run(language);
}
