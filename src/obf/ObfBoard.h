#pragma once

#include "platform/Outcome.h"

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

// Where a picture's or a sound's bytes are, as a board names them.
struct ObfMedia {
    QString id;
    QString contentType;
    QString data; // a data: URI
    QString path; // a file inside the .obz
    QString url;  // remote: never fetched
    bool symbol = false;
};

struct ObfButton {
    QString id;
    QString label;
    QString vocalization;
    QString imageId;
    QString soundId;
    QString linkPath; // load_board's path inside the .obz
    QString linkName;
    bool link = false;
    QStringList actions;
    // A link of a board exported by this program to a target that is no board
    // (LayoutFile::LinkBack, LinkHome).
    QString specialLink;
    // The function key a board exported by this program gives a link button.
    int functionKey = 0;
};

// One board of the Open Board Format, read from its JSON text. Ids are
// compared as strings, since writers use numbers and strings alike.
class ObfBoard {
public:
    // The board, or the failure when the text is no JSON object: its message
    // is the reason in Italian, to be set in a sentence about the file.
    static Result<ObfBoard> Parse(const QByteArray& json);

    QString id;
    QString name;
    QString locale;
    QList<ObfButton> buttons;
    QHash<QString, ObfMedia> images;
    QHash<QString, ObfMedia> sounds;
    // True for a board this program exported: its link buttons are all its function keys.
    bool functionKeysComplete = false;

    // The buttons in grid order, row by row, skipping empty cells, unknown
    // ids and hidden buttons; the buttons in their own order when the board
    // has no usable grid.
    QList<ObfButton> Ordered() const;

private:
    QList<QStringList> m_order;
    QStringList m_hidden;
};

// An id as a string, whether the file wrote it as a number or as text.
QString ObfId(const QJsonValue& value);
