#pragma once
// Makes the widgets of a document form from its description, one maker per
// kind of component.
#include "forms/FormSpec.h"

#include <QRect>

class QObject;
class QWidget;
class TFormBase;

// Page units to the pixels of a side's picture.
struct TSideScale {
  double x = 1.0, y = 1.0;
  QRect map(const TRectSpec& r) const;
};
TSideScale sideScale(const TSideSpec& side);

// Keeps the first n lines of a memo (a memo of the description's lines=N
// calls it whenever a change leaves more than N).
void vFunLimitMemoLines(QObject* memo, int n);

// Makes one component on parent (the side's picture area, or the panel),
// registered with the form under its name.
QWidget* vFunMakeComponent(TFormBase& form, const TFormSpec& desc, const TComponentSpec& c, QWidget* parent,
                           const TSideScale& scale);
