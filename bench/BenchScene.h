#pragma once

// Shared set-up of the overlay benchmarks: a Qt application on the offscreen
// platform, the real services without pauses, and an overlay form with a patterned
// screenshot, a footer button image and a symbol image in a temporary folder.

#include "description/StartupInput.h"
#include "os/PacedSteps.h"
#include "os/Picture.h"
#include "os/RealServices.h"
#include "overlay/MainForm.h"
#include "overlay/Startup.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace bench {

// A screen of the screenshot's size at 96 dots per inch, whatever the
// offscreen platform's own screen is: the form's image covers what lies on it.
class ScreenOfSize : public ScreenMetrics
{
public:
    ScreenOfSize(int width, int height)
        : m_area(0, 0, width, height)
    { }
    float twipsPerPixelX() override { return 15.0f; }
    float twipsPerPixelY() override { return 15.0f; }
    QRect geometry() override { return m_area; }

private:
    QRect m_area;
};

// The real services with the fade's pauses and the handling of window
// messages taken out.
class QuietServices
{
public:
    QuietServices()
        : m_services(withoutPauses(m_real.services(), m_pauses))
    { }
    QuietServices(const QuietServices &) = delete;
    QuietServices &operator=(const QuietServices &) = delete;

    const Services &services() const { return m_services; }

private:
    RealServices m_real;
    NoPauses m_pauses;
    Services m_services;
};

class Scene
{
public:
    Scene(int width, int height)
        : m_width(width)
        , m_height(height)
        , m_screen(width, height)
        , m_services(m_quiet.services())
    {
        m_services.screen = &m_screen;
        QImage screenshot(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                screenshot.setPixel(x, y, qRgb((x * 7 + y) % 256, (y * 5) % 256, (x + y) % 200));
        screenshotFile = m_dir.path() + QStringLiteral("/TavlinScreen.bmp");
        screenshot.save(screenshotFile, "BMP");

        const QString visu = m_dir.path() + QStringLiteral("/Visu/");
        QDir().mkpath(visu + QStringLiteral("Standard/KalvoFußzeile"));
        QImage button(36, 36, QImage::Format_ARGB32);
        button.fill(qRgb(255, 140, 0));
        button.save(visu + QStringLiteral("Standard/KalvoFußzeile/KalvoFußzeileHelp_")
                + QString::number(width) + QStringLiteral(".gif"),
            "PNG");
        m_visu = visu;

        QDir().mkpath(m_dir.path() + QStringLiteral("/bin"));
        QImage symbol(24, 24, QImage::Format_ARGB32);
        symbol.fill(qRgb(20, 60, 230));
        symbol.save(m_dir.path() + QStringLiteral("/bin/Tavlin_") + QString::number(width)
                + QStringLiteral(".gif"),
            "PNG");
    }

    // A new form as start-up leaves it before the overlay build, with `entries`
    // controls spread over the screen.
    std::unique_ptr<MainForm> makeForm(int entries = 0) const
    {
        auto form = std::make_unique<MainForm>(m_services);
        form->appPath = m_dir.path() + QStringLiteral("/bin");
        ScreenContext &c = form->context();
        c.TwipsPerPixelX = m_screen.twipsPerPixelX();
        c.TwipsPerPixelY = m_screen.twipsPerPixelY();
        c.DispHInt = static_cast<qint16>(m_width);
        c.VisuPfad = m_visu;
        c.ScreenPicture = LoadPicture(screenshotFile, m_screen);
        applyLayoutValues(c);
        c.LastEntry = static_cast<qint16>(entries - 1);
        for (int i = 0; i < entries; ++i) {
            HelpEntry &e = c.HelpEntries[size_t(i)];
            e.Name = QStringLiteral("Control%1").arg(i);
            e.Left = static_cast<qint16>((i % 6) * 2400 + 300);
            e.Top = static_cast<qint16>((i / 6) * 1800 + 600);
            e.Width = 1500;
            e.Height = 600;
            e.Tag = QStringLiteral("Page%1").arg(i);
            e.Alignment = static_cast<qint16>(i % 3 == 0 ? 4 : -1);
            e.ContainerPath = QStringLiteral(".");
        }
        return form;
    }

    // The form after the first steps of the build: sized, buffers filled.
    std::unique_ptr<MainForm> makeDimmingForm() const
    {
        auto form = makeForm();
        form->setWidth(form->context().ScreenPicture.Width);
        form->setHeight(form->context().ScreenPicture.Height);
        form->OriginalPic->setPicture(form->context().ScreenPicture);
        form->DunkelPic->setWidth(form->OriginalPic->Width());
        form->DunkelPic->setHeight(form->OriginalPic->Height());
        return form;
    }

    QString screenshotFile;

private:
    QTemporaryDir m_dir;
    QString m_visu;
    int m_width;
    int m_height;
    QuietServices m_quiet;
    mutable ScreenOfSize m_screen;
    Services m_services;
};

// main() of a benchmark program that needs widgets.
inline int runWithApplication(
    int argc, char **argv, benchmark::BenchmarkReporter *reporter = nullptr)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (reporter)
        benchmark::RunSpecifiedBenchmarks(reporter);
    else
        benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace bench
