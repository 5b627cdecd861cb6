#include "core/common/decimal.h"
#include "core/common/ip_address.h"
#include "core/common/text_rules.h"

#include <gtest/gtest.h>

using namespace mirandel;

namespace {

struct NumericCase {
    const char16_t *text;
    bool isNumber;
    qint32 value;
};

TEST(NumericText, FollowsTheProgramWideRule)
{
    const NumericCase cases[] = {
        {u"0", true, 0},
        {u"455", true, 455},
        {u"010", true, 10},
        {u"  12", true, 12},
        {u"+7", true, 7},
        {u"-1", true, -1},
        {u"2147483647", true, 2147483647},
        {u"-2147483648", true, -2147483647 - 1},
        {u"$1F", true, 31},
        {u"x1f", true, 31},
        {u"X10", true, 16},
        {u"0x1F", true, 31},
        {u"0XFF", true, 255},
        {u"$FFFFFFFF", true, -1},
        {u"-$10", true, -16},
        {u"", false, 0},
        {u" ", false, 0},
        {u"12 ", false, 0},
        {u"1a", false, 0},
        {u"abc", false, 0},
        {u"+", false, 0},
        {u"$", false, 0},
        {u"0x", false, 0},
        {u"2147483648", false, 0},
        {u"-2147483649", false, 0},
        {u"$100000000", false, 0},
        {u"1.5", false, 0},
        {u"\t1", false, 0},
    };
    for (const NumericCase &c : cases) {
        const QString text = QString::fromUtf16(c.text);
        SCOPED_TRACE(text.toStdString());
        const auto value = numericText(text);
        ASSERT_EQ(value.has_value(), c.isNumber);
        if (c.isNumber) {
            EXPECT_EQ(*value, c.value);
        }
    }
    EXPECT_EQ(numericTextOr(u"abc", 1000), 1000);
}

TEST(TrimText, RemovesBlanksAndControlCharactersAtBothEnds)
{
    EXPECT_EQ(trimText(u" \t a b \r\n"), QStringLiteral("a b"));
    EXPECT_EQ(trimText(u"\x01\x1f"), QString());
    EXPECT_TRUE(isBlankText(u"  \t"));
    EXPECT_FALSE(isBlankText(u" x "));
}

struct IpCase {
    const char *text;
    bool valid;
    std::array<const char *, 4> octets;
};

TEST(SplitIpAddress, AcceptsFourOctetsAndRefusesTheRest)
{
    const IpCase cases[] = {
        {"192.168.2.205", true, {"192", "168", "2", "205"}},
        {"  192.168.2.205  ", true, {"192", "168", "2", "205"}},
        {"10.0.0.7", true, {"10", "0", "0", "7"}},
        {"010.0.0.1", true, {"010", "0", "0", "1"}},
        {"192.168.2", false, {}},
        {"192.168.2.256", false, {}},
        {"192.168..1", false, {}},
        {"1.2.3.4.5", false, {}},
        {"", false, {}},
        {"a.b.c.d", false, {}},
    };
    for (const IpCase &c : cases) {
        SCOPED_TRACE(c.text);
        std::array<QString, 4> octets;
        ASSERT_EQ(Split_IP_Address(QString::fromUtf8(c.text), octets), c.valid);
        if (c.valid) {
            for (int i = 0; i < 4; ++i)
                EXPECT_EQ(octets[i], QString::fromUtf8(c.octets[i]));
        }
    }
}

struct FloatCase {
    const char *text;
    char separator;
    bool ok;
    float value;
};

TEST(StrToSingle, AcceptsEitherMarkAndFailsToOne)
{
    const FloatCase cases[] = {
        {"0,5", '.', true, 0.5f},
        {"0.5", ',', true, 0.5f},
        {"0.5", '.', true, 0.5f},
        {"0,5", ',', true, 0.5f},
        {"-2.25", '.', true, -2.25f},
        {"", '.', false, 1.0f},
        {"abc", ',', false, 1.0f},
        {"1.000,5", '.', false, 1.0f},
        {"1.000,5", ',', false, 1.0f},
    };
    for (const FloatCase &c : cases) {
        SCOPED_TRACE(std::string(c.text) + " sep " + c.separator);
        float value = 0.0f;
        EXPECT_EQ(Str_To_Single(QString::fromUtf8(c.text), QLatin1Char(c.separator), value), c.ok);
        EXPECT_EQ(value, c.value);
    }
}

TEST(DecimalSeparator, IsCommaOrPoint)
{
    const QChar sep = Get_Decimal_Separator();
    EXPECT_TRUE(sep == u',' || sep == u'.');
}

} // namespace
