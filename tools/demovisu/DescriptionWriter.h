#pragma once

#include <QByteArray>
#include <QString>

struct DemoLayout;

// The help description "Tavlin.txt" of a demo screen, as the visualisation
// writes it: Windows-1252 text with CR LF line ends, the section Global
// (DispHInt, VisuPfad, Language) and one numbered section per control.
// Positions and sizes are twips (the layout's twips per pixel), Left and Top relative to
// the control's container. Keys the visualisation has no value for (Index
// of a single control, an unset Alignment) are left out.
QByteArray describeDemo(const DemoLayout &layout, const QString &visuPfad, int language);
