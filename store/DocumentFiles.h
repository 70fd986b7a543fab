#pragma once
// The working copy and the document files: an open copies a document's bytes
// into a new working copy (SQLite applies its owner's journal or WAL to a
// copy, never to the document) and checks it before it takes the old one's
// place; a save copies the working copy's committed state into the
// document through SQLite beside the file and renames it into place; a
// deletion takes SQLite's journal with it.
// All paths here are the system's own (UTF-8), never Windows-1250.
#include "store/FileFailures.h"
#include "store/OpenedFile.h"
#include "platform/SystemPath.h"

#include <functional>
#include <string>

// Deletes a database file and every file SQLite keeps beside it (its
// rollback journal above all), the database first: a journal that outlives
// it is never taken for the journal of another database under that name.
bool bFunDeleteDatabaseFiles(const TSystemPath& path, TFileFailure& why);

// True when the file is a document this program can read: it holds tables
// only, each with exactly the stored columns `id`, `comp_name` and `value`,
// declared TEXT (no generated or hidden column, no key, so a rowid), SQLite
// reads all of it, and every row is readable. The tables are looked at
// before any row is read, and nothing of the file's own (an expression, a
// check) runs. An empty database is an empty document. `tables` is the
// number of its tables.
//
// `whileChecked`, when given, is called with `path` on the calling thread
// once its tables are known to be such (so reading them runs nothing of the
// file's own), while SQLite reads all of it on another thread; what it
// reads counts only when the check passes.
using TWhileChecked = std::function<void(const TSystemPath& path)>;
bool bFunCheckDocument(const TSystemPath& path, int& tables, TFileFailure& why,
                       const TWhileChecked& whileChecked = {});

// Opens a document: copies its bytes into a new file beside the working
// copy (with its owner's journal or WAL applied, where it has one), checks
// it (`whileChecked` as bFunCheckDocument has it, on that copy), and only
// then puts it in the working copy's place (the old working copy's journal
// goes first). Any failure leaves the working copy as it was. A leftover of
// an interrupted save of the document is removed. A document a save into it
// left marked (killed, not yet put back) is never read: `interruptedSave`,
// or `inUse` while that save is still at work. `read`, when given, gets the
// file as it was read (its path the `document` given; no identity when it
// changed during the open).
bool bFunLoadDocument(const TSystemPath& document, const TSystemPath& workingCopy, TFileFailure& why,
                      TOpenedFile* read = nullptr, const TWhileChecked& whileChecked = {});

// Saves the working copy into the document (the file a symbolic link points
// to): copied through SQLite into a file beside it, flushed, given the
// document's permission bits and group, and renamed into its place, so the
// document is always either as it was or as saved. Where the folder takes
// no new file, or the new file could not keep the document's owner and
// group (someone else's document in a shared folder), but the document is
// writable, the save goes into the document itself: the new state is made
// beside the working copy, the document is held against every other save
// and reader, its old state is kept beside the working copy too (flushed,
// with a marker that records which file the document was, its state and
// what the save writes), then the new state goes into the document under a
// mark in its header (the first and the last write, each flushed), so no
// reader ever takes it for a document half-way; a failure puts the old
// state back at once, still holding the document, and a save that was
// killed is dealt with by iFunRestoreInterruptedSave. A document marked by
// another user's interrupted save is not written (`interruptedSave`). A
// working copy that does not exist yet is made as an empty database. No
// temporary file stays behind, and one left by an earlier interrupted save
// is removed. A document another program (or another save) holds fails at
// once with `inUse` and is not touched. With `expected` the save writes
// only while the document is still that file as it was then (bFunSameFile,
// checked under the document's lock right before anything is written);
// else it fails with `changedSinceOpened` and writes nothing. `written`,
// when given, gets the document as saved (its path the `document` given).
bool bFunSaveDocument(const TSystemPath& workingCopy, const TSystemPath& document, TFileFailure& why,
                      const TOpenedFile* expected = nullptr, TOpenedFile* written = nullptr);

// Deals with a save into the document itself that did not finish (the
// program was killed, the disk was full), by what its marker records. The
// document is put back only while it is the very file the save wrote and
// each part of it is still what the save found or what it wrote; it is
// never made anew, nor written through a symbolic link.
//  0: no such save, or it had written all of its new state;
//  1: the document named in `document` is as it was before that save again;
//  2: the document changed since (another save, another file or a link under
//     its name, no longer writable: `why`) and was left as it is;
//  3: the document no longer exists and was not made again;
//  4: the marker records no state to check against (an earlier version's),
//     so the document was left as it is;
//  5: it was written back but the disk does not give back what it was
//     given (a stick that loses writes): the document is left under the mark;
// -1: it could not be put back now (`why` says why; in use, a failed write);
//     everything stays for the next try, the kept state in `keptCopy`.
// A document still under that save's mark was written by nobody else, so
// whatever it holds is put back. With 2, 3, 4 and 5 the document's old
// state is kept for the user in
// `keptCopy`, a document file beside the working copy named after the
// document, and the marker is gone.
int iFunRestoreInterruptedSave(const TSystemPath& workingCopy, TSystemPath& document, TSystemPath& keptCopy,
                               TFileFailure& why);

// Where a save into the document itself keeps the document's old state,
// the marker that records it while that save runs, and the new state the
// save writes.
TSystemPath strFunOldStatePath(const TSystemPath& workingCopy);
TSystemPath strFunOldStateMarkerPath(const TSystemPath& workingCopy);
TSystemPath strFunNewStatePath(const TSystemPath& workingCopy);

// For tests: called at the steps of a save. "kept": the old state is kept
// and the marker written, the document still untouched and held; "writing":
// part of the new state is in the document; "written": all of it, flushed
// and read back,
// the marker not yet gone; "checking": a save into the document itself (or
// its put-back) has written and flushed all it writes, and reads it back
// next; "made": a save beside the document has written
// its new file, still the user's alone; "copied": that file is complete,
// with the document's mode, just before it takes the document's name.
void vFunSetSaveStepHook(std::function<void(const std::string& step)> hook);

// How long an open or a save waits for a document another program holds.
constexpr int kDocumentBusyWaitMs = 300;

// The stem of the names of the files saves beside the document write
// before they rename them into place: each save writes its own,
// "<stem>.<process id>.<random part>" (TOwnTemporary); an earlier version
// wrote the stem itself.
TSystemPath strFunSaveInProgressPath(const TSystemPath& document);
