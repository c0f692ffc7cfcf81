#pragma once

#include <QImage>
#include <QRect>
#include <QVector>

class MainForm;
struct CheckReport;

// The overlay as the operator sees it on the described screen, taken from the
// form the overlay's own build drew (dimmed screenshot, footer button,
// control pictures and symbols in their stacking order), with every entry
// that has a finding outlined (red for errors, orange for warnings) and
// numbered. `marks`, when given, receives the areas the outlines and numbers
// take; every other pixel is the overlay's own.
QImage renderPreview(MainForm &Main, const CheckReport &report, QVector<QRect> *marks = nullptr);
