#pragma once
// The gateway's communication parameters: 40 values kept in the order in
// which ParGen.xml stores them, their defaults, and the file's reading and
// writing rules.
//
// Every value is one of three kinds: a text kept exactly as typed (octets,
// numbers, names, keys), an on/off flag (stored "1"/"0") or the baud-rate
// item index (stored as decimal text, -1 when no item is selected). Nothing
// is normalised or checked while loading or saving; checks are
// Controllo_Dati's job (par_gen_check.h).
//
// Reading: the document's first top-level node is the parameter node
// whatever it is; each element is looked up by name among its children, a
// missing element falls back to its fallback element (rows 1-13 and the DNS
// rows) and then to its "element missing" default. The exact order of the
// steps in readParGen decides which of two present elements wins.

#include "core/common/xml_file.h"

#include <QString>
#include <array>
#include <variant>

namespace mirandel {

// The 40 parameters, in file order.
enum ParRow : int {
    Par_IEC61850_Server_IP1,
    Par_IEC61850_Server_IP2,
    Par_IEC61850_Server_IP3,
    Par_IEC61850_Server_IP4,
    Par_IEC61850_Server_SM1,
    Par_IEC61850_Server_SM2,
    Par_IEC61850_Server_SM3,
    Par_IEC61850_Server_SM4,
    Par_IEC61850_Server_GAT1,
    Par_IEC61850_Server_GAT2,
    Par_IEC61850_Server_GAT3,
    Par_IEC61850_Server_GAT4,
    Par_IEC61850_Server_EN_GAT,
    Par_IEC61850_Server_Port,
    Par_IEC61850_Server_Password,
    Par_IEC61850_Server_Name_Of_Server,
    Par_Eth_Conn_Device_Name,
    Par_Eth_Conn_DHCP_Cable,
    Par_Eth_Conn_DHCP_WiFi,
    Par_Eth_Conn_Enable_DNS,
    Par_Eth_Conn_Primary_DNS1,
    Par_Eth_Conn_Primary_DNS2,
    Par_Eth_Conn_Primary_DNS3,
    Par_Eth_Conn_Primary_DNS4,
    Par_Eth_Conn_Secondary_DNS1,
    Par_Eth_Conn_Secondary_DNS2,
    Par_Eth_Conn_Secondary_DNS3,
    Par_Eth_Conn_Secondary_DNS4,
    Par_TLS_Server_Enable,
    Par_TLS_Server_Key,
    Par_TLS_Server_Key_Password,
    Par_TLS_Server_Server_Certificate,
    Par_TLS_Server_Root_Certificate,
    Par_TLS_Server_Enable_Known_Cert,
    Par_DNETS_ID_DEV,
    Par_DNETS_BAUDRATE,
    Par_DNETS_NB_IN,
    Par_DNETS_NB_OUT,
    Par_NTP_Server_URL,
    Par_NTP_Poll_Time,
    Par_Count
};

enum class ParKind { Text, Flag, ItemIndex };

// Static description of one row.
struct ParRowInfo {
    const char *element; // element name in ParGen.xml
    const char *control; // objectName of the dialog's control
    ParKind kind;
    const char *fallback; // element read in place of a missing one, or nullptr
};

const ParRowInfo &parRowInfo(int row);

// Baud-rate item indices of DNETS_BAUDRATE.
enum BaudRate : int { Baud_None = -1, Baud_125K = 0, Baud_250K = 1, Baud_500K = 2 };

class ParGen {
public:
    using Value = std::variant<QString, bool, int>;

    // Every text empty, every flag off, baud-rate index 0.
    ParGen();

    // Values shown when ParGen.xml does not exist.
    static ParGen fileMissing();
    // Values used for elements that a present file lacks.
    static ParGen elementMissing();

    QString text(int row) const { return std::get<QString>(m_values[size_t(row)]); }
    bool flag(int row) const { return std::get<bool>(m_values[size_t(row)]); }
    int itemIndex(int row) const { return std::get<int>(m_values[size_t(row)]); }
    void setText(int row, const QString &text) { m_values[size_t(row)] = text; }
    void setFlag(int row, bool on) { m_values[size_t(row)] = on; }
    void setItemIndex(int row, int index) { m_values[size_t(row)] = index; }

    // The text the file stores for `row`: the text as typed, "1"/"0" for a
    // flag, the decimal index for the baud rate.
    QString storedText(int row) const;

    bool operator==(const ParGen &other) const = default;

private:
    std::array<Value, Par_Count> m_values;
};

// Reads the 40 values from a parsed ParGen.xml.
ParGen readParGen(const pugi::xml_document &doc);

// Loads ParGen.xml. A missing file gives ParGen::fileMissing() with status
// Missing; a file that cannot be read or is not well-formed gives the same
// values with status Unreadable/Malformed, so the caller can tell the user.
XmlLoadResult loadParGen(const QString &path, ParGen &values);

// Rebuilds the whole document: root Par_Gen with the 40 elements in order,
// then the comment "SW_VERSION = 1.000". The Wi-Fi DHCP element is always
// written "0": this model offers no Wi-Fi DHCP setting.
void buildParGenDocument(const ParGen &values, pugi::xml_document &doc);

// Writes the values to `path` atomically. With `keepUnreadable`, an existing
// file is first copied to `path` + ".bad" (used when the file on disk could
// not be read, so saving does not destroy what the user may want back); when
// that copy fails nothing is written. Returns false with the reason in *error.
bool saveParGen(const ParGen &values, const QString &path, QString *error, bool keepUnreadable = false);

} // namespace mirandel
