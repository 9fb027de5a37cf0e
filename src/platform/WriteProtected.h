#pragma once

class QFileInfo;

// A file without any write permission is left alone, also by a user (root)
// who could override it: a carer who locks a file means it.
bool WriteProtected(const QFileInfo& info);
