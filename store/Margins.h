#pragma once
// The margin sets: named print rectangles in the table `margin` of a
// settings file "ustawienia.sqset".
#include "store/DataStore.h"
#include "store/Records.h"
#include "platform/SystemPath.h"

#include <string>
#include <vector>

// The list becomes one record per set, in stored order (NULL reads as 0 / "").
bool bFunMarginReadData(TDataStore* DataStore, const TSystemPath& file, std::vector<TMarginRecord>& list);
// Deletes every set of that name; none of that name is a failure.
bool bFunMarginDeleteSettings(TDataStore* DataStore, const TSystemPath& file, const std::string& name);
// Appends one set; its name is not tested against those stored.
bool bFunMarginWriteNewSettings(TDataStore* DataStore, const TSystemPath& file, const TMarginRecord& record);
// The target's sets become exactly the source's, in the source's order, in
// one transaction: a failure leaves the target's sets as they were.
bool bFunMarginRestoreOriginal(TDataStore* DataStore, const TSystemPath& source, const TSystemPath& target);
