#pragma once

#include <QtGlobal>
#include <qnamespace.h>

// The Button and Shift arguments of the mouse events, as bit masks.
namespace MouseArguments {

// 1 left, 2 right, 4 middle; other buttons count as none.
inline qint16 buttonMask(Qt::MouseButtons buttons)
{
    return qint16((buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0)
        | (buttons & Qt::MiddleButton ? 4 : 0));
}

// 1 Shift, 2 Ctrl, 4 Alt.
inline qint16 shiftMask(Qt::KeyboardModifiers modifiers)
{
    return qint16((modifiers & Qt::ShiftModifier ? 1 : 0)
        | (modifiers & Qt::ControlModifier ? 2 : 0) | (modifiers & Qt::AltModifier ? 4 : 0));
}

} // namespace MouseArguments
