#include "editor/QtFilePicker.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {
// Only blanks are trimmed: a tab or other white space is part of the name.
QString TrimBlanks(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' ')) {
        ++first;
    }
    while (last > first && text.at(last - 1) == QLatin1Char(' ')) {
        --last;
    }
    return text.mid(first, last - first);
}

enum class Mode { Open, OpenMany, Save };

QStringList Run(QWidget* owner, const QString& filter, Mode mode) {
    const bool save = mode == Mode::Save;
    QFileDialog dialog(owner, save ? QtFilePicker::SaveTitle() : QtFilePicker::OpenTitle(),
                       QDir::currentPath());
    // Qt's own dialog behaves the same on every desktop (and under Xvfb).
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter(QtFilePicker::NameFilterOf(filter));
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(mode == Mode::OpenMany ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    }
    const int result = dialog.exec();
    if (owner) {
        // Without a window manager focus does not come back by itself.
        owner->activateWindow();
    }
    if (result != QDialog::Accepted) {
        return {};
    }
    QStringList paths;
    for (const QString& selected : dialog.selectedFiles()) {
        const QString path = TrimBlanks(selected);
        // A layout keeps at most 254 characters of a value: a longer path could
        // not be read back, so it counts as no choice at all.
        if (!path.isEmpty() && path.size() <= QtFilePicker::MaxPathLength) {
            paths << path;
        }
    }
    if (!paths.isEmpty()) {
        QDir::setCurrent(QFileInfo(paths.constFirst()).absolutePath());
    }
    return paths;
}

QString One(const QStringList& paths) {
    return paths.isEmpty() ? QString() : paths.constFirst();
}
} // namespace

QString QtFilePicker::NameFilterOf(const QString& filter) {
    const qsizetype nul = filter.indexOf(QChar(u'\0'));
    const QString description = nul >= 0 ? filter.left(nul) : filter;
    const QString pattern = nul >= 0 ? filter.mid(nul + 1) : QString();
    if (pattern.isEmpty()) {
        return description;
    }
    // Qt reads the patterns from the last parenthesis of the text, separated
    // by blanks; a description such as "Picture Files (*.*)" keeps its words
    // and the real patterns follow it.
    QStringList patterns = pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& p : patterns) {
        p = p.trimmed();
    }
    const QString joined = patterns.join(QLatin1Char(' '));
    if (description.endsWith(QStringLiteral("(%1)").arg(joined))) {
        return description;
    }
    return QStringLiteral("%1 (%2)").arg(description, joined);
}

QString QtFilePicker::ShowOpenDialog(QWidget* owner, const QString& filter) {
    return One(Run(owner, filter, Mode::Open));
}

QString QtFilePicker::ShowSaveDialog(QWidget* owner, const QString& filter) {
    return One(Run(owner, filter, Mode::Save));
}

QStringList QtFilePicker::ShowOpenFilesDialog(QWidget* owner, const QString& filter) {
    return Run(owner, filter, Mode::OpenMany);
}
