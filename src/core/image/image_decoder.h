#pragma once
// Reading a configuration image back: the parameter block's fields and the
// data block's section, tables and texts, found through their addresses.
//
// The decoder never trusts its input. Every read is bounds-checked; what does
// not fit the format is collected in `issues` (one sentence each) and the
// decoder carries on with whatever can still be read, so any byte sequence
// yields a result.

#include "core/image/image_records.h"

#include <QByteArray>
#include <QStringList>
#include <array>
#include <optional>

namespace mirandel {

using Octets = std::array<quint8, 4>;

// At most this many table entries are decoded: what a project can hold.
inline constexpr quint32 Max_Decoded_Known_Certs = 10;
inline constexpr quint32 Max_Decoded_Variables = 50;

// The fields of the parameter block.
struct DecodedParameterBlock {
    quint32 Baudrate = 0;
    quint32 Reserved_004 = 0;
    quint32 Reserved_00C = 0;
    quint32 Node_Address = 0;
    Octets IP{};
    Octets Subnet_Mask{};
    Octets Gateway{};
    quint16 Reserved_034 = 0;
    quint16 Reserved_036 = 0;
    quint16 Reserved_038 = 0;
    quint32 NTP_Name_Add = 0;
    quint32 NTP_Poll_Time = 0;
    quint32 Bytes_In = 0;
    quint32 Bytes_Out = 0;
    std::array<quint8, 8> Reserved_1B4{};
    quint16 Ethernet_Flags = 0;
    QString Device_Name;
    Octets Secondary_DNS{};
    QString Server_Name;
    Octets Primary_DNS{};
    quint32 Section_Add = 0;
    QString Config_Version;
    quint32 Stored_Checksum = 0;
    quint32 Computed_Checksum = 0;
};

struct DecodedImage {
    qint64 bank1Size = 0;
    bool bank1Decoded = false; // false when bank 1 is shorter than 2048 bytes
    DecodedParameterBlock params;

    bool bank2Present = false;
    qint64 bank2Size = 0;
    bool sectionDecoded = false; // the section header could be read
    QString NTP_Server_Name;
    // Known_Cert_Num is the count in the header; Known_Cert and Variables
    // hold the entries that could be read. The text lengths are the stored
    // byte counts + 1, as the builder keeps them.
    TIEC61850 section;

    // Every inconsistency met, in the order found; empty for a sound image.
    // Of each kind (the same sentence but for its numbers) the first three
    // are listed, then one line "N more issue(s) like ..." counts the rest.
    QStringList issues;
    bool consistent() const { return issues.isEmpty(); }
};

// Decodes bank 1 and, when given, bank 2.
DecodedImage decodeImage(const QByteArray &bank1, const std::optional<QByteArray> &bank2);

} // namespace mirandel
