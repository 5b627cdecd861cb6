#include "core/common/xml_file.h"

#include "core/common/atomic_file.h"

#include <QFile>
#include <QFileInfo>
#include <sstream>

namespace mirandel {

namespace {

// parse_ws_pcdata_single keeps an element whose whole text is blanks (a
// password of spaces) instead of reading it as empty.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_comments | pugi::parse_ws_pcdata_single;

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

XmlLoadResult parseXml(const QByteArray &data, pugi::xml_document &doc)
{
    XmlLoadResult result;
    doc.reset();
    const pugi::xml_parse_result parsed =
        doc.load_buffer(data.constData(), size_t(data.size()), kParseOptions, pugi::encoding_auto);
    if (parsed) {
        result.status = XmlLoadResult::Ok;
        return result;
    }
    result.status = XmlLoadResult::Malformed;
    result.message = QString::fromUtf8(parsed.description());
    result.offset = parsed.offset;
    // Line and column from the byte offset.
    int line = 1;
    qint64 lineStart = 0;
    const qint64 limit = qMin<qint64>(parsed.offset, data.size());
    for (qint64 i = 0; i < limit; ++i) {
        if (data[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    result.line = line;
    result.column = int(QString::fromUtf8(data.mid(lineStart, limit - lineStart)).size()) + 1;
    doc.reset();
    return result;
}

XmlLoadResult loadXmlFile(const QString &path, pugi::xml_document &doc)
{
    XmlLoadResult result;
    doc.reset();
    QFileInfo info(path);
    if (!info.exists()) {
        result.status = XmlLoadResult::Missing;
        return result;
    }
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        result.status = XmlLoadResult::Unreadable;
        result.message = info.isDir() ? QStringLiteral("is a folder") : file.errorString();
        return result;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.status = XmlLoadResult::Unreadable;
        result.message = file.errorString();
        return result;
    }
    return parseXml(data, doc);
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

std::string toXml(const QString &text)
{
    return text.toStdString();
}

bool childText(const pugi::xml_node &parent, const char *name, QString &text)
{
    const pugi::xml_node child = parent.child(name);
    if (!child || child.type() != pugi::node_element)
        return false;
    text = fromXml(child.child_value());
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
