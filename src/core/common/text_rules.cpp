#include "core/common/text_rules.h"

namespace mirandel {

namespace {

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

} // namespace

std::optional<qint32> numericText(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i >= n)
        return std::nullopt;

    bool hex = false;
    if (text[i] == u'$' || text[i] == u'x' || text[i] == u'X') {
        hex = true;
        ++i;
    } else if (text[i] == u'0' && i + 1 < n && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        hex = true;
        i += 2;
    }
    if (i >= n)
        return std::nullopt;

    if (hex) {
        quint64 value = 0;
        for (; i < n; ++i) {
            const int d = hexDigit(text[i]);
            if (d < 0)
                return std::nullopt;
            value = value * 16 + quint64(d);
            if (value > 0xFFFFFFFFull)
                return std::nullopt;
        }
        quint32 bits = quint32(value);
        if (negative)
            bits = 0u - bits;
        return qint32(bits);
    }

    qint64 value = 0;
    for (; i < n; ++i) {
        const char16_t u = text[i].unicode();
        if (u < u'0' || u > u'9')
            return std::nullopt;
        value = value * 10 + (u - u'0');
        if (value > 2147483648LL)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > 2147483647LL || value < -2147483648LL)
        return std::nullopt;
    return qint32(value);
}

qint32 numericTextOr(QStringView text, qint32 fallback)
{
    return numericText(text).value_or(fallback);
}

QStringView trimTextView(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 32)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

QString trimText(QStringView text)
{
    return trimTextView(text).toString();
}

bool isBlankText(QStringView text)
{
    for (QChar c : text) {
        if (c.unicode() > 32)
            return false;
    }
    return true;
}

QString withLineBreaks(QStringView text, QStringView lineBreak)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out += lineBreak;
        } else if (c == u'\n') {
            out += lineBreak;
        } else {
            out += c;
        }
    }
    return out;
}

QString keepLineBreakStyle(QStringView before, QStringView edited, QStringView newTextBreak)
{
    QStringView style = newTextBreak;
    if (before.contains(u"\r\n"))
        style = u"\r\n";
    else if (before.contains(u'\n'))
        style = u"\n";
    else if (before.contains(u'\r'))
        style = u"\r";
    return withLineBreaks(edited, style);
}

} // namespace mirandel
