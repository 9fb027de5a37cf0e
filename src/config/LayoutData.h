#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// What the runtime keeps of the active layout, filled by LayoutReader each
// time the table is started. The per-key lists have one slot more than the
// keys need: index 0 of the 1-based lists, and position KeyCount of
// InputSequence, stay empty or 0. Paths are kept as the layout writes them;
// code that opens one goes through ResolveFileCase (names match without
// regard to case) and reads only regular files (a layout may name a folder,
// a FIFO or a device, which exist but must never be read).
struct LayoutData {
    qint16 KeyCount = 0;
    qint16 ForcedInput = 0;
    // Position p holds the key expected as the (p + 1)-th choice (filled only
    // when ForcedInput is 1).
    QList<qint16> InputSequence;
    // Index 1 pictures, 2 recorded sounds, 3 spoken texts; index 0 unused.
    std::array<bool, 4> SectionOn{};
    QStringList PicturePaths;
    QStringList SoundPaths;       // filled only when SectionOn[2]
    QStringList KeyTexts;         // filled only when SectionOn[3]
    QStringList FunctionKeyPaths; // index 1 to 12: the layouts of F1 to F12
    QStringList LinkPaths;        // index 1 to KeyCount: what each key opens, empty for none
    QString BonusPath;
    QString Voice; // the layout's own voice, empty for the user's
};
