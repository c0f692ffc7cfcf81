#pragma once

// Chooses Qt's platform before the application is built.
//
// The overlay is a window on the panel's own screen: Qt's platforms that make
// it something else are refused (vnc serves the screen to the network without
// a password, linuxfb and eglfs take the console's frame buffer from the
// visualisation), as is the TUIO input plugin, which takes touches from the
// network. Allowed are xcb and wayland, and offscreen, which the tests choose.
// A refusal is said on stderr and the program ends; the caller gets false.
//
// On a Wayland desktop a window cannot place itself at the screen's origin
// nor keep itself above the others, so where an X server runs beside it
// (XWayland: both WAYLAND_DISPLAY and DISPLAY set) the overlay uses the X11
// platform. An allowed platform the user chose with QT_QPA_PLATFORM is kept.
bool chooseDisplayPlatform();
