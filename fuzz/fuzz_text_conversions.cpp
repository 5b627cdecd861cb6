// The conversions of typed and stored texts: the numeric-text rule, the
// dotted IP address split and the float conversion, over any text.

#include "core/common/decimal.h"
#include "core/common/ip_address.h"
#include "core/common/text_rules.h"
#include "fuzz_support.h"

using namespace mirandel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(fuzz::bytes(data, size));
    if (const std::optional<qint32> n = numericText(text)) {
        // A decimal result written back reads the same.
        FUZZ_ASSERT(numericText(QString::number(*n)) == n);
    }
    std::array<QString, 4> octets;
    if (Split_IP_Address(text, octets)) {
        for (const QString &o : octets)
            FUZZ_ASSERT(!o.contains(u'.'));
    }
    for (QChar separator : {u'.', u','}) {
        float value = 0;
        Str_To_Single(text, separator, value);
    }
    FUZZ_ASSERT(trimText(trimText(text)) == trimText(text));
    return 0;
}
