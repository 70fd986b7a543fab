#pragma once
// The data folder, the program folder, the paths of the files kept in them,
// the small file routines around the working copy, and the installation of
// the shipped files at start-up.
#include "store/DataStore.h"

#include <string>
#include <string_view>

// Replaces every occurrence of the one-character text `from` by `to`.
void vFunReplaceAll(std::string& text, std::string_view from, std::string_view to);
// The user name with its Polish letters folded to plain ones (Windows-1250).
std::string strFunFoldPolishLetters(std::string name);

// Finds (and makes) the data folder without touching ErrorStream or the log:
// false with the would-be message in `message` when it cannot be had.
bool bFunFindMainDir(std::string& folder, std::string& message);

std::string strFunGetMainDirPath(TDataStore* DataStore);  // empty on failure
bool bFunCreateDir(TDataStore* DataStore, const std::string& path);
std::string strFunGetProgramDirPath(TDataStore* DataStore);
// Paths of the data folder's files are empty while the data folder cannot be had.
std::string strFunGetTmpFilePath(TDataStore* DataStore);
std::string strFunGetSettingsFilePath(TDataStore* DataStore, bool inProgramDir);
std::string strFunGetCalibFilePath(TDataStore* DataStore, bool inProgramDir);
bool bFunDeleteTmpFile(TDataStore* DataStore);
bool bFunClearFileAttributes(TDataStore* DataStore, const std::string& path);
bool bFunCopyFile(TDataStore* DataStore, const std::string& source, const std::string& target, bool failIfExists);
bool bFunCheckFilesDir(TDataStore* DataStore);
