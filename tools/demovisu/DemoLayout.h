#pragma once

#include <QRect>
#include <QString>
#include <vector>

// The controls of the demo operator screen, in the order the description
// lists them (every container before what it holds).
//
// The screen is designed for 1280 x 1024 pixels; the 800 x 600 layout is the
// same screen scaled, each edge rounded to a whole pixel, so that the
// drawing and the description share the very same rectangles.
enum class DemoKind {
    Logo,
    Clock,
    LoginButton,
    Frame,
    Tank,
    LevelLabel,
    Valve,
    Pump,
    Filler,
    Conveyor,
    Counter,
    CommandButton,
    Option,
    Combo,
    Field,
    Trend,
    AlarmList,
    Footer,
    FooterButton,
};

struct DemoControl
{
    DemoKind kind = DemoKind::Frame;
    QString name; // the control's Name
    int index = -1; // its Index in a control array; -1: not an array
    QRect rect; // absolute, in screen pixels
    QString container; // Name of the containing control; empty: on the screen
    int containerIndex = -1;
    QString tag; // Tag as the visualisation writes it, markers included
    bool hasAlignment = false;
    int alignment = 0;
    QString caption; // the text the control shows
    int state = 0; // kind-dependent: running, open, level in percent ...
};

struct DemoLayout
{
    int width = 1280; // display width in pixels (DispHInt)
    int height = 1024;
    int footerTop = 916; // y of the footer's top edge
    int helpButtonSize = 66;
    // The panel's twips per pixel, in which the description is written: 15
    // at 96 dots per inch, 12 at 120.
    int twipsPerPixel = 15;
    std::vector<DemoControl> controls;

    // The scaling from the 1280 x 1024 design to this layout.
    int x(int designX) const;
    int y(int designY) const;
    QRect rect(int designLeft, int designTop, int designWidth, int designHeight) const;
    // A font or line size in pixels, scaled with the screen height.
    qreal size(qreal designSize) const;

    const DemoControl *find(const QString &name, int index = -1) const;
};

// The layout for a display width of 1280 or 800 pixels.
DemoLayout demoLayout(int displayWidth);

// The help topic of a tag: the tag without its "X=...;" and "Y=...;" parts
// and without the characters "T=".
QString demoTopic(const QString &tag);
