// tavlin-symbols: draws the help symbol images Tavlin_800.gif and
// Tavlin_1280.gif that the overlay lays next to every described control.
// Cyan marks where the darkened screenshot shows through.

#include "gif/GifEncoder.h"
#include "symbols/HelpMark.h"

#include <QDir>
#include <cstdio>
#include <cstring>

namespace {

constexpr QRgb kCyan = 0xFF00FFFFu; // red 0, green 255, blue 255

struct SymbolSize
{
    int displayWidth;
    int pixels;
};

// 36 pixels on the 1280 screen (540 twips at 15 twips per pixel), scaled to
// 24 for the 800 screen.
constexpr SymbolSize kSizes[] = { { 800, 24 }, { 1280, 36 } };

void usage(FILE *to)
{
    std::fputs("Usage: tavlin-symbols FOLDER\n"
               "Writes the help symbol images Tavlin_800.gif (24 x 24 pixels) and\n"
               "Tavlin_1280.gif (36 x 36 pixels) into FOLDER, the folder of the program\n"
               "tavlin. The symbol is a blue badge with a white question mark; cyan\n"
               "(red 0, green 255, blue 255) fills the rest and is left out when the\n"
               "overlay draws it.\n",
        to);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        usage(stdout);
        return 0;
    }
    if (argc != 2) {
        usage(stderr);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "tavlin-symbols: cannot create %s\n", argv[1]);
        return 1;
    }
    GifEncoder encoder;
    for (const SymbolSize &size : kSizes) {
        const QString name
            = QDir(folder).filePath(QStringLiteral("Tavlin_%1.gif").arg(size.displayWidth));
        if (!encoder.write(drawHelpMark(size.pixels, kCyan), name)) {
            std::fprintf(stderr, "tavlin-symbols: %s\n", qPrintable(encoder.errorString()));
            return 1;
        }
    }
    return 0;
}
