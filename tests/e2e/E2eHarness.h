#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

// One run of the real program on the test's X display. The program is copied
// into a folder of its own (bin/), so that the files it reads beside itself
// (the symbol images) are the test's; TEMPVISU points at another folder of the
// run, whose "Kestrel" subfolder takes the screenshot and the description.
// The program is killed when the run ends, whatever happened.
class ProgramRun
{
public:
    ProgramRun();
    ~ProgramRun();
    ProgramRun(const ProgramRun &) = delete;
    ProgramRun &operator=(const ProgramRun &) = delete;

    bool ready() const { return m_ready; } // the folder and the program copy exist
    QString root() const { return m_dir.path(); }
    QString programFolder() const { return root() + QStringLiteral("/bin"); }
    QString workFolder() const { return root() + QStringLiteral("/temp/Kestrel"); }
    QString visuFolder() const { return root() + QStringLiteral("/visu/"); } // ends in "/"

    // Files of the run, by path relative to its root.
    QString writeFile(const QString &relative, const QByteArray &content) const;
    QString writeImage(
        const QString &relative, const QImage &image, const char *format = "PNG") const;
    void writeScreenshot(const QImage &image) const; // BMP, as the visualisation leaves it
    void writeDescription(const QByteArray &windows1252) const;

    // Puts the files the program reads from its own folder in the build (the
    // symbol images and, when built, the browser engine plugin) beside the copy.
    bool copyBuiltCompanions() const;
    // An environment variable for the program, set over the run's defaults.
    void setEnvironment(const QString &name, const QString &value);

    // Starts the program; false when it did not start within 10 s.
    bool start();
    QProcess &process() { return m_process; }
    // Waits up to `milliseconds` for the program to end by itself.
    bool waitForExit(int milliseconds);
    void kill();

    // The whole screen as RGB32.
    static QImage grabScreen();
    // Grabs the screen until `done` accepts it or `milliseconds` pass; the
    // last grab is returned either way. Events are processed in between.
    static QImage waitForScreen(const std::function<bool(const QImage &)> &done, int milliseconds,
        bool *accepted = nullptr);

    // Reads the screen's pixel (x, y) as often as it can until `done` accepts
    // it or `milliseconds` pass; returns each colour it showed, once per change.
    static QList<QRgb> watchPixel(
        int x, int y, const std::function<bool(QRgb)> &done, int milliseconds);

    // Mouse input on the display through xdotool: move to the pixel (x, y) of
    // the screen and click, press or release a button (1 left, 2 middle,
    // 3 right). False when xdotool failed or did not finish within 10 s.
    static bool xdotool(const QStringList &arguments);
    // The same, returning what xdotool printed (empty when it failed).
    static QString xdotoolOutput(const QStringList &arguments);
    // The visible top-level windows of the program on the display.
    QList<QRect> windows() const;
    static bool clickAt(int x, int y, int button = 1);
    static bool pressAt(int x, int y, int button = 1);
    static bool releaseAt(int x, int y, int button = 1);

    // Saves an image for the reader of a failed test; returns its path.
    static QString keepForInspection(const QImage &image, const QString &name);

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QProcessEnvironment m_environment;
    bool m_ready = false;
};

// Twips per pixel of the test's screen (the program sees the same display).
float screenTwipsPerPixel();
