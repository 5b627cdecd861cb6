// The strict XML reader: any bytes give a document or a refusal with a
// position; a document the program writes back from what it read is always
// read again, with the same values.

#include "core/common/xml_file.h"
#include "fuzz_support.h"

using namespace mirandel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    pugi::xml_document doc;
    const XmlLoadResult r = parseXml(fuzz::bytes(data, size), doc);
    if (!r.ok()) {
        FUZZ_ASSERT(r.status == XmlLoadResult::Malformed);
        FUZZ_ASSERT(r.line >= 1 && r.column >= 1);
        FUZZ_ASSERT(!doc.first_child());
        return 0;
    }
    // Copy every element's readable text and every attribute through the
    // writer's conversions into a new project document, and read it back.
    const pugi::xml_node root = firstTopLevelNode(doc);
    pugi::xml_document out;
    pugi::xml_node outRoot = startProjectDocument(out, "R");
    QStringList texts;
    for (pugi::xml_node child = root.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element)
            continue;
        QString text;
        if (childText(root, child.name(), text)) {
            outRoot.append_child("V").text().set(toXml(text).c_str());
            texts.append(withoutNonXmlChars(text));
        }
        for (pugi::xml_attribute a = child.first_attribute(); a; a = a.next_attribute()) {
            outRoot.append_child("row").append_attribute("a").set_value(toXml(fromXml(a.value())).c_str());
            texts.append(withoutNonXmlChars(fromXml(a.value())));
        }
    }
    pugi::xml_document back;
    const XmlLoadResult again = parseXml(serializeXml(out), back);
    FUZZ_ASSERT(again.ok());
    // Text content may come back with its CR turned into LF by end-of-line
    // handling; attributes keep every character.
    const auto lines = [](QString t) {
        return t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    };
    qsizetype i = 0;
    for (pugi::xml_node n = back.child("R").first_child(); n; n = n.next_sibling(), ++i) {
        FUZZ_ASSERT(i < texts.size());
        if (QByteArray(n.name()) == "V")
            FUZZ_ASSERT(lines(fromXml(n.child_value())) == lines(texts[i]));
        else
            FUZZ_ASSERT(fromXml(n.attribute("a").value()) == texts[i]);
    }
    FUZZ_ASSERT(i == texts.size());
    return 0;
}
