#include "core/iec61850/data_array_map.h"

#include "core/common/text_rules.h"
#include "core/iec61850/variable_table.h"

#include <algorithm>
#include <limits>

namespace mirandel {

namespace {

bool isBitType(const QString &type)
{
    // The image builder reads the type the same way.
    return trimText(type).toUpper() == QStringLiteral("DIGITAL (BIT)");
}

QString bytesText(int first, int last)
{
    return first == last ? QStringLiteral("byte %1").arg(first) : QStringLiteral("bytes %1-%2").arg(first).arg(last);
}

} // namespace

QString MapProblem::code() const
{
    switch (kind) {
    case Overlap:
        return QStringLiteral("overlap");
    case PastEnd:
        return QStringLiteral("past-end");
    case DuplicateName:
        return QStringLiteral("duplicate-name");
    }
    return {};
}

QString MapProblem::describe() const
{
    switch (kind) {
    case Overlap:
        return QStringLiteral("rows %1 and %2 share %3%4")
            .arg(otherRow + 1)
            .arg(row + 1)
            .arg(bytesText(first, last), bit >= 0 ? QStringLiteral(" bit %1").arg(bit) : QString());
    case PastEnd:
        return QStringLiteral("row %1 runs past the end of the %2-byte array (%3)")
            .arg(row + 1)
            .arg(NByte_IN)
            .arg(bytesText(first, last));
    case DuplicateName:
        return QStringLiteral("rows %1 and %2 have the same name").arg(otherRow + 1).arg(row + 1);
    }
    return {};
}

QList<const VariableSpan *> DataArrayMap::at(int byte) const
{
    QList<const VariableSpan *> found;
    for (const VariableSpan &span : spans) {
        if (span.first <= byte && byte <= span.last)
            found.append(&span);
    }
    return found;
}

bool DataArrayMap::rowHasProblem(int row) const
{
    return std::any_of(problems.begin(), problems.end(),
                       [row](const MapProblem &p) { return p.row == row || p.otherRow == row; });
}

DataArrayMap buildDataArrayMap(const GridRows &table)
{
    DataArrayMap map;
    QList<int> named; // enabled rows, for the name comparison
    for (int r = 0; r < table.rowCount(); ++r) {
        if (isBlankText(table.text(r, Var_Name)))
            break;
        if (table.text(r, Var_Enable) != QStringLiteral("Y"))
            continue;
        named.append(r);
        const auto position = numericText(table.text(r, Var_Position));
        if (!position || *position < 0)
            continue;
        VariableSpan span;
        span.row = r;
        span.name = table.text(r, Var_Name);
        span.first = *position;
        if (isBitType(table.text(r, Var_Type))) {
            span.bit = qMax(0, numericTextOr(table.text(r, Var_StartBit), 0));
            span.last = span.first;
        } else {
            const auto length = numericText(table.text(r, Var_Length));
            if (!length || *length < 1)
                continue;
            span.last = int(qMin<qint64>(qint64(span.first) + *length - 1, std::numeric_limits<int>::max()));
        }
        map.spans.append(span);
    }

    // Overlaps, by row pair.
    QList<VariableSpan> byRow = map.spans;
    for (qsizetype i = 0; i < byRow.size(); ++i) {
        for (qsizetype j = i + 1; j < byRow.size(); ++j) {
            const VariableSpan &a = byRow[i];
            const VariableSpan &b = byRow[j];
            const int first = qMax(a.first, b.first);
            const int last = qMin(a.last, b.last);
            if (first > last)
                continue;
            if (a.isBit() && b.isBit() && a.bit != b.bit)
                continue; // two bits of one byte
            MapProblem p{MapProblem::Overlap, b.row, a.row, first, last, a.isBit() && b.isBit() ? a.bit : -1};
            map.problems.append(p);
        }
    }
    for (const VariableSpan &span : byRow) {
        if (span.last >= NByte_IN)
            map.problems.append({MapProblem::PastEnd, span.row, -1, qMax(span.first, NByte_IN), span.last, -1});
    }
    for (qsizetype i = 0; i < named.size(); ++i) {
        const QString name = trimText(table.text(named[i], Var_Name));
        for (qsizetype j = 0; j < i; ++j) {
            if (trimText(table.text(named[j], Var_Name)) == name) {
                map.problems.append({MapProblem::DuplicateName, named[i], named[j], 0, 0, -1});
                break;
            }
        }
    }

    std::stable_sort(map.spans.begin(), map.spans.end(), [](const VariableSpan &a, const VariableSpan &b) {
        if (a.first != b.first)
            return a.first < b.first;
        if (a.bit != b.bit)
            return a.bit < b.bit;
        return a.row < b.row;
    });
    return map;
}

} // namespace mirandel
