#pragma once

#include <QString>

// The fields of the settings window that outlive one opening. The runtime
// window keeps one of these for the whole life of the program and hands it
// to every settings window it opens: the bonus file and SequenceReset carry
// over from one opening to the next, and users rely on that.
struct SetupState {
    QString LayoutPath;
    qint16 EditKeyCount = 0;
    qint16 Section1On = 0;
    qint16 Section2On = 0;
    qint16 Section3On = 0;
    qint16 EditForcedInput = 0;
    QString BonusFile;
    QString SequenceText;
    bool SequenceReset = false;
};
