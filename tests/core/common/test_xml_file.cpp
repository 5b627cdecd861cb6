#include "core/common/xml_file.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace mirandel;

namespace {

QByteArray b(const char *s)
{
    return QByteArray(s);
}

struct MalformedCase {
    const char *name;
    QByteArray data;
    int line;
    int column;
    const char *reason; // part of the message
};

void PrintTo(const MalformedCase &c, std::ostream *os)
{
    *os << c.name;
}

class MalformedXml : public testing::TestWithParam<MalformedCase> {};

// Every document here is refused by a conforming XML 1.0 parser.
TEST_P(MalformedXml, IsRefusedWithLineColumnAndReason)
{
    const MalformedCase &c = GetParam();
    pugi::xml_document doc;
    const XmlLoadResult r = parseXml(c.data, doc);
    EXPECT_EQ(r.status, XmlLoadResult::Malformed);
    EXPECT_EQ(r.line, c.line) << r.describe().toStdString();
    EXPECT_EQ(r.column, c.column) << r.describe().toStdString();
    EXPECT_TRUE(r.message.contains(QString::fromUtf8(c.reason), Qt::CaseInsensitive)) << r.describe().toStdString();
    EXPECT_TRUE(r.describe().contains(QStringLiteral("at line %1, column %2").arg(c.line).arg(c.column)));
    EXPECT_FALSE(doc.first_child()) << "nothing of a refused file is kept";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedXml,
    testing::Values(MalformedCase{"two_roots", b("<Par_Gen>x</Par_Gen><Other/>"), 1, 28, "extra content"},
                    MalformedCase{"text_after_root", b("<Par_Gen>x</Par_Gen>\ntail"), 2, 1, "extra content"},
                    MalformedCase{"undefined_entity", b("<Par_Gen>\n<A>&nbsp;</A></Par_Gen>"), 2, 9, "nbsp"},
                    MalformedCase{"lone_ampersand", b("<Par_Gen><A>a & b</A></Par_Gen>"), 1, 16, ""},
                    MalformedCase{"lt_in_attribute", b("<T>\n<row Name=\"a<b\"/></T>"), 2, 13, "<"},
                    MalformedCase{"duplicate_attribute", b("<T><row Name=\"a\" Name=\"b\"/></T>"), 1, 27, "redefined"},
                    // A Windows-1252 "é" typed by a plain-text editor into a UTF-8 file.
                    MalformedCase{"windows1252_byte_in_utf8", b("<Par_Gen>\n<A>caf\xE9</A></Par_Gen>"), 2, 7,
                                  "0xE9 is not valid UTF-8"},
                    MalformedCase{"truncated_utf8_sequence", b("<A>\xE2\x82</A>"), 1, 4, "not valid UTF-8"},
                    MalformedCase{"overlong_utf8", b("<A>\xC0\xBC</A>"), 1, 4, "not valid UTF-8"},
                    MalformedCase{"utf8_surrogate", b("<A>\xED\xA0\x80</A>"), 1, 4, "not valid UTF-8"},
                    MalformedCase{"undefined_windows1252_byte",
                                  b("<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<A>\x81</A>"), 2, 4,
                                  "0x81 is not a Windows-1252 character"},
                    MalformedCase{"ascii_declared_high_byte",
                                  b("<?xml version=\"1.0\" encoding=\"US-ASCII\"?><A>\xE9</A>"), 1, 45, "not US-ASCII"},
                    MalformedCase{"unsupported_encoding", b("<?xml version=\"1.0\" encoding=\"EBCDIC-FR\"?><A/>"), 1, 1,
                                  "unsupported encoding \"ebcdic-fr\""},
                    MalformedCase{"utf16_declared_in_8bit_file", b("<?xml version=\"1.0\" encoding=\"UTF-16\"?><A/>"),
                                  1, 1, "utf-16"},
                    MalformedCase{"raw_control_character", b("<A>x\x01y</A>"), 1, 5, "U+0001"},
                    MalformedCase{"control_character_reference", b("<A>&#01;</A>"), 1, 8, "character reference"},
                    MalformedCase{"noncharacter_reference", b("<A>&#xFFFE;</A>"), 1, 11, "character reference"},
                    MalformedCase{"unclosed_root", b("<Par_Gen><A>1</A>"), 1, 17, "premature end"},
                    MalformedCase{"empty_file", b(""), 1, 1, "premature end"},
                    MalformedCase{"declaration_not_first", b(" <?xml version=\"1.0\"?><A/>"), 1, 22, "declaration"},
                    MalformedCase{"double_hyphen_in_comment", b("<A><!-- a -- b --></A>"), 1, 13, ""},
                    MalformedCase{"mismatched_end_tag", b("<A><B></A></B>"), 1, 10, "mismatch"}),
    [](const testing::TestParamInfo<MalformedCase> &i) { return std::string(i.param.name); });

// The text of the root's only child, for the encoding cases.
QString rootText(const QByteArray &data)
{
    pugi::xml_document doc;
    const XmlLoadResult r = parseXml(data, doc);
    EXPECT_TRUE(r.ok()) << r.describe().toStdString();
    return fromXml(doc.document_element().child_value());
}

QByteArray utf16(const QString &text, bool littleEndian, bool bom)
{
    QByteArray out;
    if (bom)
        out += littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (QChar c : text) {
        const char lo = char(c.unicode() & 0xFF), hi = char(c.unicode() >> 8);
        out += littleEndian ? QByteArray{&lo, 1} + QByteArray{&hi, 1} : QByteArray{&hi, 1} + QByteArray{&lo, 1};
    }
    return out;
}

TEST(XmlEncoding, DeclaredEncodingsAndByteOrderMarksDecideTheCharacters)
{
    const QString euroE = QStringLiteral("\u20AC\u00E9");
    const QString decl16 = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?><A>\u20AC\u00E9</A>");
    const struct {
        const char *name;
        QByteArray data;
        QString text;
    } cases[] = {
        {"windows-1252", b("<?xml version=\"1.0\" encoding=\"windows-1252\"?><A>\x80\xE9</A>"), euroE},
        {"cp1252 alias, upper case", b("<?xml version='1.0' encoding='CP1252'?><A>\x80\xE9</A>"), euroE},
        {"iso-8859-1", b("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><A>\x80\xE9</A>"),
         QStringLiteral("\u0080\u00E9")},
        {"utf-8 declared", b("<?xml version=\"1.0\" encoding=\"utf-8\"?><A>\xE2\x82\xAC\xC3\xA9</A>"), euroE},
        {"utf-8 undeclared", b("<A>\xE2\x82\xAC\xC3\xA9</A>"), euroE},
        {"utf-8 byte order mark", b("\xEF\xBB\xBF<A>\xE2\x82\xAC\xC3\xA9</A>"), euroE},
        {"utf-16le with mark", utf16(decl16, true, true), euroE},
        {"utf-16be with mark", utf16(decl16, false, true), euroE},
        {"utf-16le without mark", utf16(decl16, true, false), euroE},
        {"utf-16be, no declaration", utf16(QStringLiteral("<A>\u20AC\u00E9</A>"), false, true), euroE},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(rootText(c.data), c.text);
    }
}

TEST(XmlEncoding, ContradictoryOrBrokenUtf16IsRefused)
{
    pugi::xml_document doc;
    const QByteArray declared1252 =
        utf16(QStringLiteral("<?xml version=\"1.0\" encoding=\"windows-1252\"?><A/>"), true, true);
    EXPECT_EQ(parseXml(declared1252, doc).status, XmlLoadResult::Malformed);
    EXPECT_EQ(parseXml(b("\xFF\xFE<\0A\0/\0>"), doc).status, XmlLoadResult::Malformed) << "odd byte count";
    QByteArray lone = utf16(QStringLiteral("<A>x</A>"), true, true);
    lone[8] = char(0x00);
    lone[9] = char(0xD8); // an unpaired high surrogate in place of "x"
    EXPECT_EQ(parseXml(lone, doc).status, XmlLoadResult::Malformed);
}

// The value of an element reads only when its content is one text node.
TEST(XmlChildText, OnlyASingleTextNodeIsReadable)
{
    const struct {
        const char *content;
        std::optional<QString> text; // nullopt: the lookup fails
    } cases[] = {
        {"AAA<!--x-->BBB", std::nullopt},
        {"<a/>99", std::nullopt},
        {"99<a/>", std::nullopt},
        {"AAA<?pi x?>BBB", std::nullopt},
        {"text<![CDATA[more]]>", std::nullopt},
        {"<![CDATA[a]]><![CDATA[b]]>", std::nullopt},
        {" <a/> ", std::nullopt},
        {"", QStringLiteral("")},
        {"<![CDATA[x<y & z]]>", QStringLiteral("x<y & z")},
        {"   ", QStringLiteral("   ")},
        {"a&amp;b&#65;&lt;", QStringLiteral("a&bA<")},
        {"line1\r\nline2&#13;&#10;", QStringLiteral("line1\nline2\r\n")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.content);
        pugi::xml_document doc;
        const QByteArray xml = QByteArray("<R><V>") + c.content + "</V><W>1</W></R>";
        ASSERT_TRUE(parseXml(xml, doc).ok());
        QString text = QStringLiteral("unchanged");
        const bool read = childText(doc.document_element(), "V", text);
        EXPECT_EQ(read, c.text.has_value());
        if (c.text) {
            EXPECT_EQ(text, *c.text);
        }
        QString sibling;
        EXPECT_TRUE(childText(doc.document_element(), "W", sibling));
        EXPECT_EQ(sibling, QStringLiteral("1"));
    }
}

TEST(XmlParse, KeepsCommentsAndExpandsInternalEntities)
{
    pugi::xml_document doc;
    ASSERT_TRUE(
        parseXml(b("<?xml version=\"1.0\"?><?app x?><!--first--><R a=\"1&#10;2\t3\"/><!--SW_VERSION = 1.000-->"), doc)
            .ok());
    EXPECT_EQ(firstTopLevelNode(doc).type(), pugi::node_comment);
    EXPECT_STREQ(doc.child("R").attribute("a").value(), "1\n2 3");

    ASSERT_TRUE(parseXml(b("<!DOCTYPE R [<!ENTITY e \"v\">]><R><V>&e;1</V></R>"), doc).ok());
    QString text;
    ASSERT_TRUE(childText(doc.child("R"), "V", text));
    EXPECT_EQ(text, QStringLiteral("v1"));
}

// No writer can produce a file the reader refuses: characters XML cannot
// hold are dropped on the way out.
TEST(XmlWrite, CharactersXmlCannotHoldNeverReachTheFile)
{
    pugi::xml_document doc;
    pugi::xml_node root = startProjectDocument(doc, "R");
    const QString typed = QStringLiteral("a\u0001b\tc\u001Fd\uFFFEe") + QChar(0xD800) + QStringLiteral("f\U0001F600");
    root.append_child("V").text().set(toXml(typed).c_str());
    root.append_child("row").append_attribute("x").set_value(toXml(typed).c_str());
    const QByteArray bytes = serializeXml(doc);
    // Tab, LF and CR are kept as character references in attributes;
    // nothing else may be.
    EXPECT_FALSE(QByteArray(bytes).replace("&#09;", "").replace("&#10;", "").replace("&#13;", "").contains("&#"))
        << bytes.constData();
    pugi::xml_document back;
    ASSERT_TRUE(parseXml(bytes, back).ok()) << bytes.constData();
    QString text;
    ASSERT_TRUE(childText(back.child("R"), "V", text));
    EXPECT_EQ(text, QStringLiteral("ab\tcdef\U0001F600"));
    EXPECT_EQ(fromXml(back.child("R").child("row").attribute("x").value()), QStringLiteral("ab\tcdef\U0001F600"));
}

} // namespace
