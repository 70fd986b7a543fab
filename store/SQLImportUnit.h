#pragma once
// Everything the data store offers the windows.
#include "store/CppSQLite3.h"
#include "store/DataStore.h"
#include "store/Folders.h"
#include "store/Records.h"
#include "store/Settings.h"
