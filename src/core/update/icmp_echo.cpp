#include "core/update/icmp_echo.h"

#include <QStringList>

namespace mirandel {

std::optional<std::array<quint8, 4>> parseIpv4Address(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return std::nullopt;
    std::array<quint8, 4> octets{};
    for (int i = 0; i < 4; ++i) {
        const QString &part = parts[i];
        if (part.isEmpty() || part.size() > 3)
            return std::nullopt;
        int value = 0;
        for (const QChar c : part) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return std::nullopt;
            value = value * 10 + (c.unicode() - '0');
        }
        if (value > 255)
            return std::nullopt;
        octets[size_t(i)] = quint8(value);
    }
    return octets;
}

} // namespace mirandel
