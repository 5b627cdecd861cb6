#pragma once
// Reading and writing the program's XML files.
//
// Every file is written as UTF-8 XML without a declaration and without
// indentation. Every file is read by one strict reader: a file that a
// conforming XML 1.0 parser refuses is refused with its line, column and
// reason, never read in part. The reader honours a byte-order mark or a
// declared encoding (UTF-8, UTF-16, ISO-8859-1, Windows-1252, US-ASCII),
// keeps comments, so that "the first top-level node" is really the first
// node of the file (a comment before the root makes every value read as
// missing), and skips the declaration, a document type declaration and
// processing instructions at document level.

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

// Largest XML file the readers accept; no file the program writes comes near.
constexpr qint64 Max_Xml_File = 32 * 1024 * 1024;

// Loads `path` into `doc` (cleared first). Only a regular file is opened.
XmlLoadResult loadXmlFile(const QString &path, pugi::xml_document &doc);

// Parses `data` into `doc` (cleared first). On failure `doc` stays empty.
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

// True for the characters XML 1.0 allows in a document: tab, LF, CR,
// U+0020..U+D7FF, U+E000..U+FFFD and paired surrogates (checked by the
// caller; this looks at one UTF-16 code unit and accepts any surrogate).
bool isXmlCharUnit(char16_t c);

// Index of the first code unit of `text` that XML 1.0 cannot hold, or -1.
qsizetype firstNonXmlChar(QStringView text);

// `text` without the characters XML 1.0 cannot hold (control characters
// other than tab, LF and CR, U+FFFE, U+FFFF, unpaired surrogates).
QString withoutNonXmlChars(const QString &text);

// QString <-> pugixml text (UTF-8). toXml drops the characters XML 1.0
// cannot hold, so no writer can produce a file a parser refuses.
QString fromXml(const char *text);
std::string toXml(const QString &text);

// Text of the first child element of `parent` named `name` (exact case).
// Returns false when there is no such element, or when its text cannot be
// read: its content is not a single text node (it holds an element, a
// comment or a processing instruction, or text split by one). An empty
// element reads as the empty text, an element holding one CDATA section as
// that section's text.
bool childText(const pugi::xml_node &parent, const char *name, QString &text);

// Value of attribute `name` of `node`. Returns false when it is missing.
bool attributeText(const pugi::xml_node &node, const char *name, QString &text);

} // namespace mirandel
