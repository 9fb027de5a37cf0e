// The layouts of an import: each built whole in memory and staged once.
#include "obf/ObfImporter.h"

#include "audio/WavWriter.h"
#include "config/LayoutFile.h"
#include "grid/TableShape.h"
#include "obf/ObfStaging.h"
#include "obf/ZipArchive.h"

#include <QFileInfo>

#include <algorithm>
#include <array>
#include <vector>

namespace {
constexpr int MaxTextLength = 254;

QString KeyText(const ObfButton& button) {
    QString text = button.vocalization.trimmed().isEmpty() ? button.label : button.vocalization;
    return text.simplified().left(MaxTextLength);
}
} // namespace

// Links first to the function keys they name, the others in order; a board
// split over several layouts keeps F12 for the next of them.
std::array<QString, LayoutContent::FunctionKeys> ObfImporter::FunctionKeys(const Board& board,
                                                                           ObfReport& report) const {
    const QString title = BoardTitle(board);
    std::array<QString, LayoutContent::FunctionKeys> functionKeys;
    const int usable = board.pages.size() > 1 ? LayoutContent::FunctionKeys - 1 : LayoutContent::FunctionKeys;
    QList<Link> links = board.links;
    std::stable_sort(links.begin(), links.end(), [](const Link& a, const Link& b) {
        return (a.functionKey > 0 ? a.functionKey : 100) < (b.functionKey > 0 ? b.functionKey : 100);
    });
    for (const Link& link : std::as_const(links)) {
        if (link.functionKey < 0) {
            continue;
        }
        if (!m_boardByPath.contains(link.path)) {
            report.add(ObfReport::Issue::MissingLink, title, link.name.isEmpty() ? link.path : link.name);
            continue;
        }
        const QString target = m_boards[m_boardByPath.value(link.path)].layouts.first();
        if (std::find(functionKeys.begin(), functionKeys.end(), target) != functionKeys.end()) {
            continue;
        }
        const int wanted = link.functionKey;
        int slot = wanted > 0 && wanted <= usable && functionKeys[wanted - 1].isEmpty() ? wanted - 1 : -1;
        for (int f = 0; slot < 0 && f < usable; ++f) {
            slot = functionKeys[f].isEmpty() ? f : -1;
        }
        // Beyond the function keys the link still has its key on the table.
        if (slot >= 0) {
            functionKeys[slot] = target;
        }
    }
    // The source programs always offer a way home; here the last free
    // function key of every other board leads back to the set's first one.
    // A set this program exported describes its function keys itself.
    const QString home = m_boards.first().layouts.first();
    if (&board != &m_boards.first() && !board.board.functionKeysComplete &&
        std::find(functionKeys.begin(), functionKeys.end(), home) == functionKeys.end()) {
        for (int f = usable - 1; f >= 0; --f) {
            if (functionKeys[f].isEmpty()) {
                functionKeys[f] = home;
                break;
            }
        }
    }
    return functionKeys;
}

// What a link button opens: the first layout of its board, the special
// targets of a set this program exported, or nothing.
QString ObfImporter::KeyLink(const ObfButton& button) const {
    if (button.specialLink == LayoutFile::LinkBack || button.specialLink == LayoutFile::LinkHome) {
        return button.specialLink;
    }
    if (!button.link || !m_zip || button.functionKey > 0) {
        return QString();
    }
    const auto target = m_boardByPath.constFind(ZipArchive::CleanName(button.linkPath).value_or(QString()));
    return target == m_boardByPath.constEnd() ? QString() : m_boards[*target].layouts.first();
}

bool ObfImporter::WriteBoard(const Board& board, ObfReport& report) {
    const QString title = BoardTitle(board);
    const int pages = int(board.layouts.size());
    if (pages > 1) {
        report.add(ObfReport::Issue::Split, title, QStringLiteral("%1 layout").arg(pages));
    }
    const std::array<QString, LayoutContent::FunctionKeys> functionKeys = FunctionKeys(board, report);
    for (int p = 0; p < pages; ++p) {
        const Page& page = board.pages[p];
        const QString layout = board.layouts[p];
        LayoutContent content;
        const int used = page.count + (page.back ? 1 : 0) + (page.next ? 1 : 0);
        content.KeyCount = qint16(AllowedKeyCountFor(used));
        content.Section3On = 1;
        content.FunctionKeyLayouts = functionKeys;
        if (pages > 1) {
            content.FunctionKeyLayouts[LayoutContent::FunctionKeys - 1] = board.layouts[(p + 1) % pages];
        }
        for (int k = 0; k < page.count; ++k) {
            const ObfButton& button = board.keys[page.first + k];
            for (const QString& action : button.actions) {
                report.add(ObfReport::Issue::Action, title,
                           QStringLiteral("«%1» (%2)").arg(button.label, action));
            }
            content.Texts[k] = KeyText(button);
            content.Pictures[k] = KeyPicture(board, button, report);
            content.Sounds[k] = KeySound(board, button, report);
            content.Links[k] = KeyLink(button);
            content.Section2On = content.Sounds[k].isEmpty() ? content.Section2On : qint16(1);
        }
        int k = page.count;
        if (page.next) {
            content.Texts[k] = NextText;
            content.Pictures[k] = m_labels.value(NextText);
            content.Links[k++] = board.layouts[p + 1];
        }
        if (page.back) {
            content.Texts[k] = BackText;
            content.Pictures[k] = m_labels.value(BackText);
            content.Links[k++] = LayoutFile::LinkBack;
        }
        for (; k < content.KeyCount; ++k) {
            content.Pictures[k] = m_labels.value(QString());
        }
        // A layout that plays sounds needs one for every key.
        for (k = 0; content.Section2On == 1 && k < content.KeyCount; ++k) {
            content.Sounds[k] = content.Sounds[k].isEmpty() ? SilentSound() : content.Sounds[k];
        }
        const auto missing = [&content](const auto& paths) {
            return std::any_of(paths.begin(), paths.begin() + content.KeyCount,
                               [](const QString& path) { return path.isEmpty(); });
        };
        const bool complete =
            !missing(content.Pictures) && (content.Section2On == 0 || !missing(content.Sounds));
        if (!complete) {
            return false;
        }
        if (const Outcome staged = m_staging->stage(layout, LayoutFile::Encode(content)); !staged) {
            m_fatal = staged;
            return false;
        }
        report.addLayout(title, layout, page.count);
    }
    return true;
}

QString ObfImporter::SilentSound() {
    if (m_silence.isEmpty()) {
        constexpr int Rate = 22050;
        const std::vector<qint16> silence(Rate / 20, 0);
        const Result<QString> staged = m_staging->stageShared(
            m_dataFolder + QStringLiteral("/suoni"),
            QFileInfo(m_boards.first().layouts.first()).completeBaseName() + QStringLiteral(" silenzio"),
            QStringLiteral("wav"), EncodeWav16(silence, 1, Rate));
        if (staged) {
            m_silence = *staged;
        } else {
            m_fatal = staged.failure();
        }
    }
    return m_silence;
}

// The whole list of what could not be carried, beside the layouts, for a
// set whose report is too long to read in a message.
Outcome ObfImporter::WriteReport(ObfReport& report) {
    if (report.entries().isEmpty()) {
        return Outcome::Done();
    }
    const QString path = m_staging->reserve(m_dataFolder + QStringLiteral("/layout"),
                                            QFileInfo(m_boards.first().layouts.first()).completeBaseName() +
                                                QStringLiteral(" - importazione"),
                                            QStringLiteral("txt"));
    report.setListFile(path);
    return m_staging->stage(path, report.fullList().toUtf8());
}
