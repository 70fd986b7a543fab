#pragma once
// The colours of paper. A picture of a blank is a picture of paper: the
// blank's printed words laid over it are black print, its fields white
// boxes, whatever colours the desktop's theme gives the rest of the program.
// Every surface that shows a blank (a side of a document form, a blank of
// the school-template dialog, a page of the preview) is made a surface of
// paper where it is made; the windows around it (menus, tree, tabs, button
// panels, dialogs) keep following the theme.
#include <QPalette>

class QWidget;

// A light desktop's palette: black text on white fields and light grey
// buttons. Every role of every colour group is set, so nothing of it is
// taken from the theme; the text of each group, disabled text included,
// stands out from its background by at least 4.5 : 1.
const QPalette& paletteFunPaper();

// The surface, and every widget on it (laid on it before or after), take
// the paper's palette and keep it when the desktop's theme changes.
void vFunPaperSurface(QWidget* surface);
