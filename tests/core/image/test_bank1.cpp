// The parameter block (bank1.bin): every expected byte is written out here at
// its offset, independently of the builder.

#include "core/image/image_test_support.h"

using namespace mirandel;
using namespace mirandel::test;

namespace {

using Bytes = std::vector<int>;

// The sum of bytes 0x000..0x7FB stored little-endian at 0x7FC.
void expectChecksumHolds(const QByteArray &bank1)
{
    ASSERT_EQ(bank1.size(), 2048);
    quint32 sum = 0;
    for (int i = 0; i < 0x7FC; ++i)
        sum += quint8(bank1[i]);
    EXPECT_EQ(le32(bank1, 0x7FC), sum);
}

QByteArray bank1Of(const Pairs &parGen)
{
    TempProject project;
    project.parGen(parGen);
    const QByteArray bank1 = buildOk(project).bank1;
    expectChecksumHolds(bank1);
    return bank1;
}

TEST(Bank1, WithoutParGenHoldsOnlyTheResetValues)
{
    TempProject project; // no file at all
    const ConfigurationImage image = buildOk(project);

    QByteArray expected(2048, '\0');
    const auto set = [&](int offset, Bytes bytes) {
        for (int b : bytes)
            expected[offset++] = char(b);
    };
    set(0x000, {0x90, 0xD0, 0x03, 0x00}); // 250000
    set(0x004, {0x90, 0xD0, 0x03, 0x00}); // 250000
    set(0x00C, {0x80, 0x25, 0x00, 0x00}); // 9600
    set(0x028, {192, 168, 2, 205});
    set(0x02C, {255, 255, 255, 0});
    set(0x030, {255, 255, 255, 255});
    set(0x034, {0x10, 0x27}); // 10000
    set(0x036, {0x11, 0x27}); // 10001
    set(0x038, {0x11, 0x27}); // 10001
    set(0x1B4, {8, 8, 8, 8, 8, 8, 8, 8});
    set(0x5E8, {0x00, 0x04, 0x08, 0x00}); // 0x80400
    set(0x7FC, {0x8E, 0x0D, 0x00, 0x00}); // checksum 3470
    EXPECT_EQ(image.bank1, expected);
    EXPECT_EQ(le32(image.bank1, 0x7FC), 3470u);
}

TEST(Bank1, AnEmptyParameterElementGivesEveryElementDefault)
{
    const QByteArray b = bank1Of({});
    EXPECT_EQ(le32(b, 0x000), 500000u);
    EXPECT_EQ(le32(b, 0x004), 250000u);
    EXPECT_EQ(le32(b, 0x00C), 9600u);
    EXPECT_EQ(le32(b, 0x01C), 10u);
    EXPECT_EQ(bytesAt(b, 0x028, 4), (Bytes{192, 168, 0, 10}));
    EXPECT_EQ(bytesAt(b, 0x02C, 4), (Bytes{255, 255, 255, 0}));
    EXPECT_EQ(bytesAt(b, 0x030, 4), (Bytes{255, 255, 255, 255})); // no enable element: off
    EXPECT_EQ(le32(b, 0x03C), 0u);
    EXPECT_EQ(le32(b, 0x040), 1000u);
    EXPECT_EQ(le32(b, 0x074), 455u);
    EXPECT_EQ(le32(b, 0x078), 455u);
    EXPECT_EQ(le16(b, 0x4E8), 0u);
    EXPECT_EQ(bytesAt(b, 0x514, 32), Bytes(32, 0));
    EXPECT_EQ(bytesAt(b, 0x53C, 4), Bytes(4, 0));
    EXPECT_EQ(bytesAt(b, 0x574, 16), (Bytes{'G', 'a', 't', 'e', 'w', 'a', 'y', 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(bytesAt(b, 0x58C, 4), Bytes(4, 0));
    EXPECT_EQ(le32(b, 0x5E8), 0x80400u);
    EXPECT_EQ(bytesAt(b, 0x66C, 8), (Bytes{'1', '.', '0', '0', '0', 0, 0, 0}));
}

struct FieldCase {
    const char *name;
    Pairs parGen;
    int offset;
    Bytes expected;
};

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

TEST(Bank1, FieldsFromParGen)
{
    const QString twenty = QStringLiteral("ABCDEFGHIJKLMNOPQRST");
    const QString forty = QString(40, u'h');
    const FieldCase cases[] = {
        {"IP octets", {{s("IEC61850_Server_IP1"), s("10")}, {s("IEC61850_Server_IP2"), s("0x14")},
                       {s("IEC61850_Server_IP3"), s("30")}, {s("IEC61850_Server_IP4"), s("300")}},
         0x028, {10, 20, 30, 44}},
        {"octet that is not a number takes its default, not the fallback",
         {{s("IEC61850_Server_IP1"), s("abc")}, {s("Ethernet_IP1"), s("7")}}, 0x028, {192, 168, 0, 10}},
        {"mask octets", {{s("IEC61850_Server_SM3"), s("0")}}, 0x02C, {255, 255, 0, 0}},
        {"gateway enabled", {{s("IEC61850_Server_EN_GAT"), s("1")}, {s("IEC61850_Server_GAT4"), s("254")}},
         0x030, {192, 168, 0, 254}},
        {"gateway disabled", {{s("IEC61850_Server_EN_GAT"), s("0")}, {s("IEC61850_Server_GAT1"), s("10")}},
         0x030, {255, 255, 255, 255}},
        {"gateway flag ' 1' is off", {{s("IEC61850_Server_EN_GAT"), s(" 1")}}, 0x030, {255, 255, 255, 255}},
        {"gateway flag '01' is off", {{s("IEC61850_Server_EN_GAT"), s("01")}}, 0x030, {255, 255, 255, 255}},
        {"gateway flag from Ethernet_EN_GAT", {{s("Ethernet_EN_GAT"), s("1")}, {s("Ethernet_GAT1"), s("172")}},
         0x030, {172, 168, 0, 1}},
        {"IEC61850_Server_EN_GAT wins over Ethernet_EN_GAT",
         {{s("IEC61850_Server_EN_GAT"), s("0")}, {s("Ethernet_EN_GAT"), s("1")}}, 0x030, {255, 255, 255, 255}},
        {"DNS disabled: primary zero", {{s("Eth_Conn_Enable_DNS"), s("0")}, {s("Eth_Conn_Primary_DNS1"), s("1")}},
         0x58C, {0, 0, 0, 0}},
        {"DNS disabled: secondary zero",
         {{s("Eth_Conn_Enable_DNS"), s("0")}, {s("Eth_Conn_Secondary_DNS1"), s("1")}}, 0x53C, {0, 0, 0, 0}},
        {"DNS flag '01' is off", {{s("Eth_Conn_Enable_DNS"), s("01")}, {s("Eth_Conn_Primary_DNS1"), s("1")}},
         0x58C, {0, 0, 0, 0}},
        {"DNS flag ' 1' is off", {{s("Eth_Conn_Enable_DNS"), s(" 1")}}, 0x53C, {0, 0, 0, 0}},
        {"DNS flag only from Eth_Conn_Enable_DNS",
         {{s("IEC61850_Server_EN_DNS"), s("1")}, {s("IEC61850_Server_DNS1"), s("1")}}, 0x58C, {0, 0, 0, 0}},
        {"DNS enabled: primary", {{s("Eth_Conn_Enable_DNS"), s("1")}, {s("Eth_Conn_Primary_DNS1"), s("1")},
                                  {s("Eth_Conn_Primary_DNS2"), s("2")}, {s("Eth_Conn_Primary_DNS3"), s("3")},
                                  {s("Eth_Conn_Primary_DNS4"), s("4")}},
         0x58C, {1, 2, 3, 4}},
        {"DNS enabled: primary defaults", {{s("Eth_Conn_Enable_DNS"), s("1")}}, 0x58C, {8, 8, 8, 8}},
        {"DNS enabled: secondary defaults", {{s("Eth_Conn_Enable_DNS"), s("1")}}, 0x53C, {8, 8, 4, 4}},
        {"DNS enabled: secondary", {{s("Eth_Conn_Enable_DNS"), s("1")}, {s("Eth_Conn_Secondary_DNS4"), s("9")}},
         0x53C, {8, 8, 4, 9}},
        {"baud index 0", {{s("DNETS_BAUDRATE"), s("0")}}, 0x000, {0x48, 0xE8, 0x01, 0x00}},
        {"baud index 1", {{s("DNETS_BAUDRATE"), s("1")}}, 0x000, {0x90, 0xD0, 0x03, 0x00}},
        {"baud index 2", {{s("DNETS_BAUDRATE"), s("2")}}, 0x000, {0x20, 0xA1, 0x07, 0x00}},
        {"baud index 7", {{s("DNETS_BAUDRATE"), s("7")}}, 0x000, {0x20, 0xA1, 0x07, 0x00}},
        {"baud index -1", {{s("DNETS_BAUDRATE"), s("-1")}}, 0x000, {0x20, 0xA1, 0x07, 0x00}},
        {"node address hex", {{s("DNETS_ID_DEV"), s("$3F")}}, 0x01C, {63, 0, 0, 0}},
        {"node address not a number", {{s("DNETS_ID_DEV"), s("abc")}}, 0x01C, {10, 0, 0, 0}},
        {"input bytes", {{s("DNETS_NB_IN"), s("300")}}, 0x074, {0x2C, 0x01, 0, 0}},
        {"output bytes", {{s("DNETS_NB_OUT"), s("0")}}, 0x078, {0, 0, 0, 0}},
        {"poll time", {{s("NTP_Poll_Time"), s("10000000")}}, 0x040, {0x80, 0x96, 0x98, 0x00}},
        {"poll time empty", {{s("NTP_Poll_Time"), s("")}}, 0x040, {0xE8, 0x03, 0, 0}},
        {"NTP name address", {{s("NTP_Server_URL"), s("pool.ntp.org")}}, 0x03C, {0x00, 0x00, 0x08, 0x00}},
        {"NTP name empty", {{s("NTP_Server_URL"), s("")}}, 0x03C, {0, 0, 0, 0}},
        {"DHCP on", {{s("Eth_Conn_DHCP_Cable"), s("1")}}, 0x4E8, {1, 0}},
        {"DHCP '01' is off", {{s("Eth_Conn_DHCP_Cable"), s("01")}}, 0x4E8, {0, 0}},
        {"server name of 20 characters",
         {{s("IEC61850_Server_Name_Of_Server"), twenty}}, 0x574,
         {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N', 'O', 0}},
        {"server name empty", {{s("IEC61850_Server_Name_Of_Server"), s("")}}, 0x574, Bytes(16, 0)},
        {"server name keeps the low 8 bits", {{s("IEC61850_Server_Name_Of_Server"), s("\xC3\xA9\xE2\x82\xAC")}},
         0x574, {0xE9, 0xAC, 0, 0}},
        {"device name", {{s("Eth_Conn_Device_Name"), s("gw-1")}}, 0x514, {'g', 'w', '-', '1', 0}},
        {"device name cut after 31", {{s("Eth_Conn_Device_Name"), forty}}, 0x530, {'h', 'h', 'h', 0}},
    };
    for (const FieldCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(bytesAt(bank1Of(c.parGen), c.offset, qint64(c.expected.size())), c.expected);
    }
}

TEST(Bank1, EthernetFallbackNamesGiveTheSameAddressFields)
{
    const QStringList endings = {QStringLiteral("IP1"), QStringLiteral("IP2"), QStringLiteral("IP3"),
                                 QStringLiteral("IP4"), QStringLiteral("SM1"), QStringLiteral("SM2"),
                                 QStringLiteral("SM3"), QStringLiteral("SM4"), QStringLiteral("GAT1"),
                                 QStringLiteral("GAT2"), QStringLiteral("GAT3"), QStringLiteral("GAT4"),
                                 QStringLiteral("EN_GAT")};
    const QStringList values = {QStringLiteral("10"), QStringLiteral("1"),   QStringLiteral("2"),
                                QStringLiteral("3"),  QStringLiteral("255"), QStringLiteral("255"),
                                QStringLiteral("0"),  QStringLiteral("0"),   QStringLiteral("10"),
                                QStringLiteral("1"),  QStringLiteral("2"),   QStringLiteral("254"),
                                QStringLiteral("1")};
    Pairs primary, fallback;
    for (int i = 0; i < endings.size(); ++i) {
        primary.append({QStringLiteral("IEC61850_Server_") + endings[i], values[i]});
        fallback.append({QStringLiteral("Ethernet_") + endings[i], values[i]});
    }
    const QByteArray a = bank1Of(primary);
    const QByteArray b = bank1Of(fallback);
    EXPECT_EQ(bytesAt(a, 0x028, 12), (Bytes{10, 1, 2, 3, 255, 255, 0, 0, 10, 1, 2, 254}));
    EXPECT_EQ(a, b);

    // Where both are present the IEC61850_Server_ element wins.
    Pairs both = fallback;
    both.append({QStringLiteral("IEC61850_Server_IP1"), QStringLiteral("99")});
    EXPECT_EQ(bytesAt(bank1Of(both), 0x028, 1), Bytes{99});
}

TEST(Bank1, ACommentBeforeTheRootReadsEveryElementAsMissing)
{
    TempProject project;
    project.raw(QStringLiteral("ParGen.xml"),
                "<!--first--><Par_Gen><DNETS_ID_DEV>5</DNETS_ID_DEV>"
                "<IEC61850_Server_Name_Of_Server>X</IEC61850_Server_Name_Of_Server></Par_Gen>");
    const QByteArray b = buildOk(project).bank1;
    EXPECT_EQ(le32(b, 0x01C), 10u);
    EXPECT_EQ(bytesAt(b, 0x574, 8), (Bytes{'G', 'a', 't', 'e', 'w', 'a', 'y', 0}));
    EXPECT_EQ(bytesAt(b, 0x66C, 6), (Bytes{'1', '.', '0', '0', '0', 0}));
    expectChecksumHolds(b);
}

} // namespace
