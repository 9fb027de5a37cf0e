#pragma once

#include <QString>

class IMessages;
class ISymbolChooser;
class QWidget;

// Pictures put on a key from outside, the same way wherever they arrive
// (the settings window's rows, the board editor): written into the data
// folder's immagini as pictures the table draws, failures told to the user.
namespace PicturePlacing {
// The side a symbol is drawn at: the table fills the screen the program starts on.
int PictureSide();

// A dropped or picked file: PNG and SVG become a BMP the table draws, the
// other kinds are taken as they are. Empty when it could not be placed (said).
QString ForTable(const QString& file, const QString& programFolder, IMessages& messages);

// "Cerca simbolo…" from `query`: the placed picture's path; empty when the
// user cancelled or the picture could not be written (said).
QString Search(ISymbolChooser& chooser, QWidget* owner, const QString& query, const QString& programFolder,
               IMessages& messages);
} // namespace PicturePlacing
