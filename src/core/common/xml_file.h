#pragma once
// Reading and writing the program's XML files.
//
// Every file is UTF-8 XML without a declaration and without indentation.
// Readers keep comments, so that "the first top-level node" is really the
// first node of the file (a comment before the root makes every value read
// as missing), and skip an XML declaration a hand-edited file may carry.

#include <QString>
#include <pugixml.hpp>

namespace mirandel {

struct XmlLoadResult {
    enum Status {
        Ok,        // parsed
        Missing,   // the file does not exist: callers use their defaults
        Unreadable,// the file exists but could not be read
        Malformed  // the file is not well-formed XML
    };
    Status status = Missing;
    QString message;      // parser or system message, empty when Ok/Missing
    qint64 offset = -1;   // byte offset of a parse error
    int line = 0;         // 1-based line of a parse error
    int column = 0;       // 1-based column of a parse error

    bool ok() const { return status == Ok; }
    // "<message> at line L, column C" for Malformed, the system message for
    // Unreadable, empty otherwise.
    QString describe() const;
};

// Loads `path` into `doc` (cleared first).
XmlLoadResult loadXmlFile(const QString &path, pugi::xml_document &doc);

// Parses `data` into `doc` (cleared first).
XmlLoadResult parseXml(const QByteArray &data, pugi::xml_document &doc);

// The document's first top-level node, whatever its kind or name.
pugi::xml_node firstTopLevelNode(const pugi::xml_document &doc);

// Starts a project file: clears `doc`, appends the root element `rootName`
// and after it, at document level, the comment "SW_VERSION = 1.000".
// Returns the root.
pugi::xml_node startProjectDocument(pugi::xml_document &doc, const char *rootName);

// Serialises `doc` as UTF-8 without declaration or indentation.
QByteArray serializeXml(const pugi::xml_document &doc);

// Writes serializeXml(doc) to `path` atomically. On failure returns false and
// puts the reason in *error; the previous file, if any, is left untouched.
bool saveXmlFile(const pugi::xml_document &doc, const QString &path, QString *error);

// QString <-> pugixml text (UTF-8).
QString fromXml(const char *text);
std::string toXml(const QString &text);

// Text of the first child element of `parent` named `name` (exact case).
// Returns false when there is no such element.
bool childText(const pugi::xml_node &parent, const char *name, QString &text);

// Value of attribute `name` of `node`. Returns false when it is missing.
bool attributeText(const pugi::xml_node &node, const char *name, QString &text);

} // namespace mirandel
