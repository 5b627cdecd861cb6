#pragma once
// Where the enabled variables of the table sit in the gateway's internal data
// array of NByte_IN bytes, and the placements that would make the gateway
// publish wrong values: two variables on the same byte or bit, a variable
// that runs past the end of the array, two variables with the same name.
//
// The variables are the rows down to the first one without a name whose
// Enable is exactly "Y". A variable occupies the bytes Position to
// Position + Length - 1; a "Digital (Bit)" variable occupies the one bit
// StartBit of the byte at Position. A row whose Position or Length is not a
// number (or is negative, or a Length under 1) cannot be placed: the editor's
// own check refuses it, so the map leaves it out. Every finding is a warning.

#include "core/common/grid_rows.h"

#include <QList>
#include <QString>

namespace mirandel {

struct VariableSpan {
    int row = -1; // 0-based data row
    QString name;
    int first = 0; // first byte
    int last = 0;  // last byte (may lie past the end of the array)
    int bit = -1;  // the bit of a "Digital (Bit)" variable, -1 for a byte variable

    bool isBit() const { return bit >= 0; }
};

struct MapProblem {
    enum Kind { Overlap, PastEnd, DuplicateName };
    Kind kind;
    int row = -1;      // the later of the two rows, or the row past the end
    int otherRow = -1; // the earlier row of an overlap or a duplicate name, else -1
    int first = 0;     // bytes concerned: the shared bytes, or the bytes past the end
    int last = 0;
    int bit = -1; // the shared bit of two bit variables, else -1

    // "overlap", "past-end", "duplicate-name".
    QString code() const;
    // One line in English naming the rows (1-based) and the bytes.
    QString describe() const;
};

struct DataArrayMap {
    QList<VariableSpan> spans;  // in position order (then bit, then row)
    QList<MapProblem> problems; // overlaps, then past-end, then duplicate names; each by row

    // The spans that cover `byte`.
    QList<const VariableSpan *> at(int byte) const;
    // True when some problem concerns `row`.
    bool rowHasProblem(int row) const;
};

// The map of the table's enabled variables.
DataArrayMap buildDataArrayMap(const GridRows &table);

} // namespace mirandel
