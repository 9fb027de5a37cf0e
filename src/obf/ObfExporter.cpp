#include "obf/ObfExporter.h"

#include "config/IniSnapshot.h"
#include "config/LayoutFile.h"
#include "config/FileExists.h"
#include "grid/TableShape.h"
#include "obf/ZipWriter.h"
#include "platform/RegularFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <optional>

namespace {
const QString Format = QStringLiteral("open-board-0.1");

// Everything an export takes from a layout; nothing when it is not one the
// table can show (a file with the marker and an allowed key count).
std::optional<LayoutContent> ReadLayout(const QString& path) {
    if (!QFileInfo(ResolveFileCase(path)).isFile()) {
        return std::nullopt;
    }
    LayoutFile::Editable read = LayoutFile::ReadForEditing(IniSnapshot::FromFile(path));
    if (read.fault != LayoutFile::Fault::Kind::None || !TableShapeFor(read.content.KeyCount)) {
        return std::nullopt;
    }
    LayoutContent& content = read.content;
    for (int k = 0; k < content.KeyCount; ++k) {
        if (content.Section2On != 1) {
            content.Sounds[k].clear();
        }
        if (content.Section3On != 1) {
            content.Texts[k].clear();
        }
    }
    for (QString& layout : content.FunctionKeyLayouts) {
        layout = layout.trimmed();
    }
    return content;
}

QByteArray ReadFile(const QString& path) {
    return ReadRegularFile(ResolveFileCase(path), 64LL * 1024 * 1024).value_or(QByteArray());
}

// PNG, JPEG and GIF travel as they are; other pictures become PNG, which
// every program reads.
std::optional<QPair<QByteArray, QString>> PictureForExport(const QByteArray& bytes, QSize* size) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QByteArray format = reader.format();
    const QImage image = reader.read();
    if (image.isNull()) {
        return std::nullopt;
    }
    *size = image.size();
    if (format == "png" || format == "jpeg" || format == "gif") {
        return qMakePair(bytes, QStringLiteral("image/") + QString::fromLatin1(format));
    }
    QByteArray png;
    QBuffer out(&png);
    out.open(QIODevice::WriteOnly);
    image.save(&out, "PNG");
    return qMakePair(png, QStringLiteral("image/png"));
}

QJsonObject BoardLink(const QString& id, const QString& layout) {
    return QJsonObject{{QStringLiteral("id"), id},
                       {QStringLiteral("name"), QFileInfo(layout).completeBaseName()},
                       {QStringLiteral("path"), QStringLiteral("boards/%1.obf").arg(id)}};
}

struct Exported {
    QString path;
    QString id;
    LayoutContent content;
};
} // namespace

Result<QStringList> ObfExporter::Export(const QString& layoutPath, const QString& outputPath,
                                        bool followLinks) {
    QStringList notes;
    QList<Exported> layouts;
    QHash<QString, int> byPath;
    const auto add = [&](const QString& path) {
        const QString key = QFileInfo(ResolveFileCase(path)).absoluteFilePath();
        if (byPath.contains(key)) {
            return true;
        }
        const std::optional<LayoutContent> content = ReadLayout(path);
        if (!content) {
            return false;
        }
        byPath.insert(key, int(layouts.size()));
        layouts << Exported{path, QStringLiteral("layout%1").arg(layouts.size() + 1), *content};
        return true;
    };
    if (!add(layoutPath)) {
        return Outcome::Failed(
            QStringLiteral("«%1» non è un layout valido: nessun file è stato scritto.").arg(layoutPath),
            layoutPath + QStringLiteral(": not a layout"));
    }
    for (int i = 0; followLinks && i < layouts.size(); ++i) {
        // A copy: adding a linked layout may move the list's elements.
        QStringList links(layouts[i].content.FunctionKeyLayouts.begin(),
                          layouts[i].content.FunctionKeyLayouts.end());
        links += QStringList(layouts[i].content.Links.begin(),
                             layouts[i].content.Links.begin() + layouts[i].content.KeyCount);
        for (const QString& link : std::as_const(links)) {
            const bool special = link == LayoutFile::LinkBack || link == LayoutFile::LinkHome;
            if (!link.isEmpty() && !special && !add(link)) {
                notes << QStringLiteral("%1: il layout collegato «%2» non è valido e non è stato esportato")
                             .arg(QFileInfo(layouts[i].path).fileName(), link);
            }
        }
    }

    ZipWriter zip;
    const auto unwritten = [&outputPath](const QString& step) {
        return Outcome::Failed(QStringLiteral("Impossibile scrivere il file «%1».").arg(outputPath),
                               QStringLiteral("%1: %2 failed").arg(outputPath, step));
    };
    if (!zip.start(outputPath)) {
        return unwritten(QStringLiteral("opening the ZIP"));
    }
    QJsonObject boardPaths;
    QJsonObject imagePaths;
    QJsonObject soundPaths;
    QHash<QString, QString> stored; // source file -> id
    QHash<QString, QJsonObject> described;
    int mediaCount = 0;
    for (const Exported& layout : std::as_const(layouts)) {
        const TableShape shape = *TableShapeFor(layout.content.KeyCount);
        const QString name = QFileInfo(layout.path).completeBaseName();
        QJsonArray buttons;
        QJsonArray images;
        QJsonArray sounds;
        QJsonArray order;
        QJsonArray row;
        QSet<QString> listed;
        // Each file goes into the archive once; each board describes the ones it uses.
        const auto addMedia = [&](const QString& source, bool picture, QJsonArray& list) -> QString {
            const QString key = QFileInfo(ResolveFileCase(source)).absoluteFilePath();
            if (!stored.contains(key)) {
                const QByteArray bytes = ReadFile(source);
                QSize size;
                const auto item = picture ? PictureForExport(bytes, &size)
                                  : bytes.startsWith("RIFF")
                                      ? std::optional(qMakePair(bytes, QStringLiteral("audio/wav")))
                                      : std::nullopt;
                if (!item) {
                    notes << QStringLiteral("%1: «%2» non si può leggere e non è stato esportato")
                                 .arg(name, source);
                    return QString();
                }
                const QString id = QString::number(++mediaCount);
                const QString extension = item->second.section(QLatin1Char('/'), 1)
                                              .replace(QLatin1String("jpeg"), QLatin1String("jpg"));
                const QString path = (picture ? QStringLiteral("images/") : QStringLiteral("sounds/")) + id +
                                     QLatin1Char('.') + extension;
                zip.add(path, item->first);
                (picture ? imagePaths : soundPaths).insert(id, path);
                QJsonObject media{{QStringLiteral("id"), id},
                                  {QStringLiteral("content_type"), item->second},
                                  {QStringLiteral("path"), path}};
                if (picture) {
                    media.insert(QStringLiteral("width"), size.width());
                    media.insert(QStringLiteral("height"), size.height());
                }
                stored.insert(key, id);
                described.insert(id, media);
            }
            const QString id = stored.value(key);
            if (!listed.contains(id)) {
                listed.insert(id);
                list.append(described.value(id));
            }
            return id;
        };
        for (int k = 0; k < layout.content.KeyCount; ++k) {
            const QString text = layout.content.Texts[k];
            QJsonObject button{{QStringLiteral("id"), QString::number(k + 1)},
                               {QStringLiteral("label"), text},
                               {QStringLiteral("vocalization"), text}};
            if (const QString id = addMedia(layout.content.Pictures[k], true, images); !id.isEmpty()) {
                button.insert(QStringLiteral("image_id"), id);
            }
            if (!layout.content.Sounds[k].isEmpty()) {
                if (const QString id = addMedia(layout.content.Sounds[k], false, sounds); !id.isEmpty()) {
                    button.insert(QStringLiteral("sound_id"), id);
                }
            }
            // A link key opens its board; back and home have no board to name.
            const QString link = layout.content.Links[k].trimmed();
            const auto target = byPath.constFind(QFileInfo(ResolveFileCase(link)).absoluteFilePath());
            if (link == LayoutFile::LinkBack || link == LayoutFile::LinkHome) {
                button.insert(QStringLiteral("ext_mirelva_link"), link);
            } else if (!link.isEmpty() && target != byPath.constEnd()) {
                button.insert(QStringLiteral("load_board"),
                              BoardLink(layouts[*target].id, layouts[*target].path));
            }
            buttons.append(button);
            row.append(QString::number(k + 1));
            if (row.size() == shape.columns) {
                order.append(row);
                row = QJsonArray();
            }
        }
        // The function keys become link buttons on rows of their own under the keys.
        for (int f = 0; f < LayoutContent::FunctionKeys; ++f) {
            const QString link = layout.content.FunctionKeyLayouts[f];
            const auto target = byPath.constFind(QFileInfo(ResolveFileCase(link)).absoluteFilePath());
            if (link.isEmpty() || target == byPath.constEnd()) {
                continue;
            }
            const Exported& to = layouts[*target];
            const QString id = QStringLiteral("F%1").arg(f + 1);
            buttons.append(QJsonObject{{QStringLiteral("id"), id},
                                       {QStringLiteral("label"), QStringLiteral("F%1: %2").arg(f + 1).arg(
                                                                     QFileInfo(to.path).completeBaseName())},
                                       {QStringLiteral("load_board"), BoardLink(to.id, to.path)},
                                       {QStringLiteral("ext_mirelva_function_key"), f + 1}});
            row.append(id);
            if (row.size() == shape.columns) {
                order.append(row);
                row = QJsonArray();
            }
        }
        if (!row.isEmpty()) {
            while (row.size() < shape.columns) {
                row.append(QJsonValue::Null);
            }
            order.append(row);
        }
        const QJsonObject board{
            {QStringLiteral("format"), Format},
            {QStringLiteral("id"), layout.id},
            {QStringLiteral("locale"), QStringLiteral("it")},
            {QStringLiteral("ext_mirelva_function_keys"), true},
            {QStringLiteral("name"), name},
            {QStringLiteral("grid"), QJsonObject{{QStringLiteral("rows"), order.size()},
                                                 {QStringLiteral("columns"), shape.columns},
                                                 {QStringLiteral("order"), order}}},
            {QStringLiteral("buttons"), buttons},
            {QStringLiteral("images"), images},
            {QStringLiteral("sounds"), sounds}};
        const QString path = QStringLiteral("boards/%1.obf").arg(layout.id);
        zip.add(path, QJsonDocument(board).toJson());
        boardPaths.insert(layout.id, path);
    }
    const QJsonObject manifest{
        {QStringLiteral("format"), Format},
        {QStringLiteral("root"), boardPaths.value(layouts.first().id)},
        {QStringLiteral("paths"), QJsonObject{{QStringLiteral("boards"), boardPaths},
                                              {QStringLiteral("images"), imagePaths},
                                              {QStringLiteral("sounds"), soundPaths}}}};
    if (!zip.add(QStringLiteral("manifest.json"), QJsonDocument(manifest).toJson()) || !zip.finish()) {
        return unwritten(QStringLiteral("writing the ZIP"));
    }
    return notes;
}
