#include "obf/ObfBoard.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QSet>

namespace {
ObfMedia ReadMedia(const QJsonObject& object) {
    ObfMedia media;
    media.id = ObfId(object.value(QLatin1String("id")));
    media.contentType = object.value(QLatin1String("content_type")).toString().trimmed().toLower();
    media.data = object.value(QLatin1String("data")).toString();
    if (media.data.isEmpty()) {
        media.data = object.value(QLatin1String("data_url")).toString();
    }
    media.path = object.value(QLatin1String("path")).toString();
    media.url = object.value(QLatin1String("url")).toString();
    media.symbol = object.value(QLatin1String("symbol")).isObject();
    return media;
}

QHash<QString, ObfMedia> ReadMediaList(const QJsonValue& value) {
    QHash<QString, ObfMedia> list;
    for (const QJsonValue& item : value.toArray()) {
        const ObfMedia media = ReadMedia(item.toObject());
        if (!media.id.isEmpty()) {
            list.insert(media.id, media);
        }
    }
    return list;
}

ObfButton ReadButton(const QJsonObject& object) {
    ObfButton button;
    button.id = ObfId(object.value(QLatin1String("id")));
    button.label = object.value(QLatin1String("label")).toString();
    button.vocalization = object.value(QLatin1String("vocalization")).toString();
    button.imageId = ObfId(object.value(QLatin1String("image_id")));
    button.soundId = ObfId(object.value(QLatin1String("sound_id")));
    const QJsonValue link = object.value(QLatin1String("load_board"));
    if (link.isObject()) {
        button.link = true;
        button.linkPath = link.toObject().value(QLatin1String("path")).toString();
        button.linkName = link.toObject().value(QLatin1String("name")).toString();
        if (button.linkName.isEmpty()) {
            button.linkName = ObfId(link.toObject().value(QLatin1String("id")));
        }
    }
    button.specialLink = object.value(QLatin1String("ext_mirelva_link")).toString();
    button.functionKey = object.value(QLatin1String("ext_mirelva_function_key")).toInt();
    if (object.value(QLatin1String("action")).isString()) {
        button.actions << object.value(QLatin1String("action")).toString();
    }
    for (const QJsonValue& action : object.value(QLatin1String("actions")).toArray()) {
        if (action.isString()) {
            button.actions << action.toString();
        }
    }
    return button;
}
} // namespace

QString ObfId(const QJsonValue& value) {
    if (value.isDouble()) {
        return QString::number(value.toDouble(), 'g', 17);
    }
    return value.isString() ? value.toString() : QString();
}

Result<ObfBoard> ObfBoard::Parse(const QByteArray& json) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        return Outcome::Failed(QStringLiteral("errore di sintassi JSON alla posizione %1 (%2)")
                                   .arg(parseError.offset)
                                   .arg(parseError.errorString()),
                               QStringLiteral("JSON error %1 at byte %2 of %3")
                                   .arg(int(parseError.error))
                                   .arg(parseError.offset)
                                   .arg(json.size()));
    }
    if (!document.isObject()) {
        return Outcome::Failed(QStringLiteral("il contenuto non è una tabella"),
                               document.isArray() ? QStringLiteral("JSON array, not an object")
                                                  : QStringLiteral("JSON value, not an object"));
    }
    const QJsonObject root = document.object();
    ObfBoard board;
    board.id = ObfId(root.value(QLatin1String("id")));
    board.name = root.value(QLatin1String("name")).toString().trimmed();
    board.locale = root.value(QLatin1String("locale")).toString();
    board.functionKeysComplete = root.value(QLatin1String("ext_mirelva_function_keys")).toBool();
    for (const QJsonValue& item : root.value(QLatin1String("buttons")).toArray()) {
        const QJsonObject object = item.toObject();
        board.buttons << ReadButton(object);
        if (object.value(QLatin1String("hidden")).toBool()) {
            board.m_hidden << board.buttons.last().id;
        }
    }
    board.images = ReadMediaList(root.value(QLatin1String("images")));
    board.sounds = ReadMediaList(root.value(QLatin1String("sounds")));
    for (const QJsonValue& row :
         root.value(QLatin1String("grid")).toObject().value(QLatin1String("order")).toArray()) {
        QStringList cells;
        for (const QJsonValue& cell : row.toArray()) {
            cells << ObfId(cell);
        }
        board.m_order << cells;
    }
    return board;
}

QList<ObfButton> ObfBoard::Ordered() const {
    QHash<QString, int> byId;
    for (int i = 0; i < buttons.size(); ++i) {
        byId.insert(buttons[i].id, i);
    }
    QList<ObfButton> ordered;
    QSet<QString> placed;
    for (const QStringList& row : m_order) {
        for (const QString& cell : row) {
            if (!cell.isEmpty() && byId.contains(cell) && !m_hidden.contains(cell) &&
                !placed.contains(cell)) {
                placed.insert(cell);
                ordered << buttons[byId.value(cell)];
            }
        }
    }
    // A grid that names none of the buttons is as good as none.
    if (ordered.isEmpty()) {
        for (const ObfButton& button : buttons) {
            if (!m_hidden.contains(button.id)) {
                ordered << button;
            }
        }
    }
    return ordered;
}
