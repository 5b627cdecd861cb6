#include "core/update/update_descriptor.h"

#include "core/app/app_context.h"
#include "core/common/workspace_layout.h"
#include "core/common/xml_file.h"

#include <QDir>

namespace mirandel {

namespace {

// Fixed values of this gateway model's boot loader and memory map.
constexpr const char *kDescriptorVersion = "1000";
constexpr const char *kTitle = "Tarvik - CF51830 Ethernet Update";
constexpr const char *kApplicationPort = "10000";
constexpr const char *kBootPort = "2008";
constexpr const char *kBootPortSec = "2007";
constexpr const char *kAddressProtection = "0x07800";
constexpr const char *kProtection = "0x217";

struct Operation {
    QString fileName;
    const char *startAddress;
    const char *bankType;
    const char *writeCss;
    bool goToAppAfter;
};

void addText(pugi::xml_node parent, const char *name, const char *text)
{
    parent.append_child(name).text().set(text);
}

void addText(pugi::xml_node parent, const char *name, const QString &text)
{
    parent.append_child(name).text().set(toXml(text).c_str());
}

void addEmpty(pugi::xml_node parent, const char *name)
{
    parent.append_child(name);
}

void addOperation(pugi::xml_node operations, const Operation &op, bool readBack)
{
    pugi::xml_node node = operations.append_child("Operation");
    addEmpty(node, "Ope_Protection_Enabled");
    addText(node, "Ope_GoToBoot_Before", "0");
    addText(node, "Ope_GoToApp_Before", "0");
    addEmpty(node, "Ope_IP_Address");
    addText(node, "Ope_Port", kBootPort);
    addText(node, "Ope_Port_Sec", kBootPortSec);
    addText(node, "Ope_Erase_Memory", "0");
    addText(node, "Ope_FileName", op.fileName);
    addText(node, "Ope_Start_Address", op.startAddress);
    addText(node, "Ope_Memory_Type", "0");
    addText(node, "Ope_Bank_Type", op.bankType);
    addText(node, "Ope_Read_Back", readBack ? "1" : "0");
    addText(node, "Ope_Write_CSS", op.writeCss);
    addText(node, "Ope_Address_CSS", "0x07A00");
    addText(node, "Ope_Command_CSS", "0x02");
    addText(node, "Ope_Write_Internal_Data", "0");
    addText(node, "Ope_WID_Address", "0x07810");
    addText(node, "Ope_WID_Command", "0x02");
    addText(node, "Ope_WID_Data", "0x00, 0x00, 0x00, 0x01");
    addText(node, "Ope_GoToApp_After", op.goToAppAfter ? "1" : "0");
}

} // namespace

QString joinIpOctets(const std::array<QString, 4> &octets)
{
    return octets[0] + QLatin1Char('.') + octets[1] + QLatin1Char('.') + octets[2]
        + QLatin1Char('.') + octets[3];
}

QString updateDescriptorPath(const QString &exeDir)
{
    return Workspace(exeDir).updateDescriptorFile();
}

QString updaterProgramPath(const QString &exeDir)
{
    return Workspace(exeDir).updaterProgram();
}

void buildUpdateDescriptor(pugi::xml_document &doc, const UpdateRequest &request,
                           const QString &masterDir, const QString &projectDir)
{
    doc.reset();
    pugi::xml_node root = doc.append_child("Ethernet_Update");
    addText(root, "Version", kDescriptorVersion);
    addText(root, "Title", kTitle);
    addText(root, "IP_Address_Dev", request.ipAddress);
    addText(root, "Application_Port", kApplicationPort);
    addText(root, "Boot_Port", kBootPort);
    addText(root, "Boot_Port_Sec", kBootPortSec);
    addText(root, "Address_Protection", kAddressProtection);
    addText(root.append_child("Protections"), "Protection", kProtection);
    pugi::xml_node operations = root.append_child("Operations");

    const int option = request.updateOption;
    if (option == 0 || option == 1) {
        // After a firmware-only update the device is sent back to its
        // application by this operation, since no other follows.
        addOperation(operations,
                     {QDir::toNativeSeparators(firmwareImageFile(masterDir)), "0x8000", "1", "1", option == 1},
                     request.readBack);
    }
    if (option == 0 || option == 2) {
        addOperation(operations,
                     {QDir::toNativeSeparators(ProjectFolder(projectDir).bank1File()), "0x07000", "2", "0", false},
                     request.readBack);
        addOperation(operations,
                     {QDir::toNativeSeparators(ProjectFolder(projectDir).bank2File()), "0x80000", "2", "0", true},
                     request.readBack);
    }
}

bool Compile_XML_Parameter_New_Boot(const AppContext &context, const UpdateRequest &request,
                                    QString *error)
{
    if (request.updateOption < 0 || request.updateOption >= Update_Option_Count) {
        if (error)
            *error = QStringLiteral("update option %1 is not 0, 1 or 2").arg(request.updateOption);
        return false;
    }
    pugi::xml_document doc;
    buildUpdateDescriptor(doc, request, context.Master_Dir, context.Project_Dir);
    return saveXmlFile(doc, updateDescriptorPath(context.Exe_Dir), error);
}

} // namespace mirandel
