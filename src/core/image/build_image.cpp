#include "core/image/build_image.h"

#include "core/common/atomic_file.h"
#include "core/common/file_read.h"
#include "core/common/text_rules.h"
#include "core/common/workspace_layout.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <cstring>
#include <vector>

namespace mirandel {

using namespace image;

namespace {

void put16(quint8 *at, quint32 value)
{
    at[0] = quint8(value);
    at[1] = quint8(value >> 8);
}

void put32(quint8 *at, quint32 value)
{
    at[0] = quint8(value);
    at[1] = quint8(value >> 8);
    at[2] = quint8(value >> 16);
    at[3] = quint8(value >> 24);
}

quint8 *bytesAt(QByteArray &block, qint64 position)
{
    return reinterpret_cast<quint8 *>(block.data()) + position;
}

void ensureSize(QByteArray &block, qint64 size)
{
    if (block.size() < size)
        block.resize(size, '\0');
}

// Low 8 bits of each UTF-16 unit, at most `limit` units.
QByteArray byteText(const QString &text, qsizetype limit = -1)
{
    const qsizetype n = limit < 0 ? text.size() : qMin(limit, text.size());
    QByteArray bytes(n, Qt::Uninitialized);
    for (qsizetype i = 0; i < n; ++i)
        bytes[i] = char(text.at(i).unicode() & 0xFF);
    return bytes;
}

// A text field of the parameter block: the bytes, then zeros to its end.
void putFieldText(ParameterBlock &block, int offset, int width, const QString &text)
{
    const QByteArray bytes = byteText(text, width - 1);
    std::memset(block.data() + offset, 0, size_t(width));
    std::memcpy(block.data() + offset, bytes.constData(), size_t(bytes.size()));
}

quint32 utf8Length(const QString &text)
{
    return quint32(text.toUtf8().size());
}

ImageError loadError(const XmlLoadResult &result, const QString &file)
{
    ImageError error;
    error.kind = result.status == XmlLoadResult::Malformed ? ImageError::Malformed
                                                           : ImageError::Unreadable;
    error.file = file;
    error.message = result.describe();
    return error;
}

// Looks values up among the direct children of ParGen.xml's first node.
class ParGenReader {
public:
    explicit ParGenReader(const pugi::xml_node &root)
        : m_root(root)
    {
    }

    bool text(const char *name, QString &value) const { return childText(m_root, name, value); }

    QString textOr(const char *name, const QString &fallback) const
    {
        QString value;
        return text(name, value) ? value : fallback;
    }

    qint32 number(const char *name, qint32 fallback) const
    {
        QString value;
        return text(name, value) ? numericTextOr(value, fallback) : fallback;
    }

    bool isOne(const char *name) const
    {
        QString value;
        return text(name, value) && value == QStringLiteral("1");
    }

    // An address octet: the IEC61850_Server_ element, else the Ethernet_
    // element of the same ending, else the default. A present element that
    // is not a number gives the default too.
    quint8 octet(const QByteArray &ending, qint32 fallback) const
    {
        QString value;
        if (text(("IEC61850_Server_" + ending).constData(), value)
            || text(("Ethernet_" + ending).constData(), value))
            return quint8(numericTextOr(value, fallback));
        return quint8(fallback);
    }

    void octets(ParameterBlock &block, int offset, const char *prefix,
                const std::array<qint32, 4> &defaults) const
    {
        for (int i = 0; i < 4; ++i)
            block[size_t(offset + i)] = octet(prefix + QByteArray::number(i + 1), defaults[size_t(i)]);
    }

    void plainOctets(ParameterBlock &block, int offset, const char *prefix,
                     const std::array<qint32, 4> &defaults) const
    {
        for (int i = 0; i < 4; ++i) {
            const QByteArray name = prefix + QByteArray::number(i + 1);
            block[size_t(offset + i)] = quint8(number(name.constData(), defaults[size_t(i)]));
        }
    }

private:
    pugi::xml_node m_root;
};

} // namespace

QString ImageError::describe() const
{
    if (file.isEmpty())
        return message;
    return QDir::toNativeSeparators(file) + QStringLiteral(": ") + message;
}

ImageSources ImageSources::inProject(const QString &projectDir)
{
    const ProjectFolder project(projectDir);
    return {project.parGenFile(), project.variablesFile(), project.knownCertFile()};
}

ParameterBlock resetParameterBlock()
{
    ParameterBlock block{};
    put32(&block[Off_Baudrate], 250000);
    put32(&block[Off_Reserved_004], 250000);
    put32(&block[Off_Reserved_00C], 9600);
    const quint8 ip[4] = {192, 168, 2, 205};
    const quint8 mask[4] = {255, 255, 255, 0};
    std::memcpy(&block[Off_IP], ip, 4);
    std::memcpy(&block[Off_Subnet_Mask], mask, 4);
    std::memset(&block[Off_Gateway], 0xFF, 4);
    put16(&block[Off_Reserved_034], 10000);
    put16(&block[Off_Reserved_036], 10001);
    put16(&block[Off_Reserved_038], 10001);
    std::memset(&block[Off_Reserved_1B4], 8, 8);
    return block;
}

XmlLoadResult Read_ParGen(const QString &path, ParameterBlock &block, TIEC61850 &record,
                          QString &ntpServerName)
{
    pugi::xml_document doc;
    const XmlLoadResult loaded = loadXmlFile(path, doc);
    if (!loaded.ok())
        return loaded;
    const ParGenReader par(firstTopLevelNode(doc));

    putFieldText(block, Off_Config_Version, Config_Version_Field, QStringLiteral("1.000"));

    par.octets(block, Off_IP, "IP", {192, 168, 0, 10});
    par.octets(block, Off_Subnet_Mask, "SM", {255, 255, 255, 0});
    par.octets(block, Off_Gateway, "GAT", {192, 168, 0, 1});
    QString enableGateway;
    if (!par.text("IEC61850_Server_EN_GAT", enableGateway))
        par.text("Ethernet_EN_GAT", enableGateway);
    if (enableGateway != QStringLiteral("1"))
        std::memset(&block[Off_Gateway], 0xFF, 4);

    record.port = quint16(par.number("IEC61850_Server_Port", 102));
    record.Password = par.textOr("IEC61850_Server_Password", QString());
    putFieldText(block, Off_Server_Name, Server_Name_Field,
                 par.textOr("IEC61850_Server_Name_Of_Server", QStringLiteral("Gateway")));
    putFieldText(block, Off_Device_Name, Device_Name_Field,
                 par.textOr("Eth_Conn_Device_Name", QString()));

    put16(&block[Off_Ethernet_Flags], par.isOne("Eth_Conn_DHCP_Cable") ? 1 : 0);

    if (par.isOne("Eth_Conn_Enable_DNS")) {
        par.plainOctets(block, Off_Primary_DNS, "Eth_Conn_Primary_DNS", {8, 8, 8, 8});
        par.plainOctets(block, Off_Secondary_DNS, "Eth_Conn_Secondary_DNS", {8, 8, 4, 4});
    }

    TTLS_Bank &tls = record.TLS_Data;
    record.TLS_Enable = quint32(par.number("TLS_Server_Enable", 0));
    tls.key = par.textOr("TLS_Server_Key", QString());
    tls.Key_Length = utf8Length(tls.key) + 1;
    tls.Key_Password = par.textOr("TLS_Server_Key_Password", QString());
    tls.Server_Cert.Certificate = par.textOr("TLS_Server_Server_Certificate", QString());
    tls.Server_Cert.Certificate_Length = utf8Length(tls.Server_Cert.Certificate) + 1;
    tls.Root_Cert.Certificate = par.textOr("TLS_Server_Root_Certificate", QString());
    tls.Root_Cert.Certificate_Length = utf8Length(tls.Root_Cert.Certificate) + 1;
    tls.Known_Cert_En = quint32(par.number("TLS_Server_Enable_Known_Cert", 0));

    put32(&block[Off_Node_Address], quint32(par.number("DNETS_ID_DEV", 10)));
    const qint32 baudIndex = par.number("DNETS_BAUDRATE", 2);
    put32(&block[Off_Baudrate], baudIndex == 0 ? 125000 : baudIndex == 1 ? 250000 : 500000);
    put32(&block[Off_Bytes_In], quint32(par.number("DNETS_NB_IN", 455)));
    put32(&block[Off_Bytes_Out], quint32(par.number("DNETS_NB_OUT", 455)));

    ntpServerName = par.textOr("NTP_Server_URL", QString());
    put32(&block[Off_NTP_Poll_Time], quint32(par.number("NTP_Poll_Time", 1000)));
    return loaded;
}

XmlLoadResult Read_IEC61850_Variables(const QString &path, QChar separator, TIEC61850 &record)
{
    record.Var_Number = 0;
    record.Variables.clear();
    pugi::xml_document doc;
    const XmlLoadResult loaded = loadXmlFile(path, doc);
    if (!loaded.ok())
        return loaded;

    const auto attr = [](const pugi::xml_node &row, const char *name) {
        QString value;
        attributeText(row, name, value);
        return value;
    };
    const auto upperTrimmed = [&](const pugi::xml_node &row, const char *name) {
        return trimText(attr(row, name)).toUpper();
    };
    const auto number = [&](const pugi::xml_node &row, const char *name) {
        return quint32(numericTextOr(attr(row, name), 0));
    };

    for (const pugi::xml_node &row : firstTopLevelNode(doc).children()) {
        if (row.type() != pugi::node_element || attr(row, "Enable") != QStringLiteral("Y"))
            continue;
        TIEC61850_Var var;
        var.Name = attr(row, "Name");

        const QString type = upperTrimmed(row, "Type");
        var.Data_Type = type == QStringLiteral("FLOAT")           ? Type_Float
                        : type == QStringLiteral("DIGITAL (BIT)") ? Type_Digital_Bit
                                                                  : Type_Int;
        var.Length = var.Data_Type == Type_Digital_Bit ? 1 : number(row, "Length");
        var.Read_Only = upperTrimmed(row, "ReadOnly") == QStringLiteral("Y") ? 1 : 0;
        var.Position = number(row, "Position");
        var.Start_Bit = number(row, "StartBit");

        const QString conversion = upperTrimmed(row, "Conversion");
        var.Operation = conversion == QStringLiteral("INT TO FLOAT")   ? 1
                        : conversion == QStringLiteral("FLOAT TO INT") ? 2
                                                                       : 0;

        const QString factor = upperTrimmed(row, "MultiplicationFactor");
        var.Multiplication_Factor = 1.0f;
        if (factor != QStringLiteral("NONE"))
            Str_To_Single(factor, separator, var.Multiplication_Factor); // 1.0 when it fails

        var.Options = 0;
        if (attr(row, "Swap") == QStringLiteral("Y"))
            var.Options |= 1;
        if (attr(row, "SwapWord") == QStringLiteral("Y"))
            var.Options |= 2;

        record.Variables.append(var);
        ++record.Var_Number;
    }
    return loaded;
}

XmlLoadResult Read_TLS_Known_Cert(const QString &path, TIEC61850 &record)
{
    TTLS_Bank &tls = record.TLS_Data;
    tls.Known_Cert_Num = 0;
    tls.Known_Cert.clear();
    pugi::xml_document doc;
    const XmlLoadResult loaded = loadXmlFile(path, doc);
    if (!loaded.ok())
        return loaded;
    for (const pugi::xml_node &row : firstTopLevelNode(doc).children()) {
        QString enable;
        if (row.type() != pugi::node_element || !attributeText(row, "Enable", enable)
            || enable != QStringLiteral("Y"))
            continue;
        TTLS_Certificate cert;
        attributeText(row, "Certificate", cert.Certificate);
        cert.Certificate_Length = utf8Length(cert.Certificate) + 1;
        tls.Known_Cert.append(cert);
        ++tls.Known_Cert_Num;
    }
    return loaded;
}

qint64 Write_NTP_Area(const QString &ntpServerName, qint64 position, QByteArray &block)
{
    ensureSize(block, position + NTP_Area_Size);
    std::memset(bytesAt(block, position), 0, NTP_Area_Size);
    // At most 1023 characters: the last byte of the area stays the name's zero.
    const QByteArray name = byteText(ntpServerName, NTP_Area_Size - 1);
    std::memcpy(bytesAt(block, position), name.constData(), size_t(name.size()));
    return position + NTP_Area_Size;
}

qint64 Put_UTF8_Text(const QString &text, qint64 position, QByteArray &block)
{
    if (text.isEmpty())
        return position;
    const QByteArray bytes = text.toUtf8();
    ensureSize(block, position + bytes.size() + 1);
    std::memcpy(bytesAt(block, position), bytes.constData(), size_t(bytes.size()));
    block[position + bytes.size()] = '\0';
    return position + bytes.size() + 1;
}

qint64 Put_Byte_Text(const QString &text, qint64 position, QByteArray &block)
{
    if (text.isEmpty())
        return position;
    ensureSize(block, position + text.size() + 1);
    quint8 *at = bytesAt(block, position);
    for (qsizetype i = 0; i < text.size(); ++i)
        at[i] = quint8(text.at(i).unicode() & 0xFF);
    at[text.size()] = 0;
    return position + text.size() + 1;
}

qint64 Write_IEC61850_Section(TIEC61850 &record, quint32 base, qint64 position, QByteArray &block,
                              qint64 highestOffset, qint64 *needed)
{
    TTLS_Bank &tls = record.TLS_Data;
    const bool knownListOn = record.TLS_Enable == 1 && tls.Known_Cert_En == 1;
    const qint64 K = knownListOn ? tls.Known_Cert.size() : 0;
    const qint64 V = record.Variables.size();
    record.Var_Number = quint32(V);

    tls.Known_Cert_Add = base + Section_Header_Size;
    record.Var_Add = quint32(base + Section_Header_Size + Known_Cert_Entry_Size * K);
    const qint64 Z = Section_Header_Size + Known_Cert_Entry_Size * K + Variable_Entry_Size * V;
    qint64 R = Z + 1;

    // The addresses follow the byte counts of exactly what is written below.
    const auto place = [&](qint64 storedBytes, quint32 whenEmpty) -> quint32 {
        if (storedBytes == 0)
            return whenEmpty;
        const quint32 address = quint32(base + R);
        R += storedBytes + 1;
        return address;
    };
    tls.Key_Length = utf8Length(tls.key) + 1;
    tls.Server_Cert.Certificate_Length = utf8Length(tls.Server_Cert.Certificate) + 1;
    tls.Root_Cert.Certificate_Length = utf8Length(tls.Root_Cert.Certificate) + 1;
    const quint32 tablesEnd = quint32(base + Z);
    tls.key_add = place(tls.Key_Length - 1, tablesEnd);
    tls.Key_Password_Add = place(utf8Length(tls.Key_Password), 0);
    tls.Server_Cert.Certificate_Add = place(tls.Server_Cert.Certificate_Length - 1, tablesEnd);
    tls.Root_Cert.Certificate_Add = place(tls.Root_Cert.Certificate_Length - 1, tablesEnd);
    record.Password_Add = place(record.Password.size(), 0);
    for (qint64 i = 0; i < K; ++i) {
        TTLS_Certificate &cert = tls.Known_Cert[i];
        cert.Certificate_Length = utf8Length(cert.Certificate) + 1;
        cert.Certificate_Add = place(cert.Certificate_Length - 1, quint32(base + R));
    }
    for (TIEC61850_Var &var : record.Variables)
        var.Name_Add = place(var.Name.size(), quint32(base + R));

    const qint64 end = position + R;
    if (end - 1 > highestOffset) {
        if (needed)
            *needed = end;
        return -1;
    }

    ensureSize(block, end);
    quint8 *h = bytesAt(block, position);
    put16(h + 0, record.port);
    put32(h + 2, record.TLS_Enable);
    put32(h + 6, tls.key_add);
    put32(h + 10, tls.Key_Length - 1);
    put32(h + 14, tls.Key_Password_Add);
    put32(h + 18, tls.Server_Cert.Certificate_Add);
    put32(h + 22, tls.Server_Cert.Certificate_Length - 1);
    put32(h + 26, tls.Root_Cert.Certificate_Add);
    put32(h + 30, tls.Root_Cert.Certificate_Length - 1);
    put32(h + 34, quint32(K));
    put32(h + 38, tls.Known_Cert_Add);
    put32(h + 42, record.Password_Add);
    put32(h + 46, record.Var_Number);
    put32(h + 50, record.Var_Add);

    quint8 *entry = h + Section_Header_Size;
    for (qint64 i = 0; i < K; ++i, entry += Known_Cert_Entry_Size) {
        put32(entry + 0, tls.Known_Cert[i].Certificate_Add);
        put32(entry + 4, tls.Known_Cert[i].Certificate_Length - 1);
    }
    for (const TIEC61850_Var &var : record.Variables) {
        quint32 factorBits = 0;
        std::memcpy(&factorBits, &var.Multiplication_Factor, 4);
        put32(entry + 0, var.Name_Add);
        put32(entry + 4, var.Data_Type);
        put32(entry + 8, var.Position);
        put32(entry + 12, var.Start_Bit);
        put32(entry + 16, var.Length);
        put32(entry + 20, var.Read_Only);
        put32(entry + 24, factorBits);
        put16(entry + 28, var.Operation);
        put16(entry + 30, var.Options);
        entry += Variable_Entry_Size;
    }
    *entry = 0; // ends the tables

    qint64 at = position + Z + 1;
    at = Put_UTF8_Text(tls.key, at, block);
    at = Put_UTF8_Text(tls.Key_Password, at, block);
    at = Put_UTF8_Text(tls.Server_Cert.Certificate, at, block);
    at = Put_UTF8_Text(tls.Root_Cert.Certificate, at, block);
    at = Put_Byte_Text(record.Password, at, block);
    for (qint64 i = 0; i < K; ++i)
        at = Put_UTF8_Text(tls.Known_Cert[i].Certificate, at, block);
    for (const TIEC61850_Var &var : record.Variables)
        at = Put_Byte_Text(var.Name, at, block);
    Q_ASSERT(at == end);
    return at;
}

quint32 parameterBlockChecksum(const quint8 *block)
{
    quint32 sum = 0;
    for (int i = 0; i < Checksum_Offset; ++i)
        sum += block[i];
    return sum;
}

ImageBuildResult Build_Image(const ImageSources &sources, QChar separator)
{
    ImageBuildResult result;
    ParameterBlock block = resetParameterBlock();
    TIEC61850 record;
    QString ntpServerName;

    const struct {
        const QString &file;
        XmlLoadResult loaded;
    } steps[] = {
        {sources.ParGen_File, Read_ParGen(sources.ParGen_File, block, record, ntpServerName)},
        {sources.IEC61850_Variables_File,
         Read_IEC61850_Variables(sources.IEC61850_Variables_File, separator, record)},
        {sources.TLS_Known_Cert_File, Read_TLS_Known_Cert(sources.TLS_Known_Cert_File, record)},
    };
    for (const auto &step : steps) {
        if (!step.loaded.ok() && step.loaded.status != XmlLoadResult::Missing) {
            result.error = loadError(step.loaded, step.file);
            return result;
        }
    }

    put32(&block[Off_NTP_Name_Add], ntpServerName.isEmpty() ? 0 : Bank2_Address);
    put32(&block[Off_Section_Add], Section_Address);

    QByteArray data;
    const qint64 sectionStart = Write_NTP_Area(ntpServerName, 0, data);
    qint64 needed = 0;
    if (Write_IEC61850_Section(record, Section_Address, sectionStart, data, Bank2_Highest_Offset,
                               &needed) < 0) {
        result.error.kind = ImageError::Capacity;
        result.error.needed = needed;
        result.error.limit = Bank2_Capacity;
        result.error.message =
            QStringLiteral("the data block needs %1 bytes, more than the %2 bytes the device holds")
                .arg(needed)
                .arg(Bank2_Capacity);
        return result;
    }

    put32(&block[Checksum_Offset], parameterBlockChecksum(block.data()));
    result.image.bank1 = QByteArray(reinterpret_cast<const char *>(block.data()), Bank1_Size);
    result.image.bank2 = std::move(data);
    return result;
}

ImageError Save_Image_Files(const ConfigurationImage &image, const QString &binDir)
{
    const QDir dir(binDir);
    const QString paths[2] = {dir.filePath(ProjectFolder::Bank1_File_Name),
                              dir.filePath(ProjectFolder::Bank2_File_Name)};
    const QByteArray *data[2] = {&image.bank1, &image.bank2};
    const auto fail = [](const QString &file, const QString &message) {
        ImageError error;
        error.kind = ImageError::Write;
        error.file = file;
        error.message = message;
        return error;
    };

    if (!QDir().mkpath(binDir))
        return fail(paths[0], QStringLiteral("the folder %1 cannot be created")
                                  .arg(QDir::toNativeSeparators(binDir)));

    // Both files are written completely before either replaces its old copy,
    // so a failed write never leaves a new bank beside an old one.
    QSaveFile files[2] = {QSaveFile(paths[0]), QSaveFile(paths[1])};
    for (int i = 0; i < 2; ++i) {
        if (!files[i].open(QIODevice::WriteOnly))
            return fail(paths[i], files[i].errorString());
        // flush() is where a full disk shows: commit() would not report it.
        if (files[i].write(*data[i]) != data[i]->size() || !files[i].flush()) {
            const QString reason = files[i].errorString();
            files[i].cancelWriting();
            return fail(paths[i], reason);
        }
    }
    // Should bank 2 fail to replace its old copy, bank 1 goes back to its
    // old bytes, so the pair on disk is always one image.
    QByteArray oldBank1;
    const bool hadBank1 = readRegularFile(paths[0], oldBank1, 16 * Bank2_Capacity).ok();
    if (!files[0].commit())
        return fail(paths[0], files[0].errorString());
    if (!files[1].commit()) {
        const ImageError error = fail(paths[1], files[1].errorString());
        // Failing that, better no bank 1 than a new bank 1 beside an old bank 2.
        if (!hadBank1 || !writeFileAtomically(paths[0], oldBank1, nullptr))
            QFile::remove(paths[0]);
        return error;
    }
    return {};
}

} // namespace mirandel
