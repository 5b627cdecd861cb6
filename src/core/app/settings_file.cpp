#include "core/app/settings_file.h"

#include "core/app/app_context.h"
#include "core/common/atomic_file.h"

#include <QDir>

namespace mirandel {

namespace {

// Text of parent/group/name; false when either element is missing.
bool groupText(const pugi::xml_node &root, const char *group, const char *name, QString &text)
{
    const pugi::xml_node node = root.child(group);
    if (!node || node.type() != pugi::node_element)
        return false;
    return childText(node, name, text);
}

void readText(const pugi::xml_node &root, const char *group, const char *name, QString &value, const QString &fallback)
{
    QString text;
    value = groupText(root, group, name, text) ? text : fallback;
}

void readFlag(const pugi::xml_node &root, const char *name, bool &value)
{
    QString text;
    value = groupText(root, "lastinternet", name, text) && text == QLatin1String("1");
}

void appendText(pugi::xml_node parent, const char *name, const QString &text)
{
    parent.append_child(name).text().set(toXml(text).c_str());
}

const char *flagText(bool on)
{
    return on ? "1" : "0";
}

} // namespace

QString settingsFilePath(const AppContext &context)
{
    return context.workspace().settingsFile();
}

void applyDefaultSettings(AppContext &context)
{
    context.Project_Name.clear();
    context.Project_Dir.clear();
    context.Last_IP_Address = Default_IP_Address;
    context.Language_Name = QStringLiteral("English");
    context.Enable_Internet = false;
    context.Enable_Update = false;
    context.Enable_Jump_Field_Tables = false;
    context.Double_Click_Auto_Size = false;
}

XmlLoadResult readSettings(AppContext &context)
{
    pugi::xml_document doc;
    const XmlLoadResult result = loadXmlFile(settingsFilePath(context), doc);
    applyDefaultSettings(context);
    if (!result.ok())
        return result;

    const pugi::xml_node root = firstTopLevelNode(doc);
    readText(root, "lastproj", "projectname", context.Project_Name, QString());
    readText(root, "lastipadd", "ipaddress", context.Last_IP_Address, Default_IP_Address);
    readText(root, "lastlang", "language", context.Language_Name, QStringLiteral("English"));
    readFlag(root, "enable_internet", context.Enable_Internet);
    readFlag(root, "enable_update", context.Enable_Update);
    readFlag(root, "enable_jump_field_tables", context.Enable_Jump_Field_Tables);
    readFlag(root, "Double_Click_Auto_Size", context.Double_Click_Auto_Size);
    return result;
}

QByteArray settingsXml(const AppContext &context)
{
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("Conf_Settings");
    appendText(root.append_child("lastproj"), "projectname", context.Project_Name);
    appendText(root.append_child("lastipadd"), "ipaddress", context.Last_IP_Address);
    appendText(root.append_child("lastlang"), "language", context.Language_Name);
    pugi::xml_node internet = root.append_child("lastinternet");
    internet.append_child("enable_internet").text().set(flagText(context.Enable_Internet));
    internet.append_child("enable_update").text().set(flagText(context.Enable_Update));
    internet.append_child("enable_jump_field_tables").text().set(flagText(context.Enable_Jump_Field_Tables));
    internet.append_child("Double_Click_Auto_Size").text().set(flagText(context.Double_Click_Auto_Size));
    return serializeXml(doc);
}

bool saveSettings(const AppContext &context, QString *error)
{
    return writeFileAtomically(settingsFilePath(context), settingsXml(context), error);
}

} // namespace mirandel
