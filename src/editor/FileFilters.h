#pragma once

#include <QString>

// The filters the editors hand to the file picker: a description, a NUL, the patterns.
namespace FileFilters {
// Every kind of picture the table draws.
QString Pictures();
QString Sounds();
QString Layouts();
} // namespace FileFilters
