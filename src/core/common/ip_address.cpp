#include "core/common/ip_address.h"

#include "core/common/text_rules.h"

namespace mirandel {

bool Split_IP_Address(const QString &text, std::array<QString, 4> &octets)
{
    QString rest = trimText(text);
    for (int k = 0; k < 3; ++k) {
        const qsizetype dot = rest.indexOf(u'.');
        if (dot < 0)
            return false;
        octets[k] = trimText(QStringView(rest).left(dot));
        rest = trimText(QStringView(rest).mid(dot + 1));
    }
    octets[3] = rest;
    for (const QString &octet : octets) {
        const qint32 value = numericTextOr(octet, 1000);
        if (value < 0 || value > 255)
            return false;
    }
    return true;
}

} // namespace mirandel
