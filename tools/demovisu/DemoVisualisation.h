#pragma once

#include "demovisu/DemoLayout.h"

#include <QString>

// Lays out a complete demo visualisation, the way a real one leaves things
// before it starts Tavlin, under one root folder:
//
//   <root>/drive_c/Temp/Kestrel/TavlinScreen.bmp   the screenshot (24-bit BMP)
//   <root>/drive_c/Temp/Kestrel/Tavlin.txt         its description (Windows-1252, CR LF)
//   <root>/drive_c/Kalvo/                          the installation folder, VisuPfad C:\Kalvo\ :
//       Standard/KalvoFußzeile/KalvoFußzeileHelp_800.gif and _1280.gif
//       Program/Help/Tavlin/Deutsch/*.html, English/*.html, tavlin.css, Bilder/
//       Program/Tools/Languages.mdb                table LookupLanguages
//   <root>/wine/dosdevices/c:  ->  ../../drive_c   Wine's link for drive C:
//
// Tavlin then runs with WINEPREFIX=<root>/wine and TEMPVISU=C:\Temp, and
// finds every file through its Windows paths.
struct DemoOptions
{
    QString root; // created when missing; existing files are replaced
    int displayWidth = 1280; // 1280 (1280 x 1024) or 800 (800 x 600)
    int language = 2; // Global/Language: 1 Deutsch, 2 English, ...
    int twipsPerPixel = 15; // the panel's: 15 at 96 dots per inch, 12 at 120
};

struct DemoVisualisation
{
    QString winePrefix; // <root>/wine
    QString tempVisu; // the value for TEMPVISU: C:\Temp
    QString visuPfad; // C:\Kalvo\ as written into the description
    QString tempFolder; // <root>/drive_c/Temp/Kestrel
    QString visuFolder; // <root>/drive_c/Kalvo
    DemoLayout layout;
};

// Needs a QGuiApplication (the screen's text is drawn with fonts).
// False, with `error` set, when a file or folder cannot be written.
bool buildDemoVisualisation(const DemoOptions &options, DemoVisualisation *result, QString *error);
