#pragma once
// The 32 x 32 pictures of the main window's tool buttons, drawn in code.
#include <QIcon>

enum class TToolbarPicture {
  NewFile, OpenFile, Save, SchoolTemplate, AddStudent, EditStudent, DeleteStudent,
  EditDocument, Print, Help, Contact, Import
};

QIcon icoFunToolbarPicture(TToolbarPicture which);
