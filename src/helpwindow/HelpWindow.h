#pragma once

#include "browser/BrowserView.h"

#include <QWidget>
#include <memory>

class PictureButton;
class ScreenMetrics;

// The window of form Help with its stored make-up: frameless, light blue,
// caption "Form1", 4680 x 3195 twips, and its three controls at their design
// places. It holds no logic; the form (Help) drives it.
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    // Its make-up is in twips at the screen's twips per pixel; its view comes
    // from `browser`.
    HelpWindow(ScreenMetrics &screen, const BrowserFactory &browser, QWidget *parent = nullptr);
    ~HelpWindow() override;

    PictureButton *Verschieben = nullptr;
    PictureButton *Ende = nullptr;
    std::unique_ptr<BrowserView> WebBrowser;

    // Destroys the browser and its page at once (unloading does not wait).
    void releaseBrowser();

    static const QColor kBackground;
};
