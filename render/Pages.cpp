#include "render/Pages.h"

#include <QPainter>
#include <QPicture>

void vFunCreatePages(TDataStore* DataStore) {
  vFunDeletePages(DataStore);
  for (QPicture** page : {&DataStore->Page1Metafile, &DataStore->Page2Metafile}) {
    *page = new QPicture;
    (*page)->setBoundingRect(QRect(0, 0, kPageWidth, kPageHeight));
  }
}

void vFunDeletePages(TDataStore* DataStore) {
  for (QPainter** canvas : {&DataStore->Page1Canvas, &DataStore->Page2Canvas}) {
    delete *canvas;
    *canvas = nullptr;
  }
  for (QPicture** page : {&DataStore->Page1Metafile, &DataStore->Page2Metafile}) {
    delete *page;
    *page = nullptr;
  }
}
