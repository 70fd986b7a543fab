#pragma once
// A document form as constant data: who it is, its window, the sides with
// their pictures, and every component in creation order. The tables are
// written by the build from the readable descriptions in assets/forms/
// (FormTables.cpp); the engine (DocumentForm, FormFactory) makes the
// widgets from them. Texts are UTF-8.
#include "render/DocumentKinds.h"

// Who a document form is.
struct TDocumentIdentity {
  const char* className;     // "TFKlasa1a"
  const char* global;        // "FKlasa1a"
  const char* unit;          // "Klasa1aUnit"
  const char* tag;           // the tag of its rows (plain ASCII)
  TDocKind kind;             // its whole layout
  const char* caption;       // window caption
  bool lineRows;             // multi-line fields travel as line rows
  const char* cancelButton;  // name of its cancel button
};

enum class TSpecKind : unsigned char {
  Edit,        // single-line edit
  Combo,       // drop-down list that also takes typed text
  Memo,        // multi-line field
  Label,       // transparent fixed text of the blank
  Dots,        // a row of dots on screen only
  Button,      // panel components (places in panel pixels)
  Pick,        // a pick-only list, never saved
  Check,
  PanelLabel,
};

// The one list of a component's flags:
//   X(word in a description, enumerator, bit, the component kinds that take it)
// The generator reads, checks and writes them from here.
#define TARVEK_SPEC_FLAGS(X)                                                                              \
  X(disabled, sfDisabled, 0, "edit combo memo")                                                         \
  X(readonly, sfReadOnly, 1, "edit combo memo")                                                         \
  X(tabfirst, sfTabFirst, 7, "edit combo memo") /* takes the focus before the other fields of its side */ \
  X(tablast, sfTabLast, 2, "edit combo memo")   /* takes the focus after the other fields of its side */  \
  X(bold, sfBold, 3, "label plabel")                                                                    \
  X(italic, sfItalic, 6, "label")                                                                       \
  X(noprint, sfNoPrint, 4, "edit combo memo") /* a value field no layout prints */                      \
  X(okblank, sfBlankOnOk, 5, "edit")          /* OK puts one blank into it when it is empty */

#define TARVEK_SPEC_FLAG_ENUM(word, flag, bit, kinds) flag = 1u << (bit),
enum TSpecFlag : unsigned { TARVEK_SPEC_FLAGS(TARVEK_SPEC_FLAG_ENUM) };
#undef TARVEK_SPEC_FLAG_ENUM

struct TRectSpec {
  int x, y, w, h;
};

struct TComponentSpec {
  TSpecKind kind;
  const char* name;
  int side;          // 1-based side; 0 for the bottom panel
  TRectSpec at;      // page units on the side (panel: pixels)
  int maxLength;     // typing limit; 0 none
  const char* const* items;
  int itemCount;
  unsigned flags;    // TSpecFlag
  const char* text;  // caption of a label, button or check box; an edit's text at creation
  const char* font;  // a label's own font, or nullptr
  int fontHeight;    // a label's own height in pixels, or 0
  const char* sample;      // the calibration sample, or nullptr
  const char* newStudent;  // what a new student starts with, or nullptr
  int lines;               // most lines of a memo; 0 any
};

struct TSideSpec {
  int number;
  const char* tab;      // tab sheet; nullptr for a form of one page without tabs
  const char* caption;  // its tab's caption
  const char* scroll;   // the scroll box; nullptr: the picture fills the client area
  const char* image;    // the picture component
  const char* picture;  // picture file, relative to the program folder
  int width, height;    // size the picture is shown at
};

// One piece of a value copied from the student-data dialog.
struct TPersonalToken {
  enum Kind : unsigned char { Literal, Component, Ending, Pesel } kind;
  const char* text;    // Literal: the text; Component: its name; Ending: the male ending
  const char* female;  // Ending: the female ending
  int index;           // Pesel: 1-based character
};

struct TPersonalSpec {
  const char* field;
  const TPersonalToken* tokens;
  int tokenCount;
  bool onlyIntoEmpty;  // copied only when the field is empty after the rows
};

// A school field exchanged with the school-template dialog: "fill" copies the
// dialog's edit into the form's field, "take" the other way.
struct TTemplatePair {
  const char* dialogField;
  const char* formField;
  bool fill, take;
};

// The copy of a certificate into a record-sheet class page
// (vFunCertToSheet): the pages it fills, with the columns each handles, and
// its steps in order.
struct TSheetColumn {
  int column;          // counted from 1 from the left
  const char* suffix;  // the digits its cells carry before "_DATA_"
};

struct TSheetPage {
  const char* pageClass;  // the page form's class
  int number;             // the page number its callers give; 0 the page of the copy without one
  bool names;             // the page has the subject-name fields
  const TSheetColumn* columns;
  int columnCount;
};

struct TSheetStep {
  enum Kind : unsigned char {
    Cell,   // a cell of the column: the value
    Name,   // a subject-name field shared by the columns: the value, on request
    Lines,  // a multi-line cell of the column: emptied, then each non-empty source as a line
  } kind;
  const char* target;  // the name as it is without a column suffix
  const char* format;  // a text whose "%s" take the sources in turn; nullptr: the one source's text
  const char* const* sources;  // certificate components
  int sourceCount;
  bool label;  // the value is the form's class label
};

enum class TShowRule : unsigned char { None, Certificate, Sheet };

struct TFormSpec {
  TDocumentIdentity identity;
  const char* documentName;  // in the main window's list of documents
  int treePosition;          // its place among a student's children (1, 2, ...); 0 not offered
  int created;               // position among the windows made at start-up
  const char* description;
  int width, height;         // client area
  TShowRule show;
  const char* font;
  int fontHeight;
  const char* labelFont;
  int labelFontHeight;
  const TSideSpec* sides;
  int sideCount;
  int panelHeight;
  const TComponentSpec* components;
  int componentCount;
  const TPersonalSpec* personal;
  int personalCount;
  bool samplesClear;  // the sample fill clears the form first
  const char* const* layouts;
  int layoutCount;
  const TTemplatePair* templatePairs;  // in the order they are copied
  int templateCount;
  bool templateKeep;  // the fill reads the stored template over what the dialog holds, not emptying it first
  const char* sheetLabel;  // the class label the copy writes
  int sheetItem;           // its item in the certificate list of the pages it fills (from 1); 0 none
  const TSheetPage* sheetPages;
  int sheetPageCount;
  const TSheetStep* sheetSteps;
  int sheetStepCount;
};

// The document forms in protocol order.
extern const TFormSpec kFormSpecs[];
extern const int kFormSpecCount;

// The desc of a class; throws std::logic_error for an unknown class.
const TFormSpec& formSpec(const char* className);
