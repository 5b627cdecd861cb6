// The data block (bank2.bin): layout, addresses, encodings and limits, with
// every expected address and byte written out here.

#include "core/common/text_rules.h"
#include "core/image/image_test_support.h"

using namespace mirandel;
using namespace mirandel::test;

namespace {

using Bytes = std::vector<int>;

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

constexpr int H = 1024; // file offset of the section header

TEST(Bank2, EmptyProjectGivesTheBare1079ByteBlock)
{
    TempProject project;
    project.parGen({{s("IEC61850_Server_Port"), s("102")}});
    const QByteArray b = buildOk(project).bank2;

    QByteArray expected(1079, '\0');
    const auto put32 = [&](int at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            expected[at + i] = char(v >> (8 * i));
    };
    expected[H] = 102;
    put32(H + 6, 0x80436);  // key address: the zero byte that ends the tables
    put32(H + 18, 0x80436); // server certificate
    put32(H + 26, 0x80436); // root certificate
    put32(H + 38, 0x80436); // known-certificate table
    put32(H + 50, 0x80436); // variable table
    EXPECT_EQ(b, expected);
}

TEST(Bank2, OneVariableNamedAb)
{
    TempProject project;
    project.variables({variableRow(s("ab"))});
    const QByteArray b = buildOk(project).bank2;
    ASSERT_EQ(b.size(), 1114);
    EXPECT_EQ(le32(b, H + 6), 0x80456u);  // key address at the tables' zero byte
    EXPECT_EQ(le32(b, H + 38), 0x80436u); // Known_Cert_Add
    EXPECT_EQ(le32(b, H + 46), 1u);       // Var_Number
    EXPECT_EQ(le32(b, H + 50), 0x80436u); // Var_Add
    const int e = 0x436;                  // the entry
    EXPECT_EQ(le32(b, e + 0), 0x80457u);  // Name_Add
    EXPECT_EQ(le32(b, e + 4), 4u);        // no type: integer
    EXPECT_EQ(bytesAt(b, e + 8, 16), Bytes(16, 0));
    EXPECT_EQ(le32(b, e + 24), 0x3F800000u); // no factor: 1.0
    EXPECT_EQ(le32(b, e + 28), 0u);          // operation, options
    EXPECT_EQ(bytesAt(b, 0x456, 4), (Bytes{0, 'a', 'b', 0}));
}

TEST(Bank2, TlsTextsPasswordsKnownCertificatesAndNamesAreLaidOutInOrder)
{
    TempProject project;
    project.parGen({{s("IEC61850_Server_Port"), s("70000")},
                    {s("IEC61850_Server_Password"), s("P\xC3\xA9")},
                    {s("TLS_Server_Enable"), s("1")},
                    {s("TLS_Server_Key"), s("KEY")},
                    {s("TLS_Server_Key_Password"), s("p\xC3\xA9")},
                    {s("TLS_Server_Server_Certificate"), s("SC")},
                    {s("TLS_Server_Root_Certificate"), s("")},
                    {s("TLS_Server_Enable_Known_Cert"), s("1")}});
    project.knownCerts({certRow(s("C1")), certRow(s("\xCE\xA9x"))});
    project.variables({variableRow(s("v"))});
    const QByteArray b = buildOk(project).bank2;

    // Tables end at 0x80400 + 54 + 2 * 8 + 32 = 0x80466; texts from 0x80467.
    ASSERT_EQ(b.size(), 1150);
    EXPECT_EQ(le16(b, H + 0), 0x1170u); // 70000 keeps its low 16 bits
    EXPECT_EQ(le32(b, H + 2), 1u);
    EXPECT_EQ(le32(b, H + 6), 0x80467u);  // key
    EXPECT_EQ(le32(b, H + 10), 3u);
    EXPECT_EQ(le32(b, H + 14), 0x8046Bu); // key password, 3 UTF-8 bytes
    EXPECT_EQ(le32(b, H + 18), 0x8046Fu); // server certificate
    EXPECT_EQ(le32(b, H + 22), 2u);
    EXPECT_EQ(le32(b, H + 26), 0x80466u); // empty root certificate: the tables' zero byte
    EXPECT_EQ(le32(b, H + 30), 0u);
    EXPECT_EQ(le32(b, H + 34), 2u);
    EXPECT_EQ(le32(b, H + 38), 0x80436u);
    EXPECT_EQ(le32(b, H + 42), 0x80472u); // server password, one byte per character
    EXPECT_EQ(le32(b, H + 46), 1u);
    EXPECT_EQ(le32(b, H + 50), 0x80446u);
    EXPECT_EQ(le32(b, 0x436), 0x80475u); // "C1"
    EXPECT_EQ(le32(b, 0x43A), 2u);
    EXPECT_EQ(le32(b, 0x43E), 0x80478u); // Omega + x: 3 UTF-8 bytes
    EXPECT_EQ(le32(b, 0x442), 3u);
    EXPECT_EQ(le32(b, 0x446), 0x8047Cu); // variable name follows from the UTF-8 count
    EXPECT_EQ(b[0x466], '\0');
    EXPECT_EQ(bytesAt(b, 0x467, 23),
              (Bytes{'K', 'E', 'Y', 0, 'p', 0xC3, 0xA9, 0, 'S', 'C', 0, 'P', 0xE9, 0, 'C', '1', 0, 0xCE,
                     0xA9, 'x', 0, 'v', 0}));
}

// The NTP name, the server password and the variable names keep the low 8
// bits of each UTF-16 unit, one byte per unit, and their addresses count units.
TEST(Bank2, ByteTextsKeepTheLowEightBitsOfEachUnit)
{
    TempProject project;
    project.parGen({{s("NTP_Server_URL"), s("\xC3\xA9\xE2\x82\xAC\xCE\xA9")},   // é € Ω
                    {s("IEC61850_Server_Password"), s("\xE2\x82\xAC")}}); // €
    project.variables({variableRow(s("\xC3\xA9\xCE\xA9")), variableRow(s("z"))});
    const QByteArray b = buildOk(project).bank2;
    EXPECT_EQ(bytesAt(b, 0, 4), (Bytes{0xE9, 0xAC, 0xA9, 0}));
    // Tables end at 0x80400 + 54 + 64 = 0x80476.
    EXPECT_EQ(le32(b, H + 42), 0x80477u); // password
    EXPECT_EQ(le32(b, 0x436), 0x80479u);  // first name, after 1 byte + zero
    EXPECT_EQ(le32(b, 0x456), 0x8047Cu);  // second name, after 2 bytes + zero
    EXPECT_EQ(bytesAt(b, 0x476, 8), (Bytes{0, 0xAC, 0, 0xE9, 0xA9, 0, 'z', 0}));
    EXPECT_EQ(b.size(), 0x47E);
}

TEST(Bank2, KnownCertificatesReachTheImageOnlyWithBothFlagsOne)
{
    const struct {
        const char *tls;
        const char *known;
        quint32 count;
    } cases[] = {{"1", "1", 2}, {"01", "$1", 2}, {"0", "1", 0}, {"1", "0", 0}, {"2", "1", 0}, {"", "", 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.tls) + "/" + c.known);
        TempProject project;
        project.parGen({{s("TLS_Server_Enable"), s(c.tls)},
                        {s("TLS_Server_Key"), s("k")},
                        {s("TLS_Server_Enable_Known_Cert"), s(c.known)}});
        project.knownCerts(
            {certRow(s("AAAA")), certRow(s("off"), s("N")), certRow(s("lower"), s("y")), certRow(s("BB"))});
        const QByteArray b = buildOk(project).bank2;
        const quint32 K = c.count;
        EXPECT_EQ(le32(b, H + 2), quint32(numericTextOr(s(c.tls), 0)));
        EXPECT_EQ(le32(b, H + 34), K);
        EXPECT_EQ(le32(b, H + 38), 0x80436u);
        EXPECT_EQ(le32(b, H + 50), 0x80436u + 8 * K);
        // The key is written whatever the flags: right after the tables' zero byte.
        EXPECT_EQ(le32(b, H + 6), 0x80437u + 8 * K);
        const Bytes tail = K ? Bytes{'k', 0, 'A', 'A', 'A', 'A', 0, 'B', 'B', 0} : Bytes{'k', 0};
        EXPECT_EQ(b.size(), 1079 + 8 * int(K) + int(tail.size()));
        EXPECT_EQ(bytesAt(b, 1079 + 8 * K, qint64(tail.size())), tail);
    }
}

TEST(Bank2, VariableFields)
{
    const struct {
        const char *name;
        Pairs attributes;
        quint32 type, position, startBit, length, readOnly;
        quint16 operation, options;
    } cases[] = {
        {"digital bit is stored with length 1",
         {{s("Type"), s("Digital (Bit)")}, {s("Length"), s("16")}, {s("Position"), s("1437")},
          {s("StartBit"), s("7")}},
         2, 1437, 7, 1, 0, 0, 0},
        {"float, read only, both swaps",
         {{s("Type"), s(" float ")}, {s("Length"), s("4")}, {s("ReadOnly"), s(" y")}, {s("Swap"), s("Y")},
          {s("SwapWord"), s("Y")}, {s("Conversion"), s("int to float")}},
         6, 0, 0, 4, 1, 1, 3},
        {"integer, swap words only, float to int",
         {{s("Type"), s("Int")}, {s("Length"), s("2")}, {s("SwapWord"), s("Y")}, {s("Swap"), s("y")},
          {s("Conversion"), s(" Float To Int ")}, {s("ReadOnly"), s("N")}},
         4, 0, 0, 2, 0, 2, 2},
        {"unknown texts give the defaults",
         {{s("Type"), s("Bool")}, {s("Length"), s("x")}, {s("Position"), s("-1")}, {s("Conversion"), s("None")}},
         4, 0xFFFFFFFF, 0, 0, 0, 0, 0},
        {"hexadecimal numbers", {{s("Length"), s("0x4")}, {s("Position"), s("$10")}}, 4, 16, 0, 4, 0, 0, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TempProject project;
        project.variables({variableRow(s("n"), c.attributes)});
        const QByteArray b = buildOk(project).bank2;
        const int e = 0x436;
        EXPECT_EQ(le32(b, e + 4), c.type);
        EXPECT_EQ(le32(b, e + 8), c.position);
        EXPECT_EQ(le32(b, e + 12), c.startBit);
        EXPECT_EQ(le32(b, e + 16), c.length);
        EXPECT_EQ(le32(b, e + 20), c.readOnly);
        EXPECT_EQ(le16(b, e + 28), c.operation);
        EXPECT_EQ(le16(b, e + 30), c.options);
    }
}

TEST(Bank2, MultiplicationFactorUnderBothSeparators)
{
    const struct {
        const char *text;
        quint32 bits;
    } cases[] = {
        {"0,5", 0x3F000000}, {"0.5", 0x3F000000}, {"None", 0x3F800000}, {" none ", 0x3F800000},
        {"abc", 0x3F800000}, {"", 0x3F800000},    {"2", 0x40000000},    {"-1,25", 0xBFA00000},
        {"1.000,5", 0x3F800000}, // two separators once unified: not a number
    };
    for (QChar separator : {QChar(u','), QChar(u'.')}) {
        for (const auto &c : cases) {
            SCOPED_TRACE(std::string("separator ") + char(separator.unicode()) + ", factor '" + c.text + "'");
            TempProject project;
            project.variables({variableRow(s("f"), {{s("MultiplicationFactor"), s(c.text)}})});
            EXPECT_EQ(le32(buildOk(project, separator).bank2, 0x436 + 24), c.bits);
        }
    }
}

TEST(Bank2, OnlyRowsEnabledWithExactlyYAreStoredDensely)
{
    TempProject project;
    project.variables({variableRow(s("a"), {{s("Position"), s("1")}}),
                       {{s("Enable"), s("N")}, {s("Name"), s("off")}, {s("Position"), s("2")}},
                       {{s("Enable"), s("y")}, {s("Name"), s("lower")}},
                       {{s("Name"), s("no enable")}},
                       variableRow(s("c"), {{s("Position"), s("3")}})});
    const QByteArray b = buildOk(project).bank2;
    EXPECT_EQ(le32(b, H + 46), 2u);
    // Two entries, then the zero byte at 0x80476, then "a", "c".
    EXPECT_EQ(le32(b, 0x436 + 0), 0x80477u);
    EXPECT_EQ(le32(b, 0x436 + 8), 1u);
    EXPECT_EQ(le32(b, 0x456 + 0), 0x80479u);
    EXPECT_EQ(le32(b, 0x456 + 8), 3u);
    EXPECT_EQ(bytesAt(b, 0x476, 5), (Bytes{0, 'a', 0, 'c', 0}));
    EXPECT_EQ(b.size(), 0x47B);
}

TEST(Bank2, EmptyNamesAndCertificatesPointWhereTheNextTextBegins)
{
    TempProject project;
    project.parGen({{s("TLS_Server_Enable"), s("1")}, {s("TLS_Server_Enable_Known_Cert"), s("1")}});
    project.knownCerts({{{s("Enable"), s("Y")}}, certRow(s("Z"))});
    project.variables({variableRow(s("")), variableRow(s("q"))});
    const QByteArray b = buildOk(project).bank2;
    // Tables end at 0x80400 + 54 + 16 + 64 = 0x80486.
    EXPECT_EQ(le32(b, 0x436), 0x80487u); // empty certificate: where "Z" begins
    EXPECT_EQ(le32(b, 0x43A), 0u);
    EXPECT_EQ(le32(b, 0x43E), 0x80487u);
    EXPECT_EQ(le32(b, 0x446), 0x80489u); // empty name: where "q" begins
    EXPECT_EQ(le32(b, 0x466), 0x80489u);
    EXPECT_EQ(bytesAt(b, 0x486, 5), (Bytes{0, 'Z', 0, 'q', 0}));
    EXPECT_EQ(b.size(), 0x48B);
}

TEST(Bank2, NtpNameArea)
{
    const struct {
        const char *name;
        QString url;
        qint64 stored; // characters kept before the zero byte
    } cases[] = {
        {"20 characters", QStringLiteral("ntp1.example-net.org"), 20},
        {"1023 characters fit with their zero", QString(1023, u'n'), 1023},
        {"1024 characters keep 1023 and the zero", QString(1024, u'n'), 1023},
        {"1500 characters keep 1023 and the zero", QString(1500, u'n'), 1023},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TempProject project;
        project.parGen({{s("NTP_Server_URL"), c.url}});
        const ConfigurationImage image = buildOk(project);
        EXPECT_EQ(le32(image.bank1, 0x03C), 0x80000u);
        EXPECT_EQ(image.bank2.size(), 1079);
        EXPECT_EQ(image.bank2.left(c.stored), c.url.left(c.stored).toLatin1());
        EXPECT_EQ(image.bank2.mid(c.stored, 1024 - c.stored), QByteArray(1024 - c.stored, '\0'));
    }
}

TEST(Bank2, ADataBlockBeyondItsCapacityStopsTheBuild)
{
    // With TLS off the block is 1079 bytes plus the key and its zero byte.
    const struct {
        qint64 keyLength;
        qint64 needed; // 0: fits
    } cases[] = {{523208, 0}, {523209, 524289}, {600000, 601080}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.keyLength);
        TempProject project;
        project.parGen({{s("TLS_Server_Key"), QString(c.keyLength, u'k')}});
        const ImageBuildResult result = Build_Image(project.sources(), u',');
        if (c.needed == 0) {
            ASSERT_TRUE(result.ok());
            EXPECT_EQ(result.image.bank2.size(), 524288);
            EXPECT_EQ(result.image.bank2.back(), '\0');
            continue;
        }
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.error.kind, ImageError::Capacity);
        EXPECT_EQ(result.error.needed, c.needed);
        EXPECT_EQ(result.error.limit, 524288);
        EXPECT_TRUE(result.error.message.contains(QString::number(c.needed)));
        EXPECT_TRUE(result.error.message.contains(QStringLiteral("524288")));
        EXPECT_TRUE(result.image.bank1.isEmpty());
        EXPECT_TRUE(result.image.bank2.isEmpty());
    }

    // Ten known certificates of 60000 bytes each.
    TempProject project;
    project.parGen({{s("TLS_Server_Enable"), s("1")}, {s("TLS_Server_Enable_Known_Cert"), s("1")}});
    QList<Pairs> rows;
    for (int i = 0; i < 10; ++i)
        rows.append(certRow(QString(60000, QChar(u'a' + i))));
    project.knownCerts(rows);
    const ImageBuildResult result = Build_Image(project.sources(), u',');
    ASSERT_EQ(result.error.kind, ImageError::Capacity);
    EXPECT_EQ(result.error.needed, 1024 + 54 + 80 + 1 + 10 * 60001);
}

TEST(Bank2, WriteIEC61850SectionLeavesTheBlockAloneWhenItDoesNotFit)
{
    TIEC61850 record;
    record.TLS_Data.key = QString(100, u'k');
    QByteArray block(1024, 'x');
    qint64 needed = 0;
    EXPECT_EQ(Write_IEC61850_Section(record, 0x80400, 1024, block, 1024 + 150, &needed), -1);
    EXPECT_EQ(needed, 1024 + 55 + 101);
    EXPECT_EQ(block, QByteArray(1024, 'x'));
    EXPECT_EQ(Write_IEC61850_Section(record, 0x80400, 1024, block, 1024 + 155, &needed), 1024 + 156);
}

TEST(Bank2, ProjectFilesThatAreNotXmlStopTheBuild)
{
    const QByteArray bad = "<Par_Gen><a></Par_Gen>";
    pugi::xml_document doc;
    const QString parserMessage = parseXml(bad, doc).describe();
    ASSERT_FALSE(parserMessage.isEmpty());
    for (const char *name : {"ParGen.xml", "IEC61850_Variables.xml", "TLS_Known_Cert.xml"}) {
        SCOPED_TRACE(name);
        TempProject project;
        project.raw(s(name), bad);
        const ImageBuildResult result = Build_Image(project.sources(), u',');
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.error.kind, ImageError::Malformed);
        EXPECT_EQ(result.error.file, project.file(s(name)));
        EXPECT_EQ(result.error.message, parserMessage);
        EXPECT_TRUE(result.error.describe().contains(s(name)));
        EXPECT_TRUE(result.image.bank1.isEmpty());
    }

    TempProject empty;
    empty.raw(s("ParGen.xml"), QByteArray());
    EXPECT_EQ(Build_Image(empty.sources(), u',').error.kind, ImageError::Malformed);

    TempProject folder;
    ASSERT_TRUE(QDir(folder.dir()).mkdir(s("TLS_Known_Cert.xml")));
    const ImageBuildResult result = Build_Image(folder.sources(), u',');
    EXPECT_EQ(result.error.kind, ImageError::Unreadable);
    EXPECT_EQ(result.error.file, folder.file(s("TLS_Known_Cert.xml")));
}

} // namespace
