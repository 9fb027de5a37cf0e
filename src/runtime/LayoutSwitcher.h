#pragma once

#include "config/LayoutData.h"

#include <QString>
#include <QStringList>

#include <functional>

class IMessages;

// Which layout the table shows, and how it changes: Enter opens the layout
// cfg.ini names, a function key switches to the layout named for it (and
// makes it the active one in cfg.ini), a link key to the layout it names, to
// the one shown before it (back) or to the one opened with Enter (home).
// It knows no window: the runtime window draws the table it has loaded.
//
// Every switch goes through one place, SwitchTo. A target that is missing or
// not a layout is reported with the usual messages and the table stays; a
// link whose target fails the table's full check stays as well, while a
// function key's goes back to the intro screen, its layout being the active
// one by then.
class LayoutSwitcher {
public:
    // How many layouts back can reach; the oldest is forgotten beyond that.
    static constexpr int HistoryLimit = 50;

    // `confirmConfiguration` is asked before a layout becomes the active one
    // (it checks cfg.ini and may repair it); false: no table.
    LayoutSwitcher(QString dataFolder, IMessages& messages, std::function<bool()> confirmConfiguration);

    // Where a switch left the user.
    enum class Result {
        Stayed, // the table shown before stays (a message may have said why)
        Shown,  // Layout() is the new table's layout
        Failed, // no table can be shown: back to the intro screen
    };
    // Whether the switch makes its target the active layout in cfg.ini.
    enum class Persist { No, Yes };

    // Enter: the layout cfg.ini names, checked in full; it becomes home and
    // the history starts empty.
    Result OpenActive();
    // Function key n (1 to 12): its layout becomes the active one.
    Result SwitchByFunctionKey(int n);
    // Key k's link, if it has one (Stayed when it has none): the layout it
    // names, back or home. cfg.ini is left as it is.
    Result FollowLink(int k);
    // How a switch moves through the history: forward keeps the layout left
    // (the oldest beyond HistoryLimit is forgotten), back takes the last one
    // off, home empties it.
    enum class Step { Forward, Back, Home };
    // The one place where the table changes to another layout.
    Result SwitchTo(const QString& path, Persist persist, Step step = Step::Forward);

    // True when key k of the layout shown opens another layout.
    bool IsLink(int k) const { return !m_layout.LinkPaths.value(k).isEmpty(); }
    const LayoutData& Layout() const { return m_layout; }
    const QString& CurrentPath() const { return m_current; }
    const QString& HomePath() const { return m_home; }
    const QStringList& History() const { return m_history; }
    // Forgets the layout shown and the history.
    void Clear();

private:
    bool Load(const QString& path, LayoutData& into);

    QString m_dataFolder;
    IMessages& m_messages;
    std::function<bool()> m_confirmConfiguration;
    LayoutData m_layout;
    QString m_current;
    QString m_home;
    QStringList m_history;
};
