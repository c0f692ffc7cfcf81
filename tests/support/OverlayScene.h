#pragma once

#include "overlay/MainForm.h"
#include "support/FakeServices.h"
#include "support/TempFolder.h"

#include <QImage>
#include <memory>

// An overlay form as start-up leaves it before the overlay is built, on fake
// services, its screenshot and images real files in a temporary folder.
class OverlayScene
{
public:
    // At 15 twips per pixel; `events`, when given, handles the form's window messages.
    explicit OverlayScene(qint16 displayWidth = 800, EventPump *events = nullptr);

    FakeServices fake;
    TempFolder folder;
    std::unique_ptr<MainForm> form;

    MainForm &Main() { return *form; }
    ScreenContext &context() { return form->context(); }

    // The screenshot's colour at a pixel: every channel varies, none is cyan.
    static QRgb screenshotPixel(int x, int y);
    // A pixel laid with opacity level over black, rounded.
    static QRgb dimmedPixel(QRgb pixel, int level);

    // Writes and loads a screenshot of the given size (the pattern above).
    void setScreenshot(int width, int height);
    // Writes the footer button image for the current width.
    void setButtonImage(const QImage &image);
    // Writes the help symbol image for the current width.
    void setSymbolImage(const QImage &image);
    QString buttonImageFile() const;

    // The first steps of the overlay build: form size, OriginalPic, DunkelPic.
    void prepareBuffers();

    // Appends an entry (absolute position, twips) and returns it.
    HelpEntry &addEntry(const QString &name, int left, int top, int width, int height,
        const QString &tag = QStringLiteral("Page"));

    // A button of 12 x 10 (orange, transparent at (0, 0)); a symbol of 20 x 18 (blue,
    // cyan corners, transparent at (10, 9)).
    static QImage sampleButton();
    static QImage sampleSymbol();
};
