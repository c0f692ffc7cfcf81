#pragma once

#include <QtGlobal>

class MainForm;

// One dimmed frame: lays the screenshot (OriginalPic) over the current content
// of the dimming buffer (DunkelPic) with opacity level / 255, draws the latched
// footer button on top, undimmed, and copies the buffer onto the form's image
// (not refreshed). The buffer is not cleared first, so calls accumulate.
// A level outside 0..255 is run-time error 6 before anything is drawn.
void DimScreen(MainForm &Main, qint16 level);

// Readies the form and the dimming buffer for the first pass without drawing:
// the form's image takes its size, and the buffer takes its own only when it
// will not be part of the form's image (which the first pass makes it
// otherwise, without making or filling memory of its own).
void PrepareDimming(MainForm &Main);
