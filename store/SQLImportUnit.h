#pragma once
// Everything the data store offers the windows.
#include "store/Calibration.h"
#include "store/CppSQLite3.h"
#include "store/DataRows.h"
#include "store/DataStore.h"
#include "store/Folders.h"
#include "store/Import.h"
#include "store/Margins.h"
#include "store/Records.h"
#include "store/Settings.h"
#include "store/StudentTables.h"
#include "store/Templates.h"
