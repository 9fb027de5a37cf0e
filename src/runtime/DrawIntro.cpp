#include "runtime/DrawIntro.h"

#include "editor/PathRules.h"
#include "grid/FillBox.h"
#include "grid/GdiRound.h"
#include "platform/AppInfo.h"
#include "runtime/PlainBitmap.h"
#include "runtime/mGraphics.h"

#include <QImage>
#include <QPainter>

using mGraphics::FontMaker;
using mGraphics::KeyedOut;
using mGraphics::Percentage;
using mGraphics::TextAlign;
using mGraphics::TextBox;
using mGraphics::TransparentPicture;

namespace {
const QString CrLf = QStringLiteral("\r\n");

// x as a pixel coordinate: p percent of the width, halves to even.
int PctX(float p, int w) {
    return RoundHalfEven(Percentage(p, float(w)));
}
int PctY(float p, int h) {
    return RoundHalfEven(Percentage(p, float(h)));
}

// Tiles a bitmap up a column from the bottom edge until the tiles reach past
// the top. A tile with transparent parts comes from KeyedOut.
void TileColumn(QPainter& dc, const QImage& tile, int x, int h) {
    if (tile.isNull() || tile.height() <= 0) {
        return;
    }
    for (int y = h - tile.height();; y -= tile.height()) {
        dc.drawImage(x, y, tile);
        if (y <= 0) {
            break;
        }
    }
}

void DrawBands(QPainter& dc, int w, int h, int leftTileWidth) {
    FillBox(dc, leftTileWidth, 0, w, PctY(2, h), IntroColor::Band);
    FillBox(dc, leftTileWidth, PctY(18, h), w, PctY(18.5f, h), IntroColor::Band);
    FillBox(dc, leftTileWidth, PctY(96.5f, h), w, PctY(97, h), IntroColor::Band);
    FillBox(dc, PctX(70, w), PctY(90, h), w, PctY(98, h), IntroColor::Band);
}

void DrawCredits(QPainter& dc, int w, int h) {
    dc.setPen(QColorFromGdiColor(IntroColor::Black));
    const int left = PctX(8, w);
    const int right = PctX(68, w);
    // The program's name with an enlarged initial.
    dc.setFont(FontMaker(QStringLiteral("Verdana"), Percentage(3.2f, float(w)), true, false, false, false));
    TextBox(dc, QStringLiteral("M"), left, PctY(20, h), right, PctY(27, h), TextAlign::Left);
    const int initialWidth = dc.fontMetrics().horizontalAdvance(QStringLiteral("M"));
    dc.setFont(FontMaker(QStringLiteral("Verdana"), Percentage(2.2f, float(w)), true, false, false, false));
    TextBox(dc, QStringLiteral("IRELVA"), left + initialWidth, PctY(21, h), right, PctY(27, h),
            TextAlign::Left);

    dc.setFont(FontMaker(QStringLiteral("Verdana"), Percentage(1.0f, float(w)), false, true, false, false));
    TextBox(dc,
            QStringLiteral("Comunicatore a tabelle dinamiche") + CrLf +
                QStringLiteral("Immagini, suoni registrati e voce sintetizzata"),
            left, PctY(27, h), right, PctY(33.5f, h), TextAlign::Left);
    dc.setFont(FontMaker(QStringLiteral("Verdana"), Percentage(0.8f, float(w)), true, false, false, false));
    TextBox(dc, QStringLiteral("Software libero per la comunicazione - versione ") + AppInfo::Version(), left,
            PctY(33.5f, h), right, PctY(36.5f, h), TextAlign::Left);
}

// The purple box, and the black one moved right and down over it.
struct DescriptionBox {
    int left, top, right, bottom, dx, dy;
};
DescriptionBox DescriptionBoxOf(int w, int h) {
    return {PctX(8, w), PctY(40, h), PctX(80, w), PctY(62, h), PctX(1, w), PctY(1, h)};
}

void DrawDescriptionBox(QPainter& dc, int w, int h) {
    const auto [left, top, right, bottom, dx, dy] = DescriptionBoxOf(w, h);
    FillBox(dc, left, top, right, bottom, IntroColor::Box);
    FillBox(dc, left + dx, top + dy, right + dx, bottom + dy, IntroColor::Black);

    dc.setPen(QColorFromGdiColor(IntroColor::White));
    dc.setFont(FontMaker(QStringLiteral("Verdana"), Percentage(0.9f, float(w)), true, false, false, false));
    const QString text =
        CrLf + QStringLiteral("MIRELVA - comunicatore a tabelle dinamiche") + CrLf + CrLf +
        QStringLiteral("MIRELVA è un software per la comunicazione permettendo di creare tabelle "
                       "personalizzate con la possibilità di avere in uscita sia voce sintetizzata "
                       "che digitalizzata.") +
        CrLf + CrLf + QStringLiteral(" ");
    TextBox(dc, text, left + dx, top + dy, right + dx, bottom + dy, TextAlign::Left);
    TextBox(dc, CrLf.repeated(7) + QStringLiteral("->->-> Premere un tasto qualsiasi per proseguire! ->->->"),
            left + dx, top + dy, right + dx, bottom + dy, TextAlign::Right);
}
} // namespace

void DrawIntro(QImage& canvas, GdiColor backColor, const QString& activeLayoutPath) {
    const int w = canvas.width();
    const int h = canvas.height();
    canvas.fill(RgbFromGdiColor(backColor));
    QPainter dc(&canvas);

    const QImage leftTile = LoadBitmap(QStringLiteral(":/bitmaps/101.bmp"));
    TileColumn(dc, leftTile, 0, h);

    DrawBands(dc, w, h, leftTile.width());

    dc.setPen(QColorFromGdiColor(IntroColor::White));
    dc.setFont(FontMaker(QStringLiteral("Verdana"), Percentage(0.8f, float(w)), true, false, false, false));
    TextBox(dc, QStringLiteral("MIRELVA - comunicatore a tabelle dinamiche - versione ") + AppInfo::Version(),
            leftTile.width(), 0, w, PctY(2, h), TextAlign::Centre);

    // White is left out of the right-hand tiles; the tile is prepared once for all of them.
    const QImage rightTile = KeyedOut(LoadBitmap(QStringLiteral(":/bitmaps/102.bmp")), qRgb(255, 255, 255));
    for (int column = 3; column >= 1; --column) {
        TileColumn(dc, rightTile, w - column * rightTile.width(), h);
    }

    const QImage emblemTop = LoadBitmap(QStringLiteral(":/bitmaps/103.bmp"));
    const QImage emblemBelow = LoadBitmap(QStringLiteral(":/bitmaps/104.bmp"));
    TransparentPicture(dc, emblemTop, w - emblemTop.width(), 0, RgbFromGdiColor(IntroColor::EmblemKey));
    TransparentPicture(dc, emblemBelow, w - emblemBelow.width(), 18, RgbFromGdiColor(IntroColor::EmblemKey));

    DrawCredits(dc, w, h);

    dc.setPen(QColorFromGdiColor(IntroColor::White));
    dc.setFont(FontMaker(QStringLiteral("Calibri"), Percentage(1.0f, float(w)), true, false, false, false));
    TextBox(dc, CrLf + QStringLiteral("ALT + A : Apri File - ALT + I : Impostazioni"), PctX(70, w),
            PctY(90, h), w, PctY(98, h), TextAlign::Centre);
    // The access options on the block's empty first line, when the line holds them.
    const QString accessHint = QStringLiteral("ALT + O : Opzioni di accesso");
    if (dc.fontMetrics().horizontalAdvance(accessHint) < w - PctX(70, w)) {
        TextBox(dc, accessHint, PctX(70, w), PctY(90, h), w, PctY(98, h), TextAlign::Centre);
    }

    DrawDescriptionBox(dc, w, h);

    dc.setPen(QColorFromGdiColor(IntroColor::LayoutName));
    dc.setFont(FontMaker(QStringLiteral("Verdana"), Percentage(0.9f, float(w)), true, false, false, false));
    TextBox(dc, QStringLiteral("Layout attivo: ") + PathRules::FileNameOf(activeLayoutPath), PctX(9, w),
            PctY(64, h), PctX(81, w), PctY(68, h), TextAlign::Centre);
}

QRect IntroPanel(int w, int h) {
    const auto [left, top, right, bottom, dx, dy] = DescriptionBoxOf(w, h);
    return QRect(QPoint(left, top), QPoint(right + dx - 1, bottom + dy - 1));
}
