#pragma once
// The configuration image: what the gateway loads into its memory.
//
// Bank 1 is a fixed 2048-byte parameter block (device address 0x7000) that
// ends in a checksum. Bank 2 is the data block (device address 0x80000): a
// 1024-byte NTP name area, then the IEC 61850 section (header, known-certificate
// table, variable table, a zero byte, and a string area). Every reference in
// bank 2 is an absolute device address, every multi-byte number little-endian,
// and every stored text ends with one zero byte.
//
// The records below collect what the builder reads from the project files and
// carry the addresses it computes; the decoder fills the same records back
// from a bank pair.

#include <QList>
#include <QString>
#include <QtGlobal>

namespace mirandel {

namespace image {

// Parameter block.
constexpr int Bank1_Size = 2048;
constexpr int Checksum_Offset = 0x7FC;

// Field offsets of the parameter block.
constexpr int Off_Baudrate = 0x000;
constexpr int Off_Reserved_004 = 0x004;
constexpr int Off_Reserved_00C = 0x00C;
constexpr int Off_Node_Address = 0x01C;
constexpr int Off_IP = 0x028;
constexpr int Off_Subnet_Mask = 0x02C;
constexpr int Off_Gateway = 0x030;
constexpr int Off_Reserved_034 = 0x034;
constexpr int Off_Reserved_036 = 0x036;
constexpr int Off_Reserved_038 = 0x038;
constexpr int Off_NTP_Name_Add = 0x03C;
constexpr int Off_NTP_Poll_Time = 0x040;
constexpr int Off_Bytes_In = 0x074;
constexpr int Off_Bytes_Out = 0x078;
constexpr int Off_Reserved_1B4 = 0x1B4; // 8 bytes, each 8
constexpr int Off_Ethernet_Flags = 0x4E8;
constexpr int Off_Device_Name = 0x514; // 32 bytes
constexpr int Off_Secondary_DNS = 0x53C;
constexpr int Off_Server_Name = 0x574; // 16 bytes
constexpr int Off_Primary_DNS = 0x58C;
constexpr int Off_Section_Add = 0x5E8;
constexpr int Off_Config_Version = 0x66C; // 8 bytes

constexpr int Device_Name_Field = 32;
constexpr int Server_Name_Field = 16;
constexpr int Config_Version_Field = 8;

// Data block.
constexpr quint32 Bank2_Address = 0x80000;
constexpr int NTP_Area_Size = 1024;
constexpr quint32 Section_Address = Bank2_Address + NTP_Area_Size; // 0x80400
constexpr int Section_Header_Size = 54;
constexpr int Known_Cert_Entry_Size = 8;
constexpr int Variable_Entry_Size = 32;
// The device reserves 0x80000..0xFFFFF for the data block.
constexpr qint64 Bank2_Capacity = 524288;
constexpr qint64 Bank2_Highest_Offset = Bank2_Capacity - 1;

// Data_Type codes of a variable.
constexpr quint32 Type_Digital_Bit = 2;
constexpr quint32 Type_Int = 4;
constexpr quint32 Type_Float = 6;

} // namespace image

// One certificate text with its place in the data block.
struct TTLS_Certificate {
    QString Certificate;
    quint32 Certificate_Add = 0;
    quint32 Certificate_Length = 0; // UTF-8 byte count + 1 (its zero byte)
};

// The TLS server data.
struct TTLS_Bank {
    QString key;
    quint32 key_add = 0;
    quint32 Key_Length = 0; // UTF-8 byte count + 1
    QString Key_Password;
    quint32 Key_Password_Add = 0;
    TTLS_Certificate Server_Cert;
    TTLS_Certificate Root_Cert;
    quint32 Known_Cert_En = 0;
    quint32 Known_Cert_Num = 0;
    quint32 Known_Cert_Add = 0;
    QList<TTLS_Certificate> Known_Cert;
};

// One variable of the table.
struct TIEC61850_Var {
    QString Name;
    quint32 Name_Add = 0;
    quint32 Data_Type = 0;
    quint32 Position = 0;
    quint32 Start_Bit = 0;
    quint32 Length = 0;
    quint32 Read_Only = 0;
    float Multiplication_Factor = 0.0f;
    quint16 Operation = 0; // 0 none, 1 integer to float, 2 float to integer
    quint16 Options = 0;   // bit 0 swap bytes, bit 1 swap words
};

// The IEC 61850 server section of the data block.
struct TIEC61850 {
    quint16 port = 102;
    quint32 TLS_Enable = 0;
    TTLS_Bank TLS_Data;
    QString Password;
    quint32 Password_Add = 0;
    quint32 Var_Number = 0;
    quint32 Var_Add = 0;
    QList<TIEC61850_Var> Variables;
};

} // namespace mirandel
