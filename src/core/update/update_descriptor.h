#pragma once
// The update descriptor Ethernet_Update.xml: the instructions the external
// updater reads from the workspace root before it transfers the firmware
// and the configuration image to the device.

#include <QString>
#include <array>
#include <pugixml.hpp>

namespace mirandel {

struct AppContext;

// What the user chose in the update dialog.
struct UpdateRequest {
    // The device address as typed: the four octet texts joined with ".".
    QString ipAddress;
    // 0 firmware + configuration, 1 firmware, 2 configuration.
    int updateOption = 0;
    bool readBack = true;
};

inline constexpr int Update_Option_Count = 3;

// The four octet texts joined with "." as typed ("192", "168", "2", "205"
// give "192.168.2.205").
QString joinIpOctets(const std::array<QString, 4> &octets);

// Exe_Dir/Ethernet_Update.xml (Workspace::updateDescriptorFile).
QString updateDescriptorPath(const QString &exeDir);

// Exe_Dir/Ethernet_Update plus the platform's executable suffix
// (Workspace::updaterProgram).
QString updaterProgramPath(const QString &exeDir);

// Clears `doc` and fills it with the descriptor for `request`. The firmware
// image is Master_Dir/Sim51830.sim, the configuration image
// Project_Dir/bin/bank1.bin and bank2.bin, all with native separators.
// An update option outside 0..2 yields no operation at all; callers check it.
void buildUpdateDescriptor(pugi::xml_document &doc, const UpdateRequest &request, const QString &masterDir,
                           const QString &projectDir);

// Writes the descriptor for `request` to updateDescriptorPath(Exe_Dir),
// replacing any earlier one atomically, with the folders of `context`.
// Returns false with the reason in *error when the option is not 0..2 or the
// file cannot be written; the previous file is then left as it was.
bool Compile_XML_Parameter_New_Boot(const AppContext &context, const UpdateRequest &request, QString *error);

} // namespace mirandel
