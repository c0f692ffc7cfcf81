#include "demovisu/ScreenDriver.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QThread>

bool waitUntil(const std::function<bool()> &condition, int milliseconds)
{
    QElapsedTimer timer;
    for (timer.start(); !condition(); QThread::msleep(5)) {
        if (timer.elapsed() > milliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

QImage grabScreen(QPoint at, QSize size)
{
    const QPixmap grab = QGuiApplication::primaryScreen()->grabWindow(
        0, at.x(), at.y(), size.width(), size.height());
    return grab.toImage().convertToFormat(QImage::Format_RGB32);
}

bool xdotool(const QStringList &arguments, QString *output)
{
    QProcess tool; // killed, if need be, when it goes
    tool.start("xdotool", arguments);
    const bool finished = tool.waitForFinished(10000);
    if (output)
        *output = QString::fromLocal8Bit(tool.readAllStandardOutput());
    return finished && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

bool pointer(QPoint at, const char *action)
{
    QStringList arguments { "mousemove", QString::number(at.x()), QString::number(at.y()) };
    return xdotool(action ? arguments << action << "1" : arguments);
}

QList<QRect> windows(const QStringList &arguments)
{
    QString shell; // lines of KEY=value, SCREEN the last of each window's
    xdotool(arguments + QStringList { "getwindowgeometry", "--shell", "%@" }, &shell);
    QList<QRect> found;
    QHash<QString, int> values;
    for (const QString &line : shell.split('\n')) {
        values[line.section('=', 0, 0)] = line.section('=', 1).toInt();
        const QRect window(values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]);
        if (line.startsWith("SCREEN=") && !window.isEmpty())
            found << window;
    }
    return found;
}

QHash<qint64, qint64> processParents()
{
    QHash<qint64, qint64> parents;
    for (QDirIterator it("/proc", QDir::Dirs | QDir::NoDotAndDotDot); it.hasNext();) {
        QFile stat(it.next() + "/stat");
        if (stat.open(QIODevice::ReadOnly)) {
            const QByteArray line = stat.readAll(); // pid (name) state ppid ...
            const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
            parents.insert(it.fileName().toLongLong(), fields.value(1).toLongLong());
        }
    }
    return parents;
}

double processTreeMemoryMb(qint64 pid)
{
    const QHash<qint64, qint64> parents = processParents();
    double kb = 0;
    for (auto it = parents.cbegin(); it != parents.cend(); ++it) {
        qint64 above = it.key();
        for (int depth = 0; depth < 8 && above > 1 && above != pid; ++depth)
            above = parents.value(above);
        QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(it.key()));
        if (above == pid && rollup.open(QIODevice::ReadOnly))
            for (const QByteArray &line : rollup.readAll().split('\n'))
                if (line.startsWith("Pss:"))
                    kb += line.mid(4).trimmed().split(' ').first().toDouble();
    }
    return kb / 1024;
}
