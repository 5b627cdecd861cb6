#include "core/tls/known_cert_list.h"

#include "core/common/text_rules.h"

namespace mirandel {

GridRows makeKnownCertList()
{
    using Kind = GridRows::Kind;
    GridRows list(Known_Cert_Rows, {Kind::CheckBox, Kind::Text, Kind::Text});
    resetKnownCertList(list);
    return list;
}

void resetKnownCertList(GridRows &list)
{
    for (int r = 0; r < list.rowCount(); ++r) {
        list.clearRow(r);
        list.setChecked(r, Cert_Enable, true);
    }
}

TableLoadResult loadKnownCertList(const QString &path, GridRows &list)
{
    resetKnownCertList(list);
    return loadTableFile(path, list.rowCount(), [&list](int row, const pugi::xml_node &node) {
        QString value;
        list.setChecked(row, Cert_Enable, !(attributeText(node, "Enable", value) && value == QStringLiteral("N")));
        for (int c : {Cert_Certificate, Cert_Mnemonic}) {
            value.clear();
            attributeText(node, Known_Cert_Attributes[c], value);
            list.setText(row, c, value);
        }
    });
}

void buildKnownCertDocument(const GridRows &list, pugi::xml_document &doc)
{
    pugi::xml_node root = startProjectDocument(doc, Known_Cert_Root);
    for (int r = 0; r < list.rowCount(); ++r) {
        if (isBlankText(list.text(r, Cert_Certificate)))
            break;
        pugi::xml_node row = root.append_child("row");
        row.append_attribute("Enable").set_value(list.isChecked(r, Cert_Enable) ? "Y" : "N");
        row.append_attribute("Certificate").set_value(toXml(list.text(r, Cert_Certificate)).c_str());
        row.append_attribute("Mnemonic").set_value(toXml(list.text(r, Cert_Mnemonic)).c_str());
    }
}

bool saveKnownCertList(const GridRows &list, const QString &path, QString *error)
{
    pugi::xml_document doc;
    buildKnownCertDocument(list, doc);
    return saveXmlFile(doc, path, error);
}

} // namespace mirandel
