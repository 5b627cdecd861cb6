#include "core/params/par_gen.h"

#include "core/common/atomic_file.h"
#include "core/common/text_rules.h"

#include <QFileInfo>

namespace mirandel {

namespace {

constexpr ParRowInfo kRows[Par_Count] = {
    {"IEC61850_Server_IP1", "E_IEC61850_Server_IP1", ParKind::Text, "Ethernet_IP1"},
    {"IEC61850_Server_IP2", "E_IEC61850_Server_IP2", ParKind::Text, "Ethernet_IP2"},
    {"IEC61850_Server_IP3", "E_IEC61850_Server_IP3", ParKind::Text, "Ethernet_IP3"},
    {"IEC61850_Server_IP4", "E_IEC61850_Server_IP4", ParKind::Text, "Ethernet_IP4"},
    {"IEC61850_Server_SM1", "E_IEC61850_Server_SM1", ParKind::Text, "Ethernet_SM1"},
    {"IEC61850_Server_SM2", "E_IEC61850_Server_SM2", ParKind::Text, "Ethernet_SM2"},
    {"IEC61850_Server_SM3", "E_IEC61850_Server_SM3", ParKind::Text, "Ethernet_SM3"},
    {"IEC61850_Server_SM4", "E_IEC61850_Server_SM4", ParKind::Text, "Ethernet_SM4"},
    {"IEC61850_Server_GAT1", "E_IEC61850_Server_GAT1", ParKind::Text, "Ethernet_GAT1"},
    {"IEC61850_Server_GAT2", "E_IEC61850_Server_GAT2", ParKind::Text, "Ethernet_GAT2"},
    {"IEC61850_Server_GAT3", "E_IEC61850_Server_GAT3", ParKind::Text, "Ethernet_GAT3"},
    {"IEC61850_Server_GAT4", "E_IEC61850_Server_GAT4", ParKind::Text, "Ethernet_GAT4"},
    {"IEC61850_Server_EN_GAT", "CB_IEC61850_Server_En_GAT", ParKind::Flag, "Ethernet_EN_GAT"},
    {"IEC61850_Server_Port", "E_IEC61850_Server_Port", ParKind::Text, nullptr},
    {"IEC61850_Server_Password", "E_IEC61850_Server_Password", ParKind::Text, nullptr},
    {"IEC61850_Server_Name_Of_Server", "E_IEC61850_Name_of_Server", ParKind::Text, nullptr},
    {"Eth_Conn_Device_Name", "E_EthConn_Device_Name", ParKind::Text, nullptr},
    {"Eth_Conn_DHCP_Cable", "CB_EthConn_En_DHCP_Cable", ParKind::Flag, nullptr},
    {"Eth_Conn_DHCP_WiFi", "CB_EthConn_En_DHCP_WiFi", ParKind::Flag, nullptr},
    {"Eth_Conn_Enable_DNS", "CB_EthConn_Enable_DNS", ParKind::Flag, "IEC61850_Server_EN_DNS"},
    {"Eth_Conn_Primary_DNS1", "E_EthConn_Pri_DNS_IP1", ParKind::Text, "IEC61850_Server_DNS1"},
    {"Eth_Conn_Primary_DNS2", "E_EthConn_Pri_DNS_IP2", ParKind::Text, "IEC61850_Server_DNS2"},
    {"Eth_Conn_Primary_DNS3", "E_EthConn_Pri_DNS_IP3", ParKind::Text, "IEC61850_Server_DNS3"},
    {"Eth_Conn_Primary_DNS4", "E_EthConn_Pri_DNS_IP4", ParKind::Text, "IEC61850_Server_DNS4"},
    {"Eth_Conn_Secondary_DNS1", "E_EthConn_Sec_DNS_IP1", ParKind::Text, nullptr},
    {"Eth_Conn_Secondary_DNS2", "E_EthConn_Sec_DNS_IP2", ParKind::Text, nullptr},
    {"Eth_Conn_Secondary_DNS3", "E_EthConn_Sec_DNS_IP3", ParKind::Text, nullptr},
    {"Eth_Conn_Secondary_DNS4", "E_EthConn_Sec_DNS_IP4", ParKind::Text, nullptr},
    {"TLS_Server_Enable", "CB_TLS_Server_Enable", ParKind::Flag, nullptr},
    {"TLS_Server_Key", "E_TLS_Server_Key", ParKind::Text, nullptr},
    {"TLS_Server_Key_Password", "E_TLS_Server_Key_Pass", ParKind::Text, nullptr},
    {"TLS_Server_Server_Certificate", "E_TLS_Server_Server_Cert", ParKind::Text, nullptr},
    {"TLS_Server_Root_Certificate", "E_TLS_Server_Root_Cert", ParKind::Text, nullptr},
    {"TLS_Server_Enable_Known_Cert", "CB_TLS_Server_En_Known_Cert", ParKind::Flag, nullptr},
    {"DNETS_ID_DEV", "E_DeviceNet_Slave_IDDevice", ParKind::Text, nullptr},
    {"DNETS_BAUDRATE", "CB_DeviceNet_Slave_Baudrate", ParKind::ItemIndex, nullptr},
    {"DNETS_NB_IN", "E_DeviceNet_Slave_NumByteIn", ParKind::Text, nullptr},
    {"DNETS_NB_OUT", "E_DeviceNet_Slave_NumByteOut", ParKind::Text, nullptr},
    {"NTP_Server_URL", "E_NTP_Server_URL", ParKind::Text, nullptr},
    {"NTP_Poll_Time", "E_NTP_Poll_Time", ParKind::Text, nullptr},
};

constexpr int kBaudItemCount = 3;

const char *const kRootName = "Par_Gen";

// Flags of the file are on only for the exact text "1".
bool exactOne(const QString &text)
{
    return text == QStringLiteral("1");
}

// Reads one element (then its fallback, when given) into `values`; a failed
// lookup leaves the row as it is.
class RowReader {
public:
    explicit RowReader(pugi::xml_node node)
        : m_node(node)
    {
    }

    bool lookup(const char *name, QString &text) const { return childText(m_node, name, text); }

    void text(ParGen &values, int row, bool useFallback) const
    {
        QString text;
        if (lookup(kRows[row].element, text)
            || (useFallback && kRows[row].fallback && lookup(kRows[row].fallback, text)))
            values.setText(row, text);
    }

    void exactFlag(ParGen &values, int row, const char *name) const
    {
        QString text;
        if (lookup(name, text))
            values.setFlag(row, exactOne(text));
    }

private:
    pugi::xml_node m_node;
};

} // namespace

const ParRowInfo &parRowInfo(int row)
{
    Q_ASSERT(row >= 0 && row < Par_Count);
    return kRows[row];
}

ParGen::ParGen()
{
    for (int row = 0; row < Par_Count; ++row) {
        switch (kRows[row].kind) {
        case ParKind::Text:
            m_values[size_t(row)] = QString();
            break;
        case ParKind::Flag:
            m_values[size_t(row)] = false;
            break;
        case ParKind::ItemIndex:
            m_values[size_t(row)] = 0;
            break;
        }
    }
}

ParGen ParGen::fileMissing()
{
    ParGen p;
    const char16_t *texts[] = {u"192", u"168", u"0", u"10", u"255", u"255", u"255", u"0", u"192", u"168", u"0", u"1"};
    for (int row = Par_IEC61850_Server_IP1; row <= Par_IEC61850_Server_GAT4; ++row)
        p.setText(row, QString::fromUtf16(texts[row]));
    p.setText(Par_IEC61850_Server_Port, QStringLiteral("102"));
    p.setText(Par_IEC61850_Server_Name_Of_Server, QStringLiteral("Gateway"));
    for (int row = Par_Eth_Conn_Primary_DNS1; row <= Par_Eth_Conn_Secondary_DNS4; ++row)
        p.setText(row, QStringLiteral("8"));
    p.setText(Par_DNETS_ID_DEV, QStringLiteral("10"));
    p.setItemIndex(Par_DNETS_BAUDRATE, Baud_500K);
    p.setText(Par_DNETS_NB_IN, QStringLiteral("455"));
    p.setText(Par_DNETS_NB_OUT, QStringLiteral("455"));
    return p;
}

ParGen ParGen::elementMissing()
{
    ParGen p = fileMissing();
    p.setText(Par_Eth_Conn_Secondary_DNS3, QStringLiteral("4"));
    p.setText(Par_Eth_Conn_Secondary_DNS4, QStringLiteral("4"));
    return p;
}

QString ParGen::storedText(int row) const
{
    switch (kRows[row].kind) {
    case ParKind::Text:
        return text(row);
    case ParKind::Flag:
        return flag(row) ? QStringLiteral("1") : QStringLiteral("0");
    case ParKind::ItemIndex: {
        // An index that names no item means "no selection".
        const int index = itemIndex(row);
        return QString::number(index >= 0 && index < kBaudItemCount ? index : Baud_None);
    }
    }
    return QString();
}

ParGen readParGen(const pugi::xml_document &doc)
{
    const RowReader in(firstTopLevelNode(doc));
    ParGen values = ParGen::elementMissing();

    // The DNS rows start from off / 8.8.8.8 so that both the fallback and
    // the real elements read below can override them.
    values.setFlag(Par_Eth_Conn_Enable_DNS, false);
    for (int row = Par_Eth_Conn_Primary_DNS1; row <= Par_Eth_Conn_Primary_DNS4; ++row)
        values.setText(row, QStringLiteral("8"));

    // Own address: the element, else its Ethernet_ fallback, else the default.
    for (int row = Par_IEC61850_Server_IP1; row <= Par_IEC61850_Server_GAT4; ++row)
        in.text(values, row, true);
    {
        QString text;
        if (in.lookup(kRows[Par_IEC61850_Server_EN_GAT].element, text)
            || in.lookup(kRows[Par_IEC61850_Server_EN_GAT].fallback, text))
            values.setFlag(Par_IEC61850_Server_EN_GAT, exactOne(text));
    }

    // DNS fallbacks first, so the Eth_Conn_ elements read later win.
    for (int row = Par_Eth_Conn_Primary_DNS1; row <= Par_Eth_Conn_Primary_DNS4; ++row) {
        QString text;
        if (in.lookup(kRows[row].fallback, text))
            values.setText(row, text);
    }
    in.exactFlag(values, Par_Eth_Conn_Enable_DNS, kRows[Par_Eth_Conn_Enable_DNS].fallback);

    for (int row = Par_IEC61850_Server_Port; row <= Par_Eth_Conn_Device_Name; ++row)
        in.text(values, row, false);
    in.exactFlag(values, Par_Eth_Conn_DHCP_Cable, kRows[Par_Eth_Conn_DHCP_Cable].element);
    // Wi-Fi DHCP is never read.
    values.setFlag(Par_Eth_Conn_DHCP_WiFi, false);

    in.exactFlag(values, Par_Eth_Conn_Enable_DNS, kRows[Par_Eth_Conn_Enable_DNS].element);
    for (int row = Par_Eth_Conn_Primary_DNS1; row <= Par_Eth_Conn_Secondary_DNS4; ++row)
        in.text(values, row, false);

    // The TLS switches convert numerically: "01" and " 1" are on.
    for (int row = Par_TLS_Server_Enable; row <= Par_TLS_Server_Enable_Known_Cert; ++row) {
        QString text;
        if (!in.lookup(kRows[row].element, text))
            continue;
        if (kRows[row].kind == ParKind::Flag)
            values.setFlag(row, numericText(text) == 1);
        else
            values.setText(row, text);
    }

    for (int row = Par_DNETS_ID_DEV; row <= Par_NTP_Poll_Time; ++row) {
        if (row == Par_DNETS_BAUDRATE) {
            QString text;
            if (in.lookup(kRows[row].element, text))
                values.setItemIndex(row, numericTextOr(text, Baud_500K));
        } else {
            in.text(values, row, false);
        }
    }
    return values;
}

XmlLoadResult loadParGen(const QString &path, ParGen &values)
{
    pugi::xml_document doc;
    const XmlLoadResult result = loadXmlFile(path, doc);
    values = result.ok() ? readParGen(doc) : ParGen::fileMissing();
    return result;
}

void buildParGenDocument(const ParGen &values, pugi::xml_document &doc)
{
    pugi::xml_node root = startProjectDocument(doc, kRootName);
    for (int row = 0; row < Par_Count; ++row) {
        const QString text = row == Par_Eth_Conn_DHCP_WiFi ? QStringLiteral("0") : values.storedText(row);
        pugi::xml_node element = root.append_child(kRows[row].element);
        if (!text.isEmpty())
            element.text().set(toXml(text).c_str());
    }
}

bool saveParGen(const ParGen &values, const QString &path, QString *error, bool keepUnreadable)
{
    if (keepUnreadable && QFileInfo::exists(path) && !keepUnreadableFile(path, error))
        return false;
    pugi::xml_document doc;
    buildParGenDocument(values, doc);
    return saveXmlFile(doc, path, error);
}

} // namespace mirandel
