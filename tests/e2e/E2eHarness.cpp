#include "E2eHarness.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QHash>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QThread>

bool waitUntil(const std::function<bool()> &done, int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        QCoreApplication::processEvents();
        if (done())
            return true;
        if (timer.elapsed() > milliseconds)
            return false;
        QThread::msleep(50);
    }
}

QImage grabScreen(QPoint at, QSize size)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->grabWindow(0, at.x(), at.y(), size.width(), size.height())
                        .toImage()
                        .convertToFormat(QImage::Format_RGB32)
                  : QImage();
}

int mismatches(const QImage &actual, const QImage &expected, const QRect &apart)
{
    if (actual.size() != expected.size())
        return -1;
    int count = 0;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            count += (actual.pixel(x, y) | 0xff000000) != (expected.pixel(x, y) | 0xff000000)
                && !apart.contains(x, y);
    return count;
}

QString keepForInspection(const QImage &image, const QString &name)
{
    const QString path = QDir::tempPath() + QLatin1Char('/') + name;
    image.save(path, "PNG");
    return path;
}

bool xdotool(const QStringList &arguments, QString *output)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    if (!tool.waitForFinished(10000)) {
        tool.kill();
        tool.waitForFinished(1000);
        return false;
    }
    if (output)
        *output = QString::fromLocal8Bit(tool.readAllStandardOutput());
    return tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

bool pointer(QPoint at, const char *action)
{
    QStringList arguments { QStringLiteral("mousemove"), QString::number(at.x()),
        QString::number(at.y()) };
    if (action)
        arguments << QLatin1String(action) << QStringLiteral("1");
    return xdotool(arguments);
}

static QRect geometry(const QString &window)
{
    QString shell;
    if (!xdotool(
            { QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window }, &shell))
        return QRect();
    QHash<QString, int> values; // lines of KEY=value
    for (const QString &line : shell.split(QLatin1Char('\n')))
        values[line.section(QLatin1Char('='), 0, 0)] = line.section(QLatin1Char('='), 1).toInt();
    return QRect(values[QStringLiteral("X")], values[QStringLiteral("Y")],
        values[QStringLiteral("WIDTH")], values[QStringLiteral("HEIGHT")]);
}

QList<QRect> windowsOf(qint64 pid, const QString &title)
{
    QStringList arguments { QStringLiteral("search"), QStringLiteral("--all"),
        QStringLiteral("--onlyvisible"), QStringLiteral("--pid"), QString::number(pid) };
    if (!title.isEmpty())
        arguments << QStringLiteral("--name") << QLatin1Char('^') + title + QLatin1Char('$');
    QString ids;
    xdotool(arguments, &ids);
    QList<QRect> found;
    for (const QString &id : ids.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (const QRect window = geometry(id.trimmed()); !window.isEmpty())
            found << window;
    return found;
}

QRect focusedWindow()
{
    QString id;
    return xdotool({ QStringLiteral("getwindowfocus") }, &id) ? geometry(id.trimmed()) : QRect();
}
