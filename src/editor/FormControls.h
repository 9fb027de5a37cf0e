#pragma once

#include <QString>

class QPushButton;
class QWidget;

// A push button of the program's forms: named like its control, with the
// caption as its accessible name, and never pressed by Enter in a text box.
QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption);

class QLineEdit;

// A "Sfoglia..." button beside a path box, opening the box's picker (the
// double click on the box does too): its room is taken from the box's right
// end, so nothing lies over anything else.
QPushButton* MakeBrowseButton(QLineEdit& box, const QString& accessibleName);
