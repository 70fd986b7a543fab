#include "app/AktualizacjaUnit.h"

TFAktualizacja* FAktualizacja = nullptr;

TFAktualizacja::TFAktualizacja(QWidget* parent) : TDialogForm("FAktualizacja", parent) {}
