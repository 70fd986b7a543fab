#pragma once
// The calibration file "tvk_kalibracja.sqset": one table per layout, one row
// per object with its rectangle, font, alignment and style. The program
// only reads rows and updates their values.
#include "store/DataStore.h"
#include "store/Records.h"
#include "platform/SystemPath.h"

#include <string>
#include <vector>

// The list becomes one record per row of the table, in stored order. A NULL
// number reads as 0, a NULL text as empty; long texts are cut to the field.
bool bFunCalibLoadData(TDataStore* DataStore, const TSystemPath& file, const std::string& table,
                       std::vector<TCalibRecord>& list);

// Every row of the table named like the record takes the record's values.
bool bFunSqlCalibUpdateValue(TDataStore* DataStore, const TSystemPath& file, const std::string& table,
                             const TCalibRecord& record);

// The items become the names of every table of the data folder's
// calibration file, in the order they were made. A missing file is a
// failure and is not created.
bool bFunCalibLoadCertList(TDataStore* DataStore, std::vector<std::string>& items);

// True when the file is an SQLite database holding at least one layout
// table (a table with the twelve columns of a calibration row). The file is
// opened read-only and never changed.
bool bFunCalibFileHasLayouts(const TSystemPath& path);

// The file chosen in the dialog is a path as the system names it.
// "Eksportuj ustawienia kalibracji": the rows of the data folder's layout
// tables are copied into a fresh file that replaces the target. A failure
// is reported (error text and log) with the program's sentence for a failed
// copy.
bool bFunEksportujPlikKalibracji(TDataStore* DataStore, const TSystemPath& target);

// "Importuj ustawienia kalibracji": the rows of a calibration file's layout
// tables (in the columns of a calibration row) go into a fresh file that
// replaces the data folder's in one step; triggers, views and anything else
// the file holds stay behind, and nothing in it runs. A file that is not
// one (no regular file, no SQLite database, or no layout table in it), or
// that lacks a layout of the program or a row of one (as the program
// folder's shipped file has them), is refused, naming what is missing, and
// the calibration stays as it was.
bool bFunImportujPlikKalibracji(TDataStore* DataStore, const TSystemPath& source);

// Brings back the shipped calibration file of the program folder over the
// data folder's.
bool bFunPrzywrocPlikKalibracji(TDataStore* DataStore);
