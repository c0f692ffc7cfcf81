#include "demovisu/DescriptionWriter.h"

#include "demovisu/DemoLayout.h"
#include "semantics/AnsiText.h"

#include <QStringList>

QByteArray describeDemo(const DemoLayout &layout, const QString &visuPfad, int language)
{
    QStringList lines;
    lines << QStringLiteral("[Global]") << QStringLiteral("DispHInt=%1").arg(layout.width)
          << QStringLiteral("VisuPfad=") + visuPfad << QStringLiteral("Language=%1").arg(language);

    const int kTwipsPerPixel = layout.twipsPerPixel;
    int number = 0;
    for (const DemoControl &control : layout.controls) {
        QPoint origin(0, 0);
        if (!control.container.isEmpty()) {
            const DemoControl *container = layout.find(control.container, control.containerIndex);
            Q_ASSERT(container);
            if (container)
                origin = container->rect.topLeft();
        }
        lines << QString() << QStringLiteral("[%1]").arg(number++)
              << QStringLiteral("Name=") + control.name;
        if (control.index >= 0)
            lines << QStringLiteral("Index=%1").arg(control.index);
        lines << QStringLiteral("Tag=") + control.tag;
        if (control.hasAlignment)
            lines << QStringLiteral("Alignment=%1").arg(control.alignment);
        lines << QStringLiteral("Left=%1").arg((control.rect.left() - origin.x()) * kTwipsPerPixel)
              << QStringLiteral("Top=%1").arg((control.rect.top() - origin.y()) * kTwipsPerPixel)
              << QStringLiteral("Width=%1").arg(control.rect.width() * kTwipsPerPixel)
              << QStringLiteral("Height=%1").arg(control.rect.height() * kTwipsPerPixel);
        if (!control.container.isEmpty()) {
            lines << QStringLiteral("ContainerName=") + control.container;
            if (control.containerIndex >= 0)
                lines << QStringLiteral("ContainerIndex=%1").arg(control.containerIndex);
        }
    }
    return toWindows1252(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}
