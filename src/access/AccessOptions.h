#pragma once

#include "platform/Outcome.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <optional>

// How a user who cannot click precisely chooses keys, and the filters for a
// tremor. The options live in a file of their own beside cfg.ini; without the
// file every option has its default and the program behaves as it always has.
struct AccessOptions {
    enum class Method { Click, Dwell, AutoScan, StepScan, Arrows };
    enum class Order { RowColumn, Linear };
    // Keys a switch interface can send; Esc, F1-F12 and the Alt commands keep their meaning.
    enum class SwitchKey { Space, Enter, One, Two, Three };
    enum class Colour { Yellow, Cyan, Green, Magenta, White };

    Method method = Method::Click;
    // Dwell.
    int dwellMs = 1500;
    int dwellRadius = 8;
    // After a dwell chose a key, a full new dwell chooses it again (otherwise
    // the pointer must leave the key and come back).
    bool dwellRepeats = false;
    // Scanning.
    int scanIntervalMs = 1200;
    int firstItemPercent = 150;
    int scanRounds = 3;
    Order order = Order::RowColumn;
    SwitchKey scanKey = SwitchKey::Space;
    bool clickIsSwitch = false;
    SwitchKey stepKey = SwitchKey::Space;
    SwitchKey selectKey = SwitchKey::Enter;
    // After a key's output the scan starts again from the key just chosen (otherwise from the start).
    bool resumeAtSelected = false;
    // Highlight.
    int highlightWidth = 8;
    Colour highlightColour = Colour::Yellow;
    // Auditory scanning: volume 0-100 and rate -10..10 on the speech scales.
    bool auditory = false;
    int auditoryVolume = 40;
    int auditoryRate = 4;
    // The table draws pictures with their proportions, on white, instead of stretched to their square.
    bool keepProportions = false;
    // Tremor filters.
    int acceptanceMs = 0;
    int repeatDelayMs = 0;
    // Around the table; unset until the user sets them, and only then written.
    // The message bar ("Striscia della frase"), off unless set.
    std::optional<bool> messageBar = std::nullopt;
    // The strip of the function keys' layouts; unset, on under every method but "Clic".
    std::optional<bool> functionStrip = std::nullopt;
    // "costruzione silenziosa": a chosen key only joins the bar, silently.
    std::optional<bool> quietBuilding = std::nullopt;
    // The correct steps of a forced-input layout join the bar too.
    std::optional<bool> trainingJoinsBar = std::nullopt;
    // The scan offers the bar and the strip before the table's rows (otherwise after).
    std::optional<bool> edgesFirst = std::nullopt;

    // The file beside cfg.ini.
    static QString FilePath(const QString& dataFolder);
    // The options of the file; defaults for a missing file and for values that
    // cannot be read. Values out of range are clamped; the file is never
    // written. A file in UTF-16 gives the defaults and, in *unreadable, an
    // Italian message that says so.
    static AccessOptions Load(const QString& dataFolder, QString* unreadable = nullptr);
    // Writes every option as a whole file (never half a file); a failure that
    // names the reason when it cannot be written (a write-protected file is
    // left as it is).
    Outcome Save(const QString& dataFolder) const;
    // The same options with every value inside its range; true in *changed when one was not.
    AccessOptions Clamped(bool* changed = nullptr) const;

    bool showBar() const { return messageBar.value_or(false); }
    bool showStrip() const { return functionStrip.value_or(method != Method::Click); }
    bool scanning() const { return method == Method::AutoScan || method == Method::StepScan; }
    QColor colour() const;
    static int QtKeyOf(SwitchKey key);

    // On-screen names, in the order of the enums.
    static QStringList MethodNames();
    static QStringList OrderNames();
    static QStringList SwitchKeyNames();
    static QStringList ColourNames();

    friend bool operator==(const AccessOptions&, const AccessOptions&) = default;
};
