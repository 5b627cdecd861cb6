#include "cli/image_report.h"

#include <QJsonArray>
#include <QTextStream>

namespace mirandel::cli {

namespace {

QString hex(qint64 value)
{
    return QStringLiteral("0x") + QString::number(value, 16).toUpper();
}

QString octets(const Octets &o)
{
    return QStringLiteral("%1.%2.%3.%4").arg(o[0]).arg(o[1]).arg(o[2]).arg(o[3]);
}

QString factorText(float f)
{
    return QString::number(double(f), 'g', 9);
}

} // namespace

QString imageReport(const DecodedImage &image)
{
    QString text;
    QTextStream out(&text);
    const DecodedParameterBlock &p = image.params;
    out << "Bank 1: " << image.bank1Size << " bytes\n";
    if (image.bank1Decoded) {
        out << "  DeviceNet baud rate      " << p.Baudrate << " bit/s\n"
            << "  DeviceNet node address   " << p.Node_Address << "\n"
            << "  DeviceNet input bytes    " << p.Bytes_In << "\n"
            << "  DeviceNet output bytes   " << p.Bytes_Out << "\n"
            << "  IP address               " << octets(p.IP) << "\n"
            << "  Subnet mask              " << octets(p.Subnet_Mask) << "\n"
            << "  Default gateway          " << octets(p.Gateway) << "\n"
            << "  Primary DNS              " << octets(p.Primary_DNS) << "\n"
            << "  Secondary DNS            " << octets(p.Secondary_DNS) << "\n"
            << "  DHCP (cable)             " << ((p.Ethernet_Flags & 1) ? "on" : "off") << "\n"
            << "  Device name              \"" << p.Device_Name << "\"\n"
            << "  Server name              \"" << p.Server_Name << "\"\n"
            << "  NTP name address         " << hex(p.NTP_Name_Add) << "\n"
            << "  NTP poll time            " << p.NTP_Poll_Time << " s\n"
            << "  Section address          " << hex(p.Section_Add) << "\n"
            << "  Configuration version    \"" << p.Config_Version << "\"\n"
            << "  Checksum                 " << p.Stored_Checksum
            << (p.Stored_Checksum == p.Computed_Checksum ? " (verified)" : " (WRONG)") << "\n";
    }
    if (image.bank2Present) {
        out << "Bank 2: " << image.bank2Size << " bytes\n"
            << "  NTP server name          \"" << image.NTP_Server_Name << "\"\n";
    }
    if (image.sectionDecoded) {
        const TIEC61850 &s = image.section;
        const TTLS_Bank &t = s.TLS_Data;
        const auto sized = [&](const QString &label, quint32 address, quint32 lengthPlusOne, const QString &value) {
            out << "  " << label << " at " << hex(address) << ", " << (lengthPlusOne - 1) << " bytes\n";
            if (!value.isEmpty())
                out << "    " << QString(value).replace(QLatin1Char('\n'), QStringLiteral("\n    ")) << "\n";
        };
        out << "  Port                     " << s.port << "\n"
            << "  TLS enable               " << s.TLS_Enable << "\n";
        sized(QStringLiteral("TLS key"), t.key_add, t.Key_Length, t.key);
        out << "  Key password at " << hex(t.Key_Password_Add) << ": \"" << t.Key_Password << "\"\n";
        sized(QStringLiteral("Server certificate"), t.Server_Cert.Certificate_Add, t.Server_Cert.Certificate_Length,
              t.Server_Cert.Certificate);
        sized(QStringLiteral("Root certificate"), t.Root_Cert.Certificate_Add, t.Root_Cert.Certificate_Length,
              t.Root_Cert.Certificate);
        out << "  Server password at " << hex(s.Password_Add) << ": \"" << s.Password << "\"\n"
            << "  Known certificates: " << t.Known_Cert_Num << " at " << hex(t.Known_Cert_Add) << "\n";
        for (int i = 0; i < t.Known_Cert.size(); ++i) {
            const TTLS_Certificate &c = t.Known_Cert[i];
            sized(QStringLiteral("  #%1").arg(i + 1), c.Certificate_Add, c.Certificate_Length, c.Certificate);
        }
        out << "  Variables: " << s.Var_Number << " at " << hex(s.Var_Add) << "\n";
        for (int i = 0; i < s.Variables.size(); ++i) {
            const TIEC61850_Var &v = s.Variables[i];
            out << "    #" << (i + 1) << " \"" << v.Name << "\" at " << hex(v.Name_Add) << ": type " << v.Data_Type
                << ", position " << v.Position << ", start bit " << v.Start_Bit << ", length " << v.Length
                << ", read only " << v.Read_Only << ", factor " << factorText(v.Multiplication_Factor) << ", operation "
                << v.Operation << ", options " << v.Options << "\n";
        }
    }
    if (image.issues.isEmpty()) {
        out << "No inconsistency found.\n";
    } else {
        out << image.issues.size() << " inconsistenc" << (image.issues.size() == 1 ? "y" : "ies") << ":\n";
        for (const QString &issue : image.issues)
            out << "  - " << issue << "\n";
    }
    out.flush();
    return text;
}

QJsonObject imageToJson(const DecodedImage &image)
{
    const auto octetArray = [](const Octets &o) { return QJsonArray{o[0], o[1], o[2], o[3]}; };
    QJsonObject root;
    QJsonObject bank1{{QStringLiteral("size"), image.bank1Size}};
    if (image.bank1Decoded) {
        const DecodedParameterBlock &p = image.params;
        bank1.insert(QStringLiteral("Baudrate"), qint64(p.Baudrate));
        bank1.insert(QStringLiteral("Node_Address"), qint64(p.Node_Address));
        bank1.insert(QStringLiteral("Bytes_In"), qint64(p.Bytes_In));
        bank1.insert(QStringLiteral("Bytes_Out"), qint64(p.Bytes_Out));
        bank1.insert(QStringLiteral("IP"), octetArray(p.IP));
        bank1.insert(QStringLiteral("Subnet_Mask"), octetArray(p.Subnet_Mask));
        bank1.insert(QStringLiteral("Gateway"), octetArray(p.Gateway));
        bank1.insert(QStringLiteral("Primary_DNS"), octetArray(p.Primary_DNS));
        bank1.insert(QStringLiteral("Secondary_DNS"), octetArray(p.Secondary_DNS));
        bank1.insert(QStringLiteral("Ethernet_Flags"), p.Ethernet_Flags);
        bank1.insert(QStringLiteral("Device_Name"), p.Device_Name);
        bank1.insert(QStringLiteral("Server_Name"), p.Server_Name);
        bank1.insert(QStringLiteral("NTP_Name_Add"), qint64(p.NTP_Name_Add));
        bank1.insert(QStringLiteral("NTP_Poll_Time"), qint64(p.NTP_Poll_Time));
        bank1.insert(QStringLiteral("Section_Add"), qint64(p.Section_Add));
        bank1.insert(QStringLiteral("Config_Version"), p.Config_Version);
        bank1.insert(QStringLiteral("Checksum"), qint64(p.Stored_Checksum));
        bank1.insert(QStringLiteral("Checksum_Computed"), qint64(p.Computed_Checksum));
    }
    root.insert(QStringLiteral("bank1"), bank1);
    if (image.bank2Present) {
        QJsonObject bank2{{QStringLiteral("size"), image.bank2Size},
                          {QStringLiteral("NTP_Server_Name"), image.NTP_Server_Name}};
        if (image.sectionDecoded) {
            const TIEC61850 &s = image.section;
            const TTLS_Bank &t = s.TLS_Data;
            const auto cert = [](const TTLS_Certificate &c) {
                return QJsonObject{{QStringLiteral("Certificate"), c.Certificate},
                                   {QStringLiteral("Certificate_Add"), qint64(c.Certificate_Add)},
                                   {QStringLiteral("Certificate_Length"), qint64(c.Certificate_Length)}};
            };
            QJsonArray known;
            for (const TTLS_Certificate &c : t.Known_Cert)
                known.append(cert(c));
            QJsonArray variables;
            for (const TIEC61850_Var &v : s.Variables) {
                variables.append(QJsonObject{
                    {QStringLiteral("Name"), v.Name},
                    {QStringLiteral("Name_Add"), qint64(v.Name_Add)},
                    {QStringLiteral("Data_Type"), qint64(v.Data_Type)},
                    {QStringLiteral("Position"), qint64(v.Position)},
                    {QStringLiteral("Start_Bit"), qint64(v.Start_Bit)},
                    {QStringLiteral("Length"), qint64(v.Length)},
                    {QStringLiteral("Read_Only"), qint64(v.Read_Only)},
                    {QStringLiteral("Multiplication_Factor"), double(v.Multiplication_Factor)},
                    {QStringLiteral("Operation"), v.Operation},
                    {QStringLiteral("Options"), v.Options},
                });
            }
            bank2.insert(QStringLiteral("section"),
                         QJsonObject{
                             {QStringLiteral("port"), s.port},
                             {QStringLiteral("TLS_Enable"), qint64(s.TLS_Enable)},
                             {QStringLiteral("key"), t.key},
                             {QStringLiteral("key_add"), qint64(t.key_add)},
                             {QStringLiteral("Key_Length"), qint64(t.Key_Length)},
                             {QStringLiteral("Key_Password"), t.Key_Password},
                             {QStringLiteral("Key_Password_Add"), qint64(t.Key_Password_Add)},
                             {QStringLiteral("Server_Cert"), cert(t.Server_Cert)},
                             {QStringLiteral("Root_Cert"), cert(t.Root_Cert)},
                             {QStringLiteral("Known_Cert_Num"), qint64(t.Known_Cert_Num)},
                             {QStringLiteral("Known_Cert_Add"), qint64(t.Known_Cert_Add)},
                             {QStringLiteral("Known_Cert"), known},
                             {QStringLiteral("Password"), s.Password},
                             {QStringLiteral("Password_Add"), qint64(s.Password_Add)},
                             {QStringLiteral("Var_Number"), qint64(s.Var_Number)},
                             {QStringLiteral("Var_Add"), qint64(s.Var_Add)},
                             {QStringLiteral("Variables"), variables},
                         });
        }
        root.insert(QStringLiteral("bank2"), bank2);
    }
    root.insert(QStringLiteral("issues"), QJsonArray::fromStringList(image.issues));
    root.insert(QStringLiteral("consistent"), image.consistent());
    return root;
}

} // namespace mirandel::cli
