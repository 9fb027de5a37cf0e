#pragma once

#include <QString>

class QPushButton;
class QWidget;

// A push button of the program's forms: named like its control, with the
// caption as its accessible name, and never pressed by Enter in a text box.
QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption);
