#include "E2eHarness.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <cstring>

ProgramRun::ProgramRun()
    : m_dir(QDir::tempPath() + QStringLiteral("/tavlin-e2e-XXXXXX"))
{
    QDir().mkpath(programFolder());
    QDir().mkpath(workFolder());
    QDir().mkpath(visuFolder());
    const QString copy = programFolder() + QStringLiteral("/tavlin");
    m_ready = m_dir.isValid() && QFile::copy(QStringLiteral(TAVLIN_PROGRAM), copy)
        && QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

ProgramRun::~ProgramRun()
{
    kill();
}

QString ProgramRun::writeFile(const QString &relative, const QByteArray &content) const
{
    const QString path = root() + QLatin1Char('/') + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
    return path;
}

QString ProgramRun::writeImage(
    const QString &relative, const QImage &image, const char *format) const
{
    const QString path = root() + QLatin1Char('/') + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    image.save(path, format);
    return path;
}

void ProgramRun::writeScreenshot(const QImage &image) const
{
    writeImage(QStringLiteral("temp/Kestrel/TavlinScreen.bmp"), image, "BMP");
}

void ProgramRun::writeDescription(const QByteArray &windows1252) const
{
    writeFile(QStringLiteral("temp/Kestrel/Tavlin.txt"), windows1252);
}

bool ProgramRun::copyBuiltCompanions() const
{
    const QString built = QFileInfo(QStringLiteral(TAVLIN_PROGRAM)).absolutePath();
    bool ok = true;
    for (const QString &name : { QStringLiteral("Tavlin_800.gif"),
             QStringLiteral("Tavlin_1280.gif"), QStringLiteral("libtavlin_webengine.so") }) {
        const QString from = built + QLatin1Char('/') + name;
        const QString to = programFolder() + QLatin1Char('/') + name;
        if (QFileInfo::exists(from)) {
            QFile::remove(to);
            ok = QFile::copy(from, to) && ok;
        } else if (name.endsWith(QLatin1String(".gif"))) {
            ok = false;
        }
    }
    return ok;
}

void ProgramRun::setEnvironment(const QString &name, const QString &value)
{
    m_environment.insert(name, value);
}

bool ProgramRun::start()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TEMPVISU"), root() + QStringLiteral("/temp"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(m_environment);
    m_process.setProcessEnvironment(environment);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(programFolder() + QStringLiteral("/tavlin"), QStringList());
    return m_process.waitForStarted(10000);
}

bool ProgramRun::waitForExit(int milliseconds)
{
    return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(milliseconds);
}

void ProgramRun::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(5000);
}

QImage ProgramRun::grabScreen()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QImage();
    return screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
}

QImage ProgramRun::waitForScreen(
    const std::function<bool(const QImage &)> &done, int milliseconds, bool *accepted)
{
    QElapsedTimer timer;
    timer.start();
    QImage last;
    for (;;) {
        QCoreApplication::processEvents();
        last = grabScreen();
        if (done(last)) {
            if (accepted)
                *accepted = true;
            return last;
        }
        if (timer.elapsed() > milliseconds)
            break;
        QThread::msleep(100);
    }
    if (accepted)
        *accepted = false;
    return last;
}

QList<QRgb> ProgramRun::watchPixel(
    int x, int y, const std::function<bool(QRgb)> &done, int milliseconds)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    QList<QRgb> seen;
    QElapsedTimer timer;
    timer.start();
    while (screen && timer.elapsed() < milliseconds) {
        const QRgb now = screen->grabWindow(0, x, y, 1, 1).toImage().pixel(0, 0) | 0xff000000;
        if (seen.isEmpty() || seen.last() != now)
            seen << now;
        if (done(now))
            break;
    }
    return seen;
}

bool ProgramRun::xdotool(const QStringList &arguments)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    if (!tool.waitForFinished(10000)) {
        tool.kill();
        tool.waitForFinished(1000);
        return false;
    }
    return tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

QString ProgramRun::xdotoolOutput(const QStringList &arguments)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    if (!tool.waitForFinished(10000)) {
        tool.kill();
        tool.waitForFinished(1000);
        return QString();
    }
    if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
        return QString();
    return QString::fromLocal8Bit(tool.readAllStandardOutput());
}

QList<QRect> ProgramRun::windows() const
{
    QList<QRect> found;
    if (m_process.state() == QProcess::NotRunning)
        return found;
    const QString ids = xdotoolOutput(
        { QStringLiteral("search"), QStringLiteral("--all"), QStringLiteral("--onlyvisible"),
            QStringLiteral("--pid"), QString::number(m_process.processId()) });
    for (const QString &id : ids.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString shell = xdotoolOutput(
            { QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), id.trimmed() });
        int values[4] = { 0, 0, -1, -1 };
        const char *keys[4] = { "X=", "Y=", "WIDTH=", "HEIGHT=" };
        for (const QString &line : shell.split(QLatin1Char('\n')))
            for (int k = 0; k < 4; ++k)
                if (line.startsWith(QLatin1String(keys[k])))
                    values[k] = line.mid(int(std::strlen(keys[k]))).toInt();
        if (values[2] > 0 && values[3] > 0)
            found << QRect(values[0], values[1], values[2], values[3]);
    }
    return found;
}

static QStringList moveTo(int x, int y)
{
    return { QStringLiteral("mousemove"), QString::number(x), QString::number(y) };
}

bool ProgramRun::clickAt(int x, int y, int button)
{
    return xdotool(moveTo(x, y) << QStringLiteral("click") << QString::number(button));
}

bool ProgramRun::pressAt(int x, int y, int button)
{
    return xdotool(moveTo(x, y) << QStringLiteral("mousedown") << QString::number(button));
}

bool ProgramRun::releaseAt(int x, int y, int button)
{
    return xdotool(moveTo(x, y) << QStringLiteral("mouseup") << QString::number(button));
}

QString ProgramRun::keepForInspection(const QImage &image, const QString &name)
{
    const QString path = QDir::tempPath() + QStringLiteral("/") + name;
    image.save(path, "PNG");
    return path;
}

float screenTwipsPerPixel()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen || screen->logicalDotsPerInchX() <= 0)
        return 0;
    return static_cast<float>(1440.0 / screen->logicalDotsPerInchX());
}
