#include "demovisu/DemoLayout.h"
#include "description/ContainerResolver.h"
#include "description/DescriptionReader.h"
#include "description/TavlinModule.h"
#include "state/ScreenContext.h"
#include "support/QtPrinters.h"
#include "support/TempFolder.h"

#include <QProcess>
#include <gtest/gtest.h>

// The demo as the demo script makes it (taking the environment from --print-env):
// its description, read as the program reads it, names every control where it is drawn.
TEST(DemoVisualisation, DescriptionMatchesTheDrawnControls)
{
    for (const int width : { 1280, 800 }) {
        TempFolder folder;
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        process.setProcessEnvironment(environment);
        QStringList arguments { "--print-env", folder.path() + "/d" };
        if (width == 800)
            arguments.prepend("--800");
        process.start(QStringLiteral(TAVLIN_BINARY_DIR "/bin/tavlin-demo-visu"), arguments);
        ASSERT_TRUE(process.waitForFinished(60000));
        ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        EXPECT_EQ(QString::fromLocal8Bit(process.readAllStandardOutput()),
            QStringLiteral("export WINEPREFIX='%1/d/wine'\nexport TEMPVISU='C:\\Temp'\n")
                .arg(folder.path()));
        EnvironmentGuard wine("WINEPREFIX");
        wine.set(folder.path() + "/d/wine");

        ScreenContext context;
        context.TempPfad = QStringLiteral("C:\\Temp\\Kestrel");
        TavlinModule module;
        ReadDescription(context, module);
        ResolveContainers(context);
        EXPECT_EQ(context.DispHInt, width);
        const std::vector<DemoControl> controls = demoLayout(width).controls;
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
