#include "core/common/decimal.h"

#include <QLocale>
#include <cmath>

namespace mirandel {

QChar Get_Decimal_Separator()
{
    const QString point = QLocale::system().decimalPoint();
    if (point == QStringLiteral(",") || point == QStringLiteral("."))
        return point.at(0);
    return u',';
}

bool Str_To_Single(const QString &text, QChar separator, float &value)
{
    QString t = text;
    if (separator == u'.')
        t.replace(u',', u'.');
    else
        t.replace(u'.', separator);
    // With the separator unified, convert with it as the only decimal mark.
    if (separator != u'.')
        t.replace(separator, u'.');
    bool ok = false;
    const double d = QLocale::c().toDouble(t.trimmed(), &ok);
    if (!ok || !std::isfinite(d) || std::fabs(d) > 3.4028234663852886e38) {
        value = 1.0f;
        return false;
    }
    value = float(d);
    return true;
}

} // namespace mirandel
