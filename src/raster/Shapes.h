#pragma once

#include "raster/DeviceContext.h"

#include <QPoint>

// Lines and filled figures in a surface's pen and fill colours, one pixel wide.

// Draws connected lines through `count` points in the pen colour. Each line
// paints from its first point up to, but not including, its second, so the
// last point of the chain stays unpainted.
bool Polyline(const DeviceContext &dc, const QPoint *points, int count);

// Fills the closed figure through `count` points with the fill colour, the
// pixels on its edges included, then outlines it in the pen colour.
bool Polygon(const DeviceContext &dc, const QPoint *points, int count);
