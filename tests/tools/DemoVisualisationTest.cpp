#include "demovisu/DemoVisualisation.h"
#include "description/ContainerResolver.h"
#include "description/DescriptionReader.h"
#include "description/TavlinModule.h"
#include "state/ScreenContext.h"
#include "support/QtPrinters.h"
#include "support/TempFolder.h"

#include <QProcess>
#include <gtest/gtest.h>

// The description, read as the program reads it, names every control where it is drawn.
TEST(DemoVisualisation, DescriptionMatchesTheDrawnControls)
{
    for (const int width : { 1280, 800 }) {
        TempFolder folder;
        DemoOptions options;
        options.root = folder.path() + QStringLiteral("/demo");
        options.displayWidth = width;
        DemoVisualisation demo;
        QString error;
        ASSERT_TRUE(buildDemoVisualisation(options, &demo, &error)) << error.toStdString();
        EnvironmentGuard wine("WINEPREFIX");
        wine.set(demo.winePrefix);

        ScreenContext context;
        context.TempPfad = demo.tempVisu + QStringLiteral("\\Kestrel");
        TavlinModule module;
        ReadDescription(context, module);
        ResolveContainers(context);
        EXPECT_EQ(context.DispHInt, width);
        const std::vector<DemoControl> &controls = demo.layout.controls;
        ASSERT_EQ(context.LastEntry + 1, int(controls.size()));
        for (size_t i = 0; i < controls.size(); ++i) {
            const HelpEntry &entry = context.HelpEntries[i];
            const DemoControl &control = controls[i];
            SCOPED_TRACE(control.name.toStdString() + " at " + std::to_string(width));
            EXPECT_EQ(entry.Name, control.name);
            EXPECT_EQ(entry.Index, control.index);
            EXPECT_EQ(QRect(entry.Left, entry.Top, entry.Width, entry.Height),
                QRect(control.rect.topLeft() * 15, control.rect.size() * 15));
            EXPECT_EQ(entry.Tag, demoTopic(control.tag));
        }
    }
}

// The demo script takes the environment for the program from --print-env.
TEST(DemoVisualisation, ProgramPrintsTheEnvironment)
{
    TempFolder folder;
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TAVLIN_BINARY_DIR "/bin/tavlin-demo-visu"),
        { QStringLiteral("--800"), QStringLiteral("--print-env"), folder.path() + "/d" });
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromLocal8Bit(process.readAllStandardOutput()),
        QStringLiteral("export WINEPREFIX='%1/d/wine'\nexport TEMPVISU='C:\\Temp'\n")
            .arg(folder.path()));
    EXPECT_EQ(
        QImage(folder.path() + "/d/drive_c/Temp/Kestrel/TavlinScreen.bmp").size(), QSize(800, 600));
}
