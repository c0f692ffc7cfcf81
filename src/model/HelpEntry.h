#pragma once

#include <QString>
#include <vector>

// One described control. Positions and sizes are twips; Left and Top are
// absolute once the containers have been resolved.
struct HelpEntry
{
    qint16 Left = 0;
    qint16 Top = 0;
    qint16 Width = 0;
    qint16 Height = 0;
    qint16 Alignment = 0;
    QString Tag;
    QString Name;
    qint16 Index = 0;
    QString ContainerName;
    qint16 ContainerIndex = 0;
    QString ContainerPath;
    QString TagX;
    QString TagY;
};

// The entry table: slots 0 to 1000, the valid ones 0 to LastEntry (-1: none).
struct EntryTable
{
    static constexpr int kSlots = 1001;

    std::vector<HelpEntry> HelpEntries = std::vector<HelpEntry>(kSlots);
    qint16 LastEntry = -1;
};
