#pragma once

#include <QString>

// A layout number: the text of a value read as a signed 16-bit integer.
// Blanks around it, a sign and leading zeros are allowed ("04" and " 4 " are
// 4); anything else is a conversion error with the number and Italian
// description the messages show.
struct Integer16 {
    static constexpr int TypeMismatch = 13;
    static constexpr int Overflow = 6;

    static Integer16 FromText(const QString& text);
    // "Tipo non corrispondente" for 13, "Overflow" for 6, empty for any other.
    static QString ErrorDescription(int error);

    qint16 value = 0;
    int error = 0; // 0 when the text is a number
};
