#include "core/params/par_gen.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include "test_files.h"

using namespace mirandel;
using mirandel::test::readAll;
using mirandel::test::writeAll;

namespace {

QString fixture(const char *name)
{
    return QStringLiteral(MIRANDEL_FIXTURES "/params/") + QString::fromUtf8(name);
}

ParGen parse(const QByteArray &xml)
{
    pugi::xml_document doc;
    const XmlLoadResult result = parseXml(xml, doc);
    EXPECT_TRUE(result.ok()) << result.describe().toStdString();
    return readParGen(doc);
}

QStringList storedTexts(const ParGen &values)
{
    QStringList list;
    for (int row = 0; row < Par_Count; ++row)
        list.append(values.storedText(row));
    return list;
}

QStringList split(const char *commaSeparated)
{
    return QString::fromUtf8(commaSeparated).split(QLatin1Char(','));
}

// Rows in file order: IP, SM, GAT, EN_GAT, port, password, name, host,
// DHCP cable, DHCP Wi-Fi, DNS on, primary DNS, secondary DNS, TLS on, key,
// key password, server cert, root cert, known certs, node, baud, in, out,
// NTP server, poll time.
const char *const kFileMissing =
    "192,168,0,10,255,255,255,0,192,168,0,1,0,102,,Gateway,,0,0,0,8,8,8,8,8,8,8,8,0,,,,,0,10,2,455,455,,";
const char *const kElementMissing =
    "192,168,0,10,255,255,255,0,192,168,0,1,0,102,,Gateway,,0,0,0,8,8,8,8,8,8,4,4,0,,,,,0,10,2,455,455,,";

TEST(ParGenLoad, MissingFileGivesTheDefaultsWithoutError)
{
    QTemporaryDir dir;
    ParGen values = ParGen::elementMissing();
    const XmlLoadResult result = loadParGen(dir.filePath(QStringLiteral("ParGen.xml")), values);
    EXPECT_EQ(result.status, XmlLoadResult::Missing);
    EXPECT_EQ(storedTexts(values), split(kFileMissing));
}

TEST(ParGenLoad, MissingElementsAndAMisplacedRootReadAsElementDefaults)
{
    // An empty Par_Gen and a file whose first node is a comment both read
    // every element as missing; the secondary DNS then defaults to 8.8.4.4.
    EXPECT_EQ(storedTexts(parse("<Par_Gen/>")), split(kElementMissing));
    EXPECT_EQ(storedTexts(parse("<!--note--><Par_Gen><IEC61850_Server_IP1>1</IEC61850_Server_IP1>"
                                "<Eth_Conn_Secondary_DNS3>9</Eth_Conn_Secondary_DNS3></Par_Gen>")),
              split(kElementMissing));
    // The root's name is not checked.
    EXPECT_EQ(parse("<Other><IEC61850_Server_IP1>1</IEC61850_Server_IP1></Other>").text(Par_IEC61850_Server_IP1),
              QStringLiteral("1"));
}

struct ReadCase {
    const char *body; // children of Par_Gen
    int row;
    const char *stored;
};

TEST(ParGenLoad, FallbacksConversionsAndPrecedence)
{
    const ReadCase cases[] = {
        // Ethernet_ fallbacks of rows 1-13; the real element wins.
        {"<Ethernet_IP1>7</Ethernet_IP1>", Par_IEC61850_Server_IP1, "7"},
        {"<Ethernet_IP1>7</Ethernet_IP1><IEC61850_Server_IP1>5</IEC61850_Server_IP1>", Par_IEC61850_Server_IP1, "5"},
        {"<Ethernet_SM4>128</Ethernet_SM4>", Par_IEC61850_Server_SM4, "128"},
        {"<Ethernet_GAT2>3</Ethernet_GAT2>", Par_IEC61850_Server_GAT2, "3"},
        {"<Ethernet_EN_GAT>1</Ethernet_EN_GAT>", Par_IEC61850_Server_EN_GAT, "1"},
        {"<Ethernet_EN_GAT>1</Ethernet_EN_GAT><IEC61850_Server_EN_GAT>0</IEC61850_Server_EN_GAT>",
         Par_IEC61850_Server_EN_GAT, "0"},
        // A present but empty element is an empty text, not the fallback.
        {"<IEC61850_Server_IP1/><Ethernet_IP1>7</Ethernet_IP1>", Par_IEC61850_Server_IP1, ""},
        {"<IEC61850_Server_Port></IEC61850_Server_Port>", Par_IEC61850_Server_Port, ""},
        // DNS fallbacks; the Eth_Conn_ elements win wherever they stand.
        {"<IEC61850_Server_DNS1>1</IEC61850_Server_DNS1>", Par_Eth_Conn_Primary_DNS1, "1"},
        {"<Eth_Conn_Primary_DNS1>2</Eth_Conn_Primary_DNS1><IEC61850_Server_DNS1>1</IEC61850_Server_DNS1>",
         Par_Eth_Conn_Primary_DNS1, "2"},
        {"<IEC61850_Server_EN_DNS>1</IEC61850_Server_EN_DNS>", Par_Eth_Conn_Enable_DNS, "1"},
        {"<Eth_Conn_Enable_DNS>0</Eth_Conn_Enable_DNS><IEC61850_Server_EN_DNS>1</IEC61850_Server_EN_DNS>",
         Par_Eth_Conn_Enable_DNS, "0"},
        // Flags of the file are exactly "1"; the TLS switches convert numerically.
        {"<IEC61850_Server_EN_GAT>01</IEC61850_Server_EN_GAT>", Par_IEC61850_Server_EN_GAT, "0"},
        {"<IEC61850_Server_EN_GAT> 1</IEC61850_Server_EN_GAT>", Par_IEC61850_Server_EN_GAT, "0"},
        {"<Eth_Conn_DHCP_Cable>01</Eth_Conn_DHCP_Cable>", Par_Eth_Conn_DHCP_Cable, "0"},
        {"<Eth_Conn_DHCP_Cable>1</Eth_Conn_DHCP_Cable>", Par_Eth_Conn_DHCP_Cable, "1"},
        {"<TLS_Server_Enable>01</TLS_Server_Enable>", Par_TLS_Server_Enable, "1"},
        {"<TLS_Server_Enable> 1</TLS_Server_Enable>", Par_TLS_Server_Enable, "1"},
        {"<TLS_Server_Enable>2</TLS_Server_Enable>", Par_TLS_Server_Enable, "0"},
        {"<TLS_Server_Enable_Known_Cert>0x1</TLS_Server_Enable_Known_Cert>", Par_TLS_Server_Enable_Known_Cert, "1"},
        {"<TLS_Server_Enable_Known_Cert>yes</TLS_Server_Enable_Known_Cert>", Par_TLS_Server_Enable_Known_Cert, "0"},
        // Wi-Fi DHCP is never read.
        {"<Eth_Conn_DHCP_WiFi>1</Eth_Conn_DHCP_WiFi>", Par_Eth_Conn_DHCP_WiFi, "0"},
        // Baud rate: not a number gives 500K, an index without an item none.
        {"<DNETS_BAUDRATE>abc</DNETS_BAUDRATE>", Par_DNETS_BAUDRATE, "2"},
        {"<DNETS_BAUDRATE>0</DNETS_BAUDRATE>", Par_DNETS_BAUDRATE, "0"},
        {"<DNETS_BAUDRATE>7</DNETS_BAUDRATE>", Par_DNETS_BAUDRATE, "-1"},
        // Texts are verbatim, blanks and line breaks included.
        {"<IEC61850_Server_Password>  </IEC61850_Server_Password>", Par_IEC61850_Server_Password, "  "},
        {"<NTP_Poll_Time> 0x10</NTP_Poll_Time>", Par_NTP_Poll_Time, " 0x10"},
        {"<TLS_Server_Key>a\r\nb</TLS_Server_Key>", Par_TLS_Server_Key, "a\nb"},
    };
    for (const ReadCase &c : cases) {
        SCOPED_TRACE(c.body);
        const ParGen values = parse(QByteArray("<Par_Gen>") + c.body + "</Par_Gen>");
        EXPECT_EQ(values.storedText(c.row), QString::fromUtf8(c.stored));
    }
}

TEST(ParGenLoad, BaudIndexWithoutItemIsKeptUntilSaved)
{
    const ParGen values = parse("<Par_Gen><DNETS_BAUDRATE>7</DNETS_BAUDRATE></Par_Gen>");
    EXPECT_EQ(values.itemIndex(Par_DNETS_BAUDRATE), 7);
    EXPECT_EQ(values.storedText(Par_DNETS_BAUDRATE), QStringLiteral("-1"));
}

TEST(ParGenSave, RewritesTheWholeFileInTableOrder)
{
    // An old file with fallback elements, an unknown element, Wi-Fi DHCP on,
    // a baud index without an item and a multi-line key: the saved file holds
    // the 40 elements in order then the comment, byte for byte.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ParGen.xml"));
    ASSERT_TRUE(QFile::copy(fixture("legacy_par_gen.xml"), path));
    ParGen values;
    ASSERT_TRUE(loadParGen(path, values).ok());
    QString error;
    ASSERT_TRUE(saveParGen(values, path, &error)) << error.toStdString();

    const QByteArray expected = readAll(fixture("legacy_par_gen_saved.xml"));
    const QByteArray saved = readAll(path);
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(saved.size(), expected.size());
    EXPECT_EQ(saved.toStdString(), expected.toStdString());

    // And it reads back to the same stored texts.
    ParGen again;
    ASSERT_TRUE(loadParGen(path, again).ok());
    EXPECT_EQ(storedTexts(again), storedTexts(values));
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".bad")));
}

TEST(ParGenSave, WiFiDhcpIsAlwaysWrittenOff)
{
    ParGen values = ParGen::fileMissing();
    values.setFlag(Par_Eth_Conn_DHCP_WiFi, true);
    pugi::xml_document doc;
    buildParGenDocument(values, doc);
    EXPECT_STREQ(doc.first_child().child("Eth_Conn_DHCP_WiFi").child_value(), "0");
}

TEST(ParGenLoad, MalformedFileReportsWhereAndKeepsACopyOnSave)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ParGen.xml"));
    const QByteArray broken("<Par_Gen>\n<IEC61850_Server_IP1>10</IEC61850_Server_IP1>\n<DNETS_ID_DEV>5</Par_Gen>");
    writeAll(path, broken);

    ParGen values;
    const XmlLoadResult result = loadParGen(path, values);
    EXPECT_EQ(result.status, XmlLoadResult::Malformed);
    EXPECT_TRUE(result.describe().contains(QStringLiteral("line 3"))) << result.describe().toStdString();
    EXPECT_EQ(storedTexts(values), split(kFileMissing));

    QString error;
    ASSERT_TRUE(saveParGen(values, path, &error, true)) << error.toStdString();
    EXPECT_EQ(readAll(path + QStringLiteral(".bad")), broken);
    ParGen again;
    EXPECT_TRUE(loadParGen(path, again).ok());
}

TEST(ParGenSave, FailureNamesTheReason)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("no-such-folder/ParGen.xml"));
    QString error;
    EXPECT_FALSE(saveParGen(ParGen::fileMissing(), path, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
