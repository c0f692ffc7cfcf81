#pragma once

// Chooses Qt's platform before the application is built. On a Wayland desktop
// a window cannot place itself at the screen's origin nor keep itself above
// the others, so where an X server runs beside it (XWayland: both
// WAYLAND_DISPLAY and DISPLAY set) the overlay uses the X11 platform. A
// platform the user chose with QT_QPA_PLATFORM is kept.
void chooseDisplayPlatform();
