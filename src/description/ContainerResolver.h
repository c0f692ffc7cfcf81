#pragma once

#include <QString>

struct EntryTable;

// Makes every valid entry's Left/Top absolute by adding the positions of its
// containers, and records the chain of containers in ContainerPath ("." for
// none, ".3.7." for a control in entry 7 inside entry 3, "FALSE" when the
// container is not among the earlier entries).
void ResolveContainers(EntryTable &table);

// Looks for the container of entry `start` among the entries below it, the
// nearest first: same Name (case-sensitive) and same Index. On success adds
// its position to left/top (16-bit sums) and sets path to its path, its number
// and "."; otherwise leaves them unchanged and returns false.
bool FindContainer(const EntryTable &table, int start, const QString &name, qint16 index,
                   qint16 &left, qint16 &top, QString &path);
