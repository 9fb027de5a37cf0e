#pragma once

#include <QString>

// What the configuration check finds each time the user starts the table.
enum class ConfigurationState {
    Ready,         // cfg.ini carries the marker and names a layout that carries it
    Damaged,       // cfg.ini is missing or lacks its marker: the installation repairs it
    NoLayout,      // the layout cfg.ini names does not exist
    InvalidLayout, // that layout lacks the marker
};

// Reads cfg.ini and the layout it names; changes nothing. What to do about
// each state (a message, the repair) is the caller's.
ConfigurationState CheckConfiguration(const QString& dataFolder);
