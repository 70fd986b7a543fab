#pragma once
// The program's help: HTML pages in the folder "pomoc" of the program
// folder, shown by the desktop's web browser.
#include "store/DataStore.h"

#include <string>

// The first page of the help.
std::string strFunHelpFilePath(TDataStore* DataStore);

// Opens the help; a help that is missing or that the desktop cannot open
// is reported in a message.
void vFunPokazPomoc(TDataStore* DataStore);
