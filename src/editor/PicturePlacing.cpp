#include "editor/PicturePlacing.h"

#include "editor/ISymbolChooser.h"
#include "platform/AppInfo.h"
#include "platform/IMessages.h"
#include "symbols/SymbolPicture.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

namespace PicturePlacing {
int PictureSide() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return SymbolPicture::SideFor(screen != nullptr ? screen->size() : QSize(1280, 1024));
}

QString ForTable(const QString& file, const QString& programFolder, IMessages& messages) {
    const QString suffix = QFileInfo(file).suffix().toLower();
    if ((suffix != QLatin1String("png") && suffix != QLatin1String("svg")) ||
        SymbolPicture::TableDraws(file)) {
        return file;
    }
    Symbol symbol;
    symbol.origin = Symbol::Origin::Folder;
    symbol.label = QFileInfo(file).completeBaseName();
    symbol.file = file;
    symbol.key = file;
    const SymbolPicture::Placed placed =
        SymbolPicture::Place(symbol, programFolder + QStringLiteral("/immagini"), PictureSide());
    if (placed.path.isEmpty()) {
        messages.showMessage(QStringLiteral("«%1»: %2").arg(file, placed.error), MsgIcon::Exclamation,
                             AppInfo::Title);
    }
    return placed.path;
}

QString Search(ISymbolChooser& chooser, QWidget* owner, const QString& query, const QString& programFolder,
               IMessages& messages) {
    // The key's text, when it has one, is what the family looks for first.
    const std::optional<Symbol> symbol = chooser.choose(owner, query.trimmed());
    if (!symbol) {
        return {};
    }
    const SymbolPicture::Placed placed =
        SymbolPicture::Place(*symbol, programFolder + QStringLiteral("/immagini"), PictureSide());
    if (placed.path.isEmpty()) {
        messages.showMessage(placed.error, MsgIcon::Exclamation, AppInfo::Title);
    }
    return placed.path;
}
} // namespace PicturePlacing
