#pragma once

#include "model/HelpEntry.h"
#include "os/Picture.h"

#include <QString>

// The values several parts of the program share: written during start-up and
// only read afterwards, except the language name.
// Units: twips unless the comment says pixels.
struct ScreenContext : EntryTable
{
    QString TempPfad;         // working folder, "<root>\Kestrel"
    Picture ScreenPicture;    // the screenshot
    QString VisuPfad;         // installation folder of the visualisation, ends in "\"
    qint16 DispHInt = 0;      // display width, pixels (800 or 1280)
    qint16 DispVInt = 0;      // display height, pixels (600 or 1024; 0 otherwise)
    qint16 ButtonSize = 0;    // footer help button size, pixels
    qint16 FooterTop = 0;     // footer's top edge, pixels
    qint16 LanguageNumber = 0;
    QString LanguageName;     // help page language folder
    qint16 SymbolOverhang = 0; // how far a symbol stands out beyond its control's corner
    float TwipsPerPixelX = 0;
    float TwipsPerPixelY = 0;
    double WidthFactor = 0;   // DispHInt / 1280
};
