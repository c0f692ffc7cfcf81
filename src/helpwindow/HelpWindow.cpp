#include "helpwindow/HelpWindow.h"

#include "browser/BrowserView.h"
#include "helpwindow/ButtonPictures.h"
#include "helpwindow/PictureButton.h"
#include "helpwindow/TwipsGeometry.h"
#include "os/DisplayServer.h"

const QColor HelpWindow::kBackground(192, 192, 255);

// Kept above all other windows, like the overlay it must cover.
HelpWindow::HelpWindow(ScreenMetrics &screen, const BrowserFactory &browser, QWidget *parent)
    : QWidget(parent, Qt::Window | kOwnPlacement)
{
    const TwipsGeometry twips(screen);
    setWindowTitle(QStringLiteral("Form1"));
    markOwnWindow(*this);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kBackground);
    setPalette(colours);
    twips.place(this, 0, 0, 4680, 3195);

    const QColor grey(192, 192, 192);
    // Created in tab order (Ende 0, WebBrowser 1, Verschieben 2); nothing takes
    // the keyboard focus from the browser but the browser itself.
    Ende = new PictureButton(closeSymbolPicture(), grey, screen, this);
    Ende->setObjectName(QStringLiteral("Ende"));
    WebBrowser = createBrowserView(browser, this);
    WebBrowser->widget()->setObjectName(QStringLiteral("WebBrowser"));
    Verschieben = new PictureButton(moveSymbolPicture(), grey, screen, this);
    Verschieben->setObjectName(QStringLiteral("Verschieben"));

    twips.place(Verschieben, 90, 2145, 3510, 960);
    twips.place(WebBrowser->widget(), 90, 90, 4500, 1995);
    twips.place(Ende, 3660, 2175, 945, 945);
}

HelpWindow::~HelpWindow()
{
    releaseBrowser();
}

void HelpWindow::releaseBrowser()
{
    WebBrowser.reset();
}
