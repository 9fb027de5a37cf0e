#include "runtime/LayoutSwitcher.h"

#include "config/ConfigFile.h"
#include "config/FileExists.h"
#include "config/LayoutFile.h"
#include "config/LayoutReader.h"
#include "platform/AppInfo.h"
#include "platform/IMessages.h"

#include <utility>

LayoutSwitcher::LayoutSwitcher(QString dataFolder, IMessages& messages,
                               std::function<bool()> confirmConfiguration)
    : m_dataFolder(std::move(dataFolder)), m_messages(messages),
      m_confirmConfiguration(std::move(confirmConfiguration)) {}

bool LayoutSwitcher::Load(const QString& path, LayoutData& into) {
    return !LayoutReader(m_dataFolder, m_messages, into).ReadLayoutAt(path);
}

LayoutSwitcher::Result LayoutSwitcher::OpenActive() {
    if (m_confirmConfiguration && !m_confirmConfiguration()) {
        return Result::Failed;
    }
    const QString path = ConfigFile::ActiveLayout(m_dataFolder);
    LayoutData next;
    if (!Load(path, next)) {
        return Result::Failed;
    }
    m_layout = std::move(next);
    m_current = path;
    m_home = path;
    m_history.clear();
    return Result::Shown;
}

LayoutSwitcher::Result LayoutSwitcher::SwitchByFunctionKey(int n) {
    return SwitchTo(m_layout.FunctionKeyPaths.value(n), Persist::Yes);
}

LayoutSwitcher::Result LayoutSwitcher::FollowLink(int k) {
    const QString target = m_layout.LinkPaths.value(k);
    if (target == LayoutFile::LinkBack) {
        // At the start of the history there is nowhere to go back to.
        return m_history.isEmpty() ? Result::Stayed : SwitchTo(m_history.last(), Persist::No, Step::Back);
    }
    if (target == LayoutFile::LinkHome) {
        return SwitchTo(m_home, Persist::No, Step::Home);
    }
    return target.isEmpty() ? Result::Stayed : SwitchTo(target, Persist::No);
}

LayoutSwitcher::Result LayoutSwitcher::SwitchTo(const QString& path, Persist persist, Step step) {
    if (!FileExists(path)) {
        m_messages.showMessage(QStringLiteral("Il file che si cerca di caricare non viene trovato."),
                               MsgIcon::Exclamation, AppInfo::Title);
        return Result::Stayed;
    }
    if (!LayoutFile::IsLayout(path)) {
        m_messages.showMessage(
            QStringLiteral("Il layout che si cerca di utilizzare non è valido. Crearne uno valido."),
            MsgIcon::Exclamation, AppInfo::Title);
        return Result::Stayed;
    }
    QString shown = path;
    if (persist == Persist::Yes) {
        // The table then reads what cfg.ini names: the same layout, or the
        // one named before when cfg.ini could not be written.
        ConfigFile::SetActiveLayout(m_dataFolder, path);
        ConfigFile::RefreshActivePath(m_dataFolder);
        if (m_confirmConfiguration && !m_confirmConfiguration()) {
            return Result::Failed;
        }
        shown = ConfigFile::ActiveLayout(m_dataFolder);
    }
    LayoutData next;
    if (!Load(shown, next)) {
        return persist == Persist::Yes ? Result::Failed : Result::Stayed;
    }
    switch (step) {
    case Step::Forward:
        m_history.append(m_current);
        while (m_history.size() > HistoryLimit) {
            m_history.removeFirst();
        }
        break;
    case Step::Back:
        m_history.removeLast();
        break;
    case Step::Home:
        // Home is where the history starts.
        m_history.clear();
        break;
    }
    m_layout = std::move(next);
    m_current = shown;
    return Result::Shown;
}

void LayoutSwitcher::Clear() {
    m_layout = LayoutData();
    m_current.clear();
    m_home.clear();
    m_history.clear();
}
