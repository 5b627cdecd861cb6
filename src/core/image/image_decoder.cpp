#include "core/image/image_decoder.h"

#include <QHash>
#include <QRegularExpression>
#include <cstring>

namespace mirandel {

using namespace image;

namespace {

QString hex(qint64 value)
{
    return QStringLiteral("0x") + QString::number(value, 16).toUpper();
}

quint32 get32(const QByteArray &data, qint64 at)
{
    const auto *p = reinterpret_cast<const quint8 *>(data.constData()) + at;
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

quint16 get16(const QByteArray &data, qint64 at)
{
    const auto *p = reinterpret_cast<const quint8 *>(data.constData()) + at;
    return quint16(p[0] | p[1] << 8);
}

Octets getOctets(const QByteArray &data, qint64 at)
{
    Octets o;
    std::memcpy(o.data(), data.constData() + at, 4);
    return o;
}

QString latin1(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes);
}

// Bytes of the parameter block that belong to a field.
bool isFieldByte(int offset)
{
    static const struct {
        int offset;
        int width;
    } fields[] = {
        {Off_Baudrate, 4},        {Off_Reserved_004, 4},  {Off_Reserved_00C, 4},
        {Off_Node_Address, 4},    {Off_IP, 4},            {Off_Subnet_Mask, 4},
        {Off_Gateway, 4},         {Off_Reserved_034, 2},  {Off_Reserved_036, 2},
        {Off_Reserved_038, 2},    {Off_NTP_Name_Add, 4},  {Off_NTP_Poll_Time, 4},
        {Off_Bytes_In, 4},        {Off_Bytes_Out, 4},     {Off_Reserved_1B4, 8},
        {Off_Ethernet_Flags, 2},  {Off_Device_Name, Device_Name_Field},
        {Off_Secondary_DNS, 4},   {Off_Server_Name, Server_Name_Field},
        {Off_Primary_DNS, 4},     {Off_Section_Add, 4},   {Off_Config_Version, Config_Version_Field},
        {Checksum_Offset, 4},
    };
    for (const auto &f : fields) {
        if (offset >= f.offset && offset < f.offset + f.width)
            return true;
    }
    return false;
}

class Decoder {
public:
    DecodedImage image;

    void decodeBank1(const QByteArray &bank1)
    {
        image.bank1Size = bank1.size();
        if (bank1.size() != Bank1_Size)
            issue(QStringLiteral("bank 1 is %1 bytes long, a parameter block has %2")
                      .arg(bank1.size())
                      .arg(Bank1_Size));
        if (bank1.size() < Bank1_Size)
            return;
        image.bank1Decoded = true;
        DecodedParameterBlock &p = image.params;
        p.Stored_Checksum = get32(bank1, Checksum_Offset);
        quint32 sum = 0;
        for (int i = 0; i < Checksum_Offset; ++i)
            sum += quint8(bank1[i]);
        p.Computed_Checksum = sum;
        if (p.Stored_Checksum != p.Computed_Checksum)
            issue(QStringLiteral("checksum mismatch: %1 stored at 0x7FC, the bytes sum to %2")
                      .arg(p.Stored_Checksum)
                      .arg(p.Computed_Checksum));
        p.Baudrate = get32(bank1, Off_Baudrate);
        p.Reserved_004 = get32(bank1, Off_Reserved_004);
        p.Reserved_00C = get32(bank1, Off_Reserved_00C);
        p.Node_Address = get32(bank1, Off_Node_Address);
        p.IP = getOctets(bank1, Off_IP);
        p.Subnet_Mask = getOctets(bank1, Off_Subnet_Mask);
        p.Gateway = getOctets(bank1, Off_Gateway);
        p.Reserved_034 = get16(bank1, Off_Reserved_034);
        p.Reserved_036 = get16(bank1, Off_Reserved_036);
        p.Reserved_038 = get16(bank1, Off_Reserved_038);
        p.NTP_Name_Add = get32(bank1, Off_NTP_Name_Add);
        p.NTP_Poll_Time = get32(bank1, Off_NTP_Poll_Time);
        p.Bytes_In = get32(bank1, Off_Bytes_In);
        p.Bytes_Out = get32(bank1, Off_Bytes_Out);
        std::memcpy(p.Reserved_1B4.data(), bank1.constData() + Off_Reserved_1B4, 8);
        p.Ethernet_Flags = get16(bank1, Off_Ethernet_Flags);
        p.Device_Name = fieldText(bank1, Off_Device_Name, Device_Name_Field, u"device name");
        p.Secondary_DNS = getOctets(bank1, Off_Secondary_DNS);
        p.Server_Name = fieldText(bank1, Off_Server_Name, Server_Name_Field, u"server name");
        p.Primary_DNS = getOctets(bank1, Off_Primary_DNS);
        p.Section_Add = get32(bank1, Off_Section_Add);
        p.Config_Version = fieldText(bank1, Off_Config_Version, Config_Version_Field, u"configuration version");
        const struct {
            const char16_t *what;
            int offset;
            quint32 value;
            quint32 expected;
        } fixed[] = {
            {u"reserved value", Off_Reserved_004, p.Reserved_004, 250000},
            {u"reserved value", Off_Reserved_00C, p.Reserved_00C, 9600},
            {u"reserved value", Off_Reserved_034, p.Reserved_034, 10000},
            {u"reserved value", Off_Reserved_036, p.Reserved_036, 10001},
            {u"reserved value", Off_Reserved_038, p.Reserved_038, 10001},
            {u"IEC 61850 section address", Off_Section_Add, p.Section_Add, Section_Address},
        };
        for (const auto &f : fixed) {
            if (f.value != f.expected)
                issue(QStringLiteral("%1 at %2 is %3, expected %4")
                          .arg(QString::fromUtf16(f.what), hex(f.offset))
                          .arg(f.value)
                          .arg(f.expected));
        }
        for (int i = 0; i < 8; ++i) {
            if (p.Reserved_1B4[size_t(i)] != 8) {
                issue(QStringLiteral("reserved bytes at 0x1B4 are not all 8"));
                break;
            }
        }
        if (p.NTP_Name_Add != 0 && p.NTP_Name_Add != Bank2_Address)
            issue(QStringLiteral("NTP server name address at 0x03C is %1, expected 0 or 0x80000")
                      .arg(hex(p.NTP_Name_Add)));
        int stray = 0;
        int firstStray = -1;
        for (int i = 0; i < Checksum_Offset; ++i) {
            if (bank1[i] != 0 && !isFieldByte(i)) {
                if (firstStray < 0)
                    firstStray = i;
                ++stray;
            }
        }
        if (stray > 0)
            issue(QStringLiteral("%1 byte(s) outside every field are not zero, the first at %2")
                      .arg(stray)
                      .arg(hex(firstStray)));
    }

    void decodeBank2(const QByteArray &bank2)
    {
        m_data = bank2;
        m_textBudget = bank2.size();
        image.bank2Present = true;
        image.bank2Size = bank2.size();
        if (bank2.size() > Bank2_Capacity)
            issue(QStringLiteral("bank 2 is %1 bytes long, more than the %2 bytes the device holds")
                      .arg(bank2.size())
                      .arg(Bank2_Capacity));

        // NTP name area.
        if (bank2.size() < NTP_Area_Size) {
            issue(QStringLiteral("bank 2 is %1 bytes long, too short for the %2-byte NTP name area")
                      .arg(bank2.size())
                      .arg(NTP_Area_Size));
        } else {
            const qsizetype zero = bank2.indexOf('\0');
            if (zero < 0 || zero >= NTP_Area_Size)
                issue(QStringLiteral("the NTP server name has no zero byte within its %1-byte area")
                          .arg(NTP_Area_Size));
            image.NTP_Server_Name = latin1(bank2.left(zero < 0 ? NTP_Area_Size : qMin<qsizetype>(zero, NTP_Area_Size)));
            if (image.bank1Decoded) {
                const bool named = !image.NTP_Server_Name.isEmpty();
                const quint32 add = image.params.NTP_Name_Add;
                if (named != (add == Bank2_Address))
                    issue(QStringLiteral("NTP server name address at 0x03C is %1 but the name area is %2")
                              .arg(hex(add), named ? QStringLiteral("not empty") : QStringLiteral("empty")));
            }
        }

        const quint32 sectionAdd = image.bank1Decoded ? image.params.Section_Add : Section_Address;
        const qint64 s = qint64(sectionAdd) - Bank2_Address;
        if (s < 0 || s + Section_Header_Size > bank2.size()) {
            issue(QStringLiteral("the IEC 61850 section header (%1 bytes at %2) lies outside the data block")
                      .arg(Section_Header_Size)
                      .arg(hex(sectionAdd)));
            return;
        }
        decodeSection(quint32(sectionAdd), s);
    }

private:
    QByteArray m_data;
    qint64 m_contentEnd = 0; // offset after the last byte the section accounts for
    // Bytes of text still to be copied out of the data block. A sound image
    // stores every text once, so all its texts fit in the block; addresses
    // that send many entries into the same long text would otherwise make the
    // decoded copies (and the report) grow with entries x length.
    qint64 m_textBudget = 0;
    bool m_budgetReported = false;

    // Issues of one kind (the same sentence but for its numbers) are listed
    // up to Issues_Per_Kind times and counted beyond, so that a crafted bank
    // of a million bad entries still gives a short report.
    static constexpr int Issues_Per_Kind = 3;
    struct Kind {
        QString first;
        qint64 count = 0;
    };
    QHash<QString, qsizetype> m_kindIndex;
    QList<Kind> m_kinds;

    void issue(const QString &text)
    {
        static const QRegularExpression numbers(QStringLiteral("0x[0-9A-Fa-f]+|[0-9]+"));
        const QString key = QString(text).replace(numbers, QStringLiteral("#"));
        auto found = m_kindIndex.constFind(key);
        if (found == m_kindIndex.constEnd()) {
            found = m_kindIndex.insert(key, m_kinds.size());
            m_kinds.append(Kind{text, 0});
        }
        Kind &kind = m_kinds[*found];
        if (++kind.count <= Issues_Per_Kind)
            image.issues.append(text);
    }

public:
    // Appends one line per kind of issue that was met more often than listed.
    void countRepeatedIssues()
    {
        for (const Kind &kind : std::as_const(m_kinds)) {
            if (kind.count > Issues_Per_Kind)
                image.issues.append(QStringLiteral("%1 more issue(s) like \"%2\"")
                                        .arg(kind.count - Issues_Per_Kind)
                                        .arg(kind.first));
        }
    }

private:

    QString fieldText(const QByteArray &bank1, int offset, int width, const char16_t *what)
    {
        const QByteArray field = bank1.mid(offset, width);
        const qsizetype zero = field.indexOf('\0');
        if (zero < 0) {
            issue(QStringLiteral("the %1 at %2 has no zero byte within its %3 bytes")
                      .arg(QString::fromUtf16(what), hex(offset))
                      .arg(width));
            return latin1(field);
        }
        return latin1(field.left(zero));
    }

    // File offset of a device address, or -1 outside [0x80000, end].
    qint64 offsetOf(quint32 address) const
    {
        const qint64 offset = qint64(address) - Bank2_Address;
        return offset < 0 || offset > m_data.size() ? -1 : offset;
    }

    void noteEnd(qint64 end) { m_contentEnd = qMax(m_contentEnd, end); }

    // How many of `wanted` text bytes may still be copied; reports once when
    // the texts overlap beyond what the block holds.
    qint64 takeText(qint64 wanted)
    {
        const qint64 granted = qMin(wanted, m_textBudget);
        m_textBudget -= granted;
        if (granted < wanted && !m_budgetReported) {
            m_budgetReported = true;
            issue(QStringLiteral("the texts of the data block overlap: their entries refer to more text than "
                                 "the %1-byte block holds; the texts from there on are cut")
                      .arg(m_data.size()));
        }
        return granted;
    }

    // A text whose byte count is stored beside its address.
    QString sizedText(const QString &what, quint32 address, quint32 length)
    {
        const qint64 offset = offsetOf(address);
        if (offset < 0) {
            issue(QStringLiteral("the %1 address %2 lies outside the data block").arg(what, hex(address)));
            return QString();
        }
        if (length == 0)
            return QString();
        if (offset + qint64(length) + 1 > m_data.size()) {
            issue(QStringLiteral("the %1 (%2 bytes at %3) runs past the end of the data block")
                      .arg(what)
                      .arg(length)
                      .arg(hex(address)));
            noteEnd(m_data.size());
            return QString::fromUtf8(m_data.mid(offset, takeText(m_data.size() - offset)));
        }
        noteEnd(offset + length + 1);
        if (m_data[offset + length] != '\0')
            issue(QStringLiteral("the %1 at %2 has no zero byte after its %3 bytes")
                      .arg(what, hex(address))
                      .arg(length));
        return QString::fromUtf8(m_data.mid(offset, takeText(length)));
    }

    // A zero-terminated text; address 0 stands for no text when `zeroMeansNone`.
    QString terminatedText(const QString &what, quint32 address, bool utf8, bool zeroMeansNone)
    {
        if (address == 0 && zeroMeansNone)
            return QString();
        const qint64 offset = offsetOf(address);
        if (offset < 0) {
            issue(QStringLiteral("the %1 address %2 lies outside the data block").arg(what, hex(address)));
            return QString();
        }
        // Look for the zero byte no further than the text may be copied, so
        // that the search costs no more than the copy.
        const qint64 window = qMin(m_data.size() - offset, m_textBudget + 1);
        const qsizetype found = QByteArrayView(m_data).sliced(offset, window).indexOf('\0');
        if (found < 0 && window == m_data.size() - offset)
            issue(QStringLiteral("the %1 at %2 has no zero byte before the end of the data block")
                      .arg(what, hex(address)));
        const qint64 length = found < 0 ? m_data.size() - offset : found;
        noteEnd(found < 0 ? m_data.size() : offset + found + 1);
        const QByteArray bytes = m_data.mid(offset, takeText(length));
        return utf8 ? QString::fromUtf8(bytes) : latin1(bytes);
    }

    // Checks that `count` entries of `width` bytes at `address` lie in the
    // data block; returns their file offset or -1.
    qint64 table(const QString &what, quint32 address, quint32 count, int width)
    {
        const qint64 offset = offsetOf(address);
        if (offset < 0 || offset + qint64(count) * width > m_data.size()) {
            issue(QStringLiteral("the %1 (%2 entries of %3 bytes at %4) runs past the end of the data block")
                      .arg(what)
                      .arg(count)
                      .arg(width)
                      .arg(hex(address)));
            return -1;
        }
        return offset;
    }

    void decodeSection(quint32 base, qint64 s)
    {
        image.sectionDecoded = true;
        TIEC61850 &r = image.section;
        TTLS_Bank &tls = r.TLS_Data;
        r.port = get16(m_data, s + 0);
        r.TLS_Enable = get32(m_data, s + 2);
        tls.key_add = get32(m_data, s + 6);
        const quint32 keyLength = get32(m_data, s + 10);
        tls.Key_Password_Add = get32(m_data, s + 14);
        tls.Server_Cert.Certificate_Add = get32(m_data, s + 18);
        const quint32 serverLength = get32(m_data, s + 22);
        tls.Root_Cert.Certificate_Add = get32(m_data, s + 26);
        const quint32 rootLength = get32(m_data, s + 30);
        tls.Known_Cert_Num = get32(m_data, s + 34);
        tls.Known_Cert_Add = get32(m_data, s + 38);
        r.Password_Add = get32(m_data, s + 42);
        r.Var_Number = get32(m_data, s + 46);
        r.Var_Add = get32(m_data, s + 50);
        noteEnd(s + Section_Header_Size);

        // The tables follow the header without a gap and end in a zero byte.
        const quint32 K = tls.Known_Cert_Num;
        const quint32 V = r.Var_Number;
        if (tls.Known_Cert_Add != base + Section_Header_Size)
            issue(QStringLiteral("the known-certificate table address is %1, expected %2")
                      .arg(hex(tls.Known_Cert_Add), hex(base + Section_Header_Size)));
        const qint64 expectedVarAdd = qint64(tls.Known_Cert_Add) + qint64(K) * Known_Cert_Entry_Size;
        if (r.Var_Add != expectedVarAdd)
            issue(QStringLiteral("the variable table address is %1, expected %2 after %3 known certificate(s)")
                      .arg(hex(r.Var_Add), hex(expectedVarAdd))
                      .arg(K));

        const qint64 certs = table(QStringLiteral("known-certificate table"), tls.Known_Cert_Add, K,
                                   Known_Cert_Entry_Size);
        const qint64 vars = table(QStringLiteral("variable table"), r.Var_Add, V, Variable_Entry_Size);
        if (vars >= 0) {
            const qint64 zero = vars + qint64(V) * Variable_Entry_Size;
            if (zero >= m_data.size())
                issue(QStringLiteral("the zero byte that ends the tables is missing"));
            else if (m_data[zero] != '\0')
                issue(QStringLiteral("the byte after the tables, at %1, is not zero").arg(hex(Bank2_Address + zero)));
            noteEnd(qMin<qint64>(zero + 1, m_data.size()));
        }

        // Texts, in the order of the string area.
        tls.key = sizedText(QStringLiteral("TLS key"), tls.key_add, keyLength);
        tls.Key_Length = keyLength + 1;
        tls.Key_Password = terminatedText(QStringLiteral("key password"), tls.Key_Password_Add, true, true);
        tls.Server_Cert.Certificate =
            sizedText(QStringLiteral("server certificate"), tls.Server_Cert.Certificate_Add, serverLength);
        tls.Server_Cert.Certificate_Length = serverLength + 1;
        tls.Root_Cert.Certificate =
            sizedText(QStringLiteral("root certificate"), tls.Root_Cert.Certificate_Add, rootLength);
        tls.Root_Cert.Certificate_Length = rootLength + 1;
        r.Password = terminatedText(QStringLiteral("server password"), r.Password_Add, false, true);

        // The files hold at most 10 known certificates and 50 variables; a
        // crafted count beyond that is reported, and only that many entries
        // are decoded, so the report stays the size of a real image's.
        const quint32 certsRead = qMin<quint32>(K, Max_Decoded_Known_Certs);
        const quint32 varsRead = qMin<quint32>(V, Max_Decoded_Variables);
        if (certs >= 0 && K > certsRead)
            issue(QStringLiteral("the known-certificate count %1 is more than the %2 a project holds; "
                                 "only the first %2 are decoded")
                      .arg(K)
                      .arg(Max_Decoded_Known_Certs));
        if (vars >= 0 && V > varsRead)
            issue(QStringLiteral("the variable count %1 is more than the %2 a project holds; "
                                 "only the first %2 are decoded")
                      .arg(V)
                      .arg(Max_Decoded_Variables));
        if (certs >= 0) {
            for (quint32 i = 0; i < certsRead; ++i) {
                const qint64 e = certs + qint64(i) * Known_Cert_Entry_Size;
                TTLS_Certificate cert;
                cert.Certificate_Add = get32(m_data, e);
                const quint32 length = get32(m_data, e + 4);
                cert.Certificate_Length = length + 1;
                cert.Certificate = sizedText(QStringLiteral("known certificate %1").arg(i + 1),
                                             cert.Certificate_Add, length);
                tls.Known_Cert.append(cert);
            }
        }
        if (vars >= 0) {
            for (quint32 i = 0; i < varsRead; ++i) {
                const qint64 e = vars + qint64(i) * Variable_Entry_Size;
                TIEC61850_Var var;
                var.Name_Add = get32(m_data, e);
                var.Data_Type = get32(m_data, e + 4);
                var.Position = get32(m_data, e + 8);
                var.Start_Bit = get32(m_data, e + 12);
                var.Length = get32(m_data, e + 16);
                var.Read_Only = get32(m_data, e + 20);
                const quint32 bits = get32(m_data, e + 24);
                std::memcpy(&var.Multiplication_Factor, &bits, 4);
                var.Operation = get16(m_data, e + 28);
                var.Options = get16(m_data, e + 30);
                r.Variables.append(var);
            }
            // An empty name stores nothing: its address is where the next
            // text begins (the next variable's name, or the end of the block
            // after the last one). A name followed by another one spans up
            // to the zero byte before the next name's address, so a
            // character whose low byte is zero cannot cut it short.
            for (quint32 i = 0; i < varsRead; ++i) {
                TIEC61850_Var &var = r.Variables[i];
                const QString what = QStringLiteral("name of variable %1").arg(i + 1);
                const qint64 offset = offsetOf(var.Name_Add);
                const qint64 next = i + 1 < varsRead ? offsetOf(r.Variables[i + 1].Name_Add) : m_data.size();
                if (offset >= 0 && offset == next) {
                    noteEnd(offset);
                } else if (offset >= 0 && i + 1 < varsRead && next > offset && m_data[next - 1] == '\0') {
                    noteEnd(next);
                    var.Name = latin1(m_data.mid(offset, takeText(next - 1 - offset)));
                } else {
                    var.Name = terminatedText(what, var.Name_Add, false, false);
                }
            }
        }

        if (image.issues.isEmpty() && m_contentEnd < m_data.size())
            issue(QStringLiteral("%1 byte(s) follow the last text of the data block")
                      .arg(m_data.size() - m_contentEnd));
    }
};

} // namespace

DecodedImage decodeImage(const QByteArray &bank1, const std::optional<QByteArray> &bank2)
{
    Decoder decoder;
    decoder.decodeBank1(bank1);
    if (bank2)
        decoder.decodeBank2(*bank2);
    decoder.countRepeatedIssues();
    return std::move(decoder.image);
}

} // namespace mirandel
