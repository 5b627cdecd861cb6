#pragma once
// The two text rules every reader and check of the program shares:
// the numeric-text rule (how any field or file text becomes an integer) and
// the trim rule (leading and trailing characters with a code of 32 or less).

#include <QString>
#include <QStringView>
#include <optional>

namespace mirandel {

// Numeric text: leading blanks skipped, optional '+' or '-', then decimal
// digits, or hexadecimal digits after "$", "x", "X", "0x" or "0X"; nothing may
// follow. Decimal values must fit a signed 32-bit integer; hexadecimal values
// are read as 32-bit two's complement and may not need more than 32 bits.
// Returns nullopt for any text that is not a number, the empty text included.
std::optional<qint32> numericText(QStringView text);

// numericText(text), or fallback when the text is not a number.
qint32 numericTextOr(QStringView text, qint32 fallback);

// Removes leading and trailing characters whose code is 32 or less
// (blanks and control characters).
QString trimText(QStringView text);

// trimText as a view into `text`, without a copy.
QStringView trimTextView(QStringView text);

// True when the text is empty after trimText.
bool isBlankText(QStringView text);

// `text` with every line break (CR LF, LF or a lone CR) written as `lineBreak`.
QString withLineBreaks(QStringView text, QStringView lineBreak);

// An edited text in the line-break style of the text it replaces: CR LF
// when `before` broke its lines with CR LF, LF when it used LF, and
// `newTextBreak` when it had no line break at all. Editors return LF only;
// this keeps the bytes of an edited certificate's unchanged lines.
QString keepLineBreakStyle(QStringView before, QStringView edited, QStringView newTextBreak = u"\n");

} // namespace mirandel
