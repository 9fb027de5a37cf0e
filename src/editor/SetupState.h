#pragma once

#include <QString>

// The fields of the settings window that outlive one opening. The runtime
// window keeps one of these for the whole life of the program and hands it
// to every settings window it opens: the bonus file of the layout shown
// before carries over to a new layout, and users rely on that.
struct SetupState {
    QString LayoutPath;
    QString BonusFile;
};
