#pragma once
// Decimal separator of the user's locale and the conversion of decimal texts
// typed with either "," or "." as the decimal mark.

#include <QChar>
#include <QString>

namespace mirandel {

// The decimal separator of the user's locale, restricted to ',' or '.';
// ',' when the locale uses any other character.
QChar Get_Decimal_Separator();

// Converts a decimal text to a 32-bit float. Every ',' and '.' of the text is
// first replaced by `separator`, so either mark is accepted, and no thousands
// separator is. Returns false and stores 1.0 when the text does not convert
// (empty text, letters, two separators, a value that is not finite).
bool Str_To_Single(const QString &text, QChar separator, float &value);

} // namespace mirandel
