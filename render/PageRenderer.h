#pragma once
// The steps of drawing a document onto the two page pictures: opening and
// closing their canvases, drawing the rows of a layout from a form's
// components, and putting the pages into the preview over the pictures of
// the blanks. The main window's renderer runs them in order.
#include "render/DocumentKinds.h"
#include "store/DataStore.h"
#include "store/Records.h"

#include <QImage>

#include <string>
#include <vector>

class TFormBase;
class TImage;

// Where a page lies on its preview picture: (74, 74) to (957, 1388).
constexpr int kPreviewLeft = 74;
constexpr int kPreviewTop = 74;
constexpr int kPreviewRight = 957;
constexpr int kPreviewBottom = 1388;

// Both pictures become 885 x 1314 and empty; a canvas with a clear brush is
// opened on each, page 1 first.
void vFunPreparePageCanvases(TDataStore* DataStore);
// Destroys each canvas that is open, which completes its picture.
void vFunClosePageCanvases(TDataStore* DataStore);

// Which rows of a memo are which of its lines: the n-th row of a memo in a
// row of rows of that memo takes its n-th line; another memo starts again.
class TMemoLineCounter {
 public:
  // The line index of the next row of that memo.
  int iFunNextLine(const std::string& memoName);

 private:
  std::string last_;
  int index_ = 0;
};

// Draws the rows of the kind's layout, in list order, with the texts of the
// form's components (found by the rows' names; a row naming none is
// skipped) onto the open canvases. Which rows draw what depends on the
// kind's group: certificates (two sides, eagle and stamp), the meeting
// sheet, the record-sheet pages (frames and memo lines).
void vFunDrawLayoutRows(TDataStore* DataStore, const TFormBase* form, TDocKind kind,
                        const std::vector<TCalibRecord>& rows);

// The picture of the blank behind a page of the kind (a file of the data
// folder's "grafika"); empty when the kind has no such page.
std::string strFunPreviewBackground(TDocKind kind, int page);
// A preview picture with nothing on its page: the desk and a white page.
QImage imgFunCleanPreviewPicture();
// Loads the picture behind the page into the image; when the file is
// missing the image starts from a clean page, so nothing of an earlier
// render stays under the new one. A page without a picture is left alone.
void vFunLoadPreviewBackground(TDataStore* DataStore, TDocKind kind, int page, TImage* image);

// Closes the canvases, then stretches page 1 onto image1 and page 2 onto
// image2 into their page areas, over what the images hold.
void vFunShowPages(TDataStore* DataStore, TImage* image1, TImage* image2);

// Plays a page picture into the rectangle of a painter's device, undoing
// the rescale a picture makes by the device's resolution when it plays.
void vFunStretchPicture(QPainter& painter, const QPicture& picture, const QRectF& target);
