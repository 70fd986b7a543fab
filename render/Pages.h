#pragma once
// The two page pictures of the data store, one per side of a blank. They
// are made once at start-up and kept until the program ends; every drawing
// sets them to the page size and draws them anew.
#include "store/DataStore.h"

// Size of a page picture in page units (the units of every calibration
// rectangle): x from 0 to 885 left to right, y from 0 to 1314 top to bottom.
constexpr int kPageWidth = 885;
constexpr int kPageHeight = 1314;

// Makes the two empty page pictures. Pictures made before are replaced.
void vFunCreatePages(TDataStore* DataStore);
// Releases the pictures (and any canvas still open on them).
void vFunDeletePages(TDataStore* DataStore);
