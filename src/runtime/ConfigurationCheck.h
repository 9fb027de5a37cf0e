#pragma once

#include <QString>

#include <functional>

class IMessages;

// Run when the user starts the table: true when it may start. Otherwise the
// user is told why; a damaged cfg.ini is repaired with `repair` (the whole
// installation) between a message before and one after, and the table still
// does not start, so the next attempt finds the new files.
bool ConfirmConfiguration(const QString& dataFolder, IMessages& messages,
                          const std::function<bool()>& repair);
