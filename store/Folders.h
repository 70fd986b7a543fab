#pragma once
// The data folder, the program folder, the paths of the files kept in them,
// the small file routines around the working copy, and the installation of
// the shipped files at start-up.
#include "store/DataStore.h"
#include "platform/SystemPath.h"

#include <string>
#include <string_view>

// Replaces every occurrence of the one-character text `from` by `to`.
void vFunReplaceAll(std::string& text, std::string_view from, std::string_view to);
// The user name with its Polish letters folded to plain ones (Windows-1250).
std::string strFunFoldPolishLetters(std::string name);

// The folders and files are paths as the system names them; a message shows
// them as text (TSystemPath::text).

// Finds (and makes) the data folder without touching ErrorStream or the log:
// false with the would-be message in `message` when it cannot be had.
bool bFunFindMainDir(TSystemPath& folder, std::string& message);

TSystemPath strFunGetMainDirPath(TDataStore* DataStore);  // empty on failure
bool bFunCreateDir(TDataStore* DataStore, const TSystemPath& path);
TSystemPath strFunGetProgramDirPath(TDataStore* DataStore);
// Paths of the data folder's files are empty while the data folder cannot be had.
TSystemPath strFunGetTmpFilePath(TDataStore* DataStore);
TSystemPath strFunGetSettingsFilePath(TDataStore* DataStore, bool inProgramDir);
TSystemPath strFunGetCalibFilePath(TDataStore* DataStore, bool inProgramDir);
bool bFunDeleteTmpFile(TDataStore* DataStore);
bool bFunClearFileAttributes(TDataStore* DataStore, const TSystemPath& path);
bool bFunCopyFile(TDataStore* DataStore, const TSystemPath& source, const TSystemPath& target, bool failIfExists);
bool bFunCheckFilesDir(TDataStore* DataStore);
