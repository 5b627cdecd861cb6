#include "core/common/xml_file.h"

#include "core/common/atomic_file.h"

#include "core/common/file_read.h"
#include "core/common/text_encoding.h"

#include <QXmlStreamReader>
#include <optional>
#include <sstream>

namespace mirandel {

namespace {

enum class Encoding { Utf8, Utf16LE, Utf16BE, Latin1, Windows1252, Ascii };

// The text of the encoding pseudo-attribute of an XML declaration at the
// start of `data` (8-bit form), lower case; empty when there is none.
QByteArray declaredEncoding(const QByteArray &data)
{
    if (!data.startsWith("<?xml"))
        return QByteArray();
    const qsizetype close = data.indexOf("?>");
    if (close < 0)
        return QByteArray();
    const QByteArray decl = data.left(close);
    qsizetype at = decl.indexOf("encoding");
    if (at < 0)
        return QByteArray();
    at += 8;
    auto skipBlanks = [&] {
        while (at < decl.size() && (decl[at] == ' ' || decl[at] == '\t' || decl[at] == '\r' || decl[at] == '\n'))
            ++at;
    };
    skipBlanks();
    if (at >= decl.size() || decl[at] != '=')
        return QByteArray();
    ++at;
    skipBlanks();
    if (at >= decl.size() || (decl[at] != '"' && decl[at] != '\''))
        return QByteArray();
    const char quote = decl[at++];
    const qsizetype endQuote = decl.indexOf(quote, at);
    if (endQuote < 0)
        return QByteArray();
    return decl.mid(at, endQuote - at).toLower();
}

std::optional<Encoding> encodingByName(const QByteArray &name)
{
    if (name == "utf-8" || name == "utf8")
        return Encoding::Utf8;
    if (name == "iso-8859-1" || name == "iso8859-1" || name == "iso_8859-1" || name == "latin1" || name == "latin-1"
        || name == "l1" || name == "cp819" || name == "ibm819" || name == "iso-ir-100")
        return Encoding::Latin1;
    if (name == "windows-1252" || name == "cp1252" || name == "x-cp1252")
        return Encoding::Windows1252;
    if (name == "us-ascii" || name == "ascii")
        return Encoding::Ascii;
    return std::nullopt;
}

bool isUtf16Name(const QByteArray &name)
{
    return name == "utf-16" || name == "utf-16le" || name == "utf-16be" || name == "ucs-2" || name == "iso-10646-ucs-2";
}

struct Position {
    int line = 1;
    int column = 1;
};

// Line and column (1-based, in characters) of index `at` of `text`.
Position positionIn(QStringView text, qsizetype at)
{
    Position pos;
    qsizetype lineStart = 0;
    at = qMin(at, text.size());
    for (qsizetype i = 0; i < at; ++i) {
        const QChar c = text[i];
        if (c == u'\n' || (c == u'\r' && (i + 1 >= text.size() || text[i + 1] != u'\n'))) {
            ++pos.line;
            lineStart = i + 1;
        }
    }
    pos.column = int(at - lineStart) + 1;
    return pos;
}

XmlLoadResult parsedOk()
{
    XmlLoadResult result;
    result.status = XmlLoadResult::Ok;
    return result;
}

XmlLoadResult malformed(const QString &message, Position pos, qint64 offset)
{
    XmlLoadResult result;
    result.status = XmlLoadResult::Malformed;
    result.message = message;
    result.line = pos.line;
    result.column = pos.column;
    result.offset = offset;
    return result;
}

// Decodes the bytes of an XML file into `text` by its byte-order mark, else
// by its declared encoding, else as UTF-8. Every byte must decode: a byte
// that does not belong to the encoding is an error, never a replacement
// character.
XmlLoadResult decodeXml(const QByteArray &data, QString &text)
{
    text.clear();
    std::optional<Encoding> bom;
    qsizetype skip = 0;
    if (data.startsWith("\xEF\xBB\xBF")) {
        bom = Encoding::Utf8;
        skip = 3;
    } else if (data.startsWith("\xFF\xFE")) {
        bom = Encoding::Utf16LE;
        skip = 2;
    } else if (data.startsWith("\xFE\xFF")) {
        bom = Encoding::Utf16BE;
        skip = 2;
    } else if (data.startsWith(QByteArray("<\0?\0", 4))) {
        bom = Encoding::Utf16LE;
    } else if (data.startsWith(QByteArray("\0<\0?", 4))) {
        bom = Encoding::Utf16BE;
    }

    if (bom == Encoding::Utf16LE || bom == Encoding::Utf16BE) {
        const QByteArray body = data.mid(skip);
        if (body.size() % 2 != 0)
            return malformed(QStringLiteral("UTF-16 file with an odd number of bytes"), Position{}, data.size() - 1);
        text.resize(body.size() / 2);
        const auto *p = reinterpret_cast<const unsigned char *>(body.constData());
        for (qsizetype i = 0; i < text.size(); ++i) {
            const unsigned hi = bom == Encoding::Utf16LE ? p[2 * i + 1] : p[2 * i];
            const unsigned lo = bom == Encoding::Utf16LE ? p[2 * i] : p[2 * i + 1];
            text[i] = QChar(char16_t((hi << 8) | lo));
        }
        // The declaration, if any, is now readable as text.
        const QByteArray name = declaredEncoding(text.left(200).toLatin1());
        if (!name.isEmpty() && !isUtf16Name(name)) {
            text.clear();
            return malformed(QStringLiteral("encoding \"%1\" declared in a UTF-16 file").arg(QString::fromLatin1(name)),
                             Position{}, 0);
        }
        return parsedOk();
    }

    const QByteArray body = data.mid(skip);
    const QByteArray name = declaredEncoding(body);
    Encoding encoding = Encoding::Utf8;
    if (!name.isEmpty()) {
        if (isUtf16Name(name)) {
            return malformed(QStringLiteral("encoding \"%1\" declared in a file without a UTF-16 byte order")
                                 .arg(QString::fromLatin1(name)),
                             Position{}, 0);
        }
        const std::optional<Encoding> declared = encodingByName(name);
        if (!declared)
            return malformed(QStringLiteral("unsupported encoding \"%1\"").arg(QString::fromLatin1(name)), Position{},
                             0);
        if (bom && *declared != Encoding::Utf8) {
            return malformed(QStringLiteral("encoding \"%1\" declared in a file with a UTF-8 byte order mark")
                                 .arg(QString::fromLatin1(name)),
                             Position{}, 0);
        }
        encoding = *declared;
    }

    auto badByte = [&](qsizetype at, const QString &what) {
        const QString before =
            encoding == Encoding::Utf8 ? QString::fromUtf8(body.left(at)) : QString::fromLatin1(body.left(at));
        text.clear();
        const QString hex = QString::number(uint(static_cast<unsigned char>(body[at])), 16).toUpper();
        return malformed(QStringLiteral("byte 0x%1 is not %2").arg(hex, what), positionIn(before, before.size()),
                         skip + at);
    };

    switch (encoding) {
    case Encoding::Utf8: {
        const qsizetype bad = firstInvalidUtf8(body);
        if (bad >= 0)
            return badByte(bad, QStringLiteral("valid UTF-8"));
        text = QString::fromUtf8(body);
        break;
    }
    case Encoding::Latin1:
        text = QString::fromLatin1(body);
        break;
    case Encoding::Ascii:
        for (qsizetype i = 0; i < body.size(); ++i) {
            if (static_cast<unsigned char>(body[i]) > 0x7F)
                return badByte(i, QStringLiteral("US-ASCII"));
        }
        text = QString::fromLatin1(body);
        break;
    case Encoding::Windows1252:
        text.resize(body.size());
        for (qsizetype i = 0; i < body.size(); ++i) {
            const std::optional<char16_t> c = windows1252Char(static_cast<unsigned char>(body[i]));
            if (!c)
                return badByte(i, QStringLiteral("a Windows-1252 character"));
            text[i] = QChar(*c);
        }
        break;
    case Encoding::Utf16LE:
    case Encoding::Utf16BE:
        break;
    }
    return parsedOk();
}

QByteArray utf8(QStringView text)
{
    return text.toUtf8();
}

// Whitespace-only text between the children of an element is layout, not
// content, unless it is the element's only child (a password of spaces).
void dropLayoutText(pugi::xml_node element)
{
    if (!element.first_child() || !element.first_child().next_sibling())
        return;
    for (pugi::xml_node child = element.first_child(); child;) {
        const pugi::xml_node next = child.next_sibling();
        if (child.type() == pugi::node_pcdata) {
            const char *v = child.value();
            bool blank = true;
            for (; *v; ++v) {
                if (*v != ' ' && *v != '\t' && *v != '\n' && *v != '\r') {
                    blank = false;
                    break;
                }
            }
            if (blank)
                element.remove_child(child);
        }
        child = next;
    }
}

} // namespace

QString XmlLoadResult::describe() const
{
    switch (status) {
    case Malformed:
        return QStringLiteral("%1 at line %2, column %3").arg(message).arg(line).arg(column);
    case Unreadable:
        return message;
    default:
        return QString();
    }
}

// QXmlStreamReader decides what is well-formed (it refuses what a conforming
// non-validating XML 1.0 parser refuses, expands the entities of an internal
// subset and reports line and column); its tokens are then built into the
// pugixml document the readers look values up in.
XmlLoadResult parseXml(const QByteArray &data, pugi::xml_document &doc)
{
    doc.reset();
    QString text;
    XmlLoadResult decoded = decodeXml(data, text);
    if (!decoded.ok())
        return decoded;
    const qsizetype bad = firstNonXmlChar(text);
    if (bad >= 0) {
        const QString hex = QStringLiteral("%1").arg(uint(text[bad].unicode()), 4, 16, QLatin1Char('0')).toUpper();
        return malformed(QStringLiteral("character U+%1 is not allowed in XML").arg(hex), positionIn(text, bad), -1);
    }

    QXmlStreamReader reader;
    reader.setNamespaceProcessing(false);
    // A QString input has been decoded already: its declared encoding is
    // not applied a second time.
    reader.addData(text);
    pugi::xml_node current = doc;
    QString failure;
    while (!reader.atEnd() && failure.isEmpty()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            pugi::xml_node element = current.append_child(utf8(reader.qualifiedName()).constData());
            const QXmlStreamAttributes attributes = reader.attributes();
            for (const QXmlStreamAttribute &a : attributes)
                element.append_attribute(utf8(a.qualifiedName()).constData()).set_value(utf8(a.value()).constData());
            current = element;
            break;
        }
        case QXmlStreamReader::EndElement:
            dropLayoutText(current);
            current = current.parent();
            break;
        case QXmlStreamReader::Characters: {
            if (current == doc)
                break; // blanks around the root
            const QByteArray value = utf8(reader.text());
            if (reader.isCDATA()) {
                current.append_child(pugi::node_cdata).set_value(value.constData());
            } else {
                pugi::xml_node last = current.last_child();
                if (last.type() == pugi::node_pcdata)
                    last.set_value((QByteArray(last.value()) + value).constData());
                else
                    current.append_child(pugi::node_pcdata).set_value(value.constData());
            }
            break;
        }
        case QXmlStreamReader::Comment:
            current.append_child(pugi::node_comment).set_value(utf8(reader.text()).constData());
            break;
        case QXmlStreamReader::ProcessingInstruction:
            // At document level a processing instruction is skipped like the
            // declaration; inside an element it is content.
            if (current != doc) {
                pugi::xml_node pi = current.append_child(pugi::node_pi);
                pi.set_name(utf8(reader.processingInstructionTarget()).constData());
                pi.set_value(utf8(reader.processingInstructionData()).constData());
            }
            break;
        case QXmlStreamReader::EntityReference:
            failure = QStringLiteral("entity '%1' cannot be resolved").arg(reader.name());
            break;
        default:
            break;
        }
    }
    if (reader.hasError() || !failure.isEmpty()) {
        doc.reset();
        Position pos;
        pos.line = int(qMax<qint64>(1, reader.lineNumber()));
        pos.column = int(qMax<qint64>(1, reader.columnNumber()));
        return malformed(failure.isEmpty() ? reader.errorString() : failure, pos, reader.characterOffset());
    }
    return parsedOk();
}

XmlLoadResult loadXmlFile(const QString &path, pugi::xml_document &doc)
{
    XmlLoadResult result;
    doc.reset();
    QByteArray data;
    const FileReadResult read = readRegularFile(path, data, Max_Xml_File);
    switch (read.status) {
    case FileReadResult::Ok:
        return parseXml(data, doc);
    case FileReadResult::Missing:
        result.status = XmlLoadResult::Missing;
        return result;
    default:
        result.status = XmlLoadResult::Unreadable;
        result.message = read.message;
        return result;
    }
}

pugi::xml_node firstTopLevelNode(const pugi::xml_document &doc)
{
    return doc.first_child();
}

pugi::xml_node startProjectDocument(pugi::xml_document &doc, const char *rootName)
{
    doc.reset();
    pugi::xml_node root = doc.append_child(rootName);
    doc.append_child(pugi::node_comment).set_value("SW_VERSION = 1.000");
    return root;
}

QByteArray serializeXml(const pugi::xml_document &doc)
{
    std::ostringstream out;
    doc.save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    const std::string s = out.str();
    return QByteArray(s.data(), qsizetype(s.size()));
}

bool saveXmlFile(const pugi::xml_document &doc, const QString &path, QString *error)
{
    return writeFileAtomically(path, serializeXml(doc), error);
}

QString fromXml(const char *text)
{
    return QString::fromUtf8(text);
}

bool isXmlCharUnit(char16_t c)
{
    return c == 0x09 || c == 0x0A || c == 0x0D || (c >= 0x20 && c != 0xFFFE && c != 0xFFFF);
}

qsizetype firstNonXmlChar(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
                ++i;
                continue;
            }
            return i;
        }
        if (QChar::isLowSurrogate(c) || !isXmlCharUnit(c))
            return i;
    }
    return -1;
}

QString withoutNonXmlChars(const QString &text)
{
    if (firstNonXmlChar(text) < 0)
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
            out.append(text[i]);
            out.append(text[++i]);
        } else if (!QChar::isSurrogate(c) && isXmlCharUnit(c)) {
            out.append(text[i]);
        }
    }
    return out;
}

std::string toXml(const QString &text)
{
    return withoutNonXmlChars(text).toStdString();
}

bool childText(const pugi::xml_node &parent, const char *name, QString &text)
{
    const pugi::xml_node child = parent.child(name);
    if (!child || child.type() != pugi::node_element)
        return false;
    const pugi::xml_node content = child.first_child();
    if (!content) {
        text.clear();
        return true;
    }
    if (content.next_sibling() || (content.type() != pugi::node_pcdata && content.type() != pugi::node_cdata))
        return false;
    text = fromXml(content.value());
    return true;
}

bool attributeText(const pugi::xml_node &node, const char *name, QString &text)
{
    const pugi::xml_attribute attr = node.attribute(name);
    if (!attr)
        return false;
    text = fromXml(attr.value());
    return true;
}

} // namespace mirandel
