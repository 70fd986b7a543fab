#pragma once
// The program as the desktop knows it. Its windows belong to the menu entry
// the install adds (share/applications/kestal-tarvek.desktop): a Wayland
// compositor matches them to it by the application's desktop file name and
// shows them under its name and icon, and every window carries that icon
// itself, which the taskbar and the window switcher of an X11 desktop show.
#include <QIcon>

// The menu entry's name less ".desktop"; its icon has the same name
// (share/icons/hicolor/scalable/apps/kestal-tarvek.svg).
inline constexpr char kDesktopEntryName[] = "kestal-tarvek";

// The entry's icon: the one the install put into the desktop's icon theme,
// or where the theme has none (a program run from its build), the
// program's own copy of the same drawing.
QIcon icoFunIkonaProgramu();

// Names the menu entry as the application's desktop file and gives every
// window made afterwards the entry's icon.
void vFunUstawWpisPulpitu();
