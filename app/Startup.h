#pragma once
// The start-up of the program, step by step, and its end.
#include <QWidget>

#include "platform/SystemPath.h"

#include <string>
#include <vector>

// True when another copy of the program runs on this data folder (after telling
// the user so); otherwise this process now holds the single-instance lock
// until it ends.
bool bFunProgramJuzUruchomiony();

// Makes every window of the program, the main window first, in the fixed
// order the other windows rely on; all of them live until vFunZwolnijOkna.
// They are the windows of the program's menu entry and carry its icon
// (app/DesktopEntry.h).
void vFunUtworzOkna();
// Destroys the windows, last made first, and clears their instances.
void vFunZwolnijOkna();
// The windows in the order they were made.
const std::vector<QWidget*>& vFunOkna();

// The candidate path of the command line: the arguments after the
// program's name as one text, joined by single spaces, as the system gave
// them (UTF-8).
TSystemPath strFunArgumentyLiniiPolecen(int argc, char** argv);
// Opens the command line's document file into the working copy when the
// text is longer than 5 characters and names an existing file.
void vFunOtworzPlikZLiniiPolecen(const TSystemPath& arguments);
// The normal end of the program: the working copy and its journal go.
void vFunKoniecPracy();

// A command line of exactly "--help" or exactly "--version" is answered on
// standard output, in Polish under a Polish locale and in English otherwise,
// without starting the program: true, with the exit code (0, or 1 when the
// text could not be written). Any other command line is left to the start.
bool bFunOpcjaLiniiPolecen(int argc, char** argv, int& exitCode);

// The whole program: returns its exit code.
int iFunWinMain(int argc, char** argv);
