// Build_Image over three fuzzed project files (ParGen.xml, then
// IEC61850_Variables.xml, then TLS_Known_Cert.xml, separated by lines
// "===="). Every image it builds decodes without an issue and gives back
// what was built.

#include "core/image/build_image.h"
#include "core/image/image_decoder.h"
#include "fuzz_support.h"

#include <cstring>

using namespace mirandel;

namespace {

// A byte text keeps the low 8 bits of each character; a character whose
// low byte is zero ends such a text early on the device, which the format
// cannot avoid, so those images are not compared.
bool cutByZero(const QString &text)
{
    for (QChar c : text) {
        if ((c.unicode() & 0xFF) == 0)
            return true;
    }
    return false;
}

QString lowBytes(const QString &text)
{
    QString out;
    for (QChar c : text)
        out += QChar(c.unicode() & 0xFF);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<QByteArray> files = fuzz::split(fuzz::bytes(data, size), 3);
    const QString dir = fuzz::workDir().path();
    fuzz::writeFile(QStringLiteral("ParGen.xml"), files[0]);
    fuzz::writeFile(QStringLiteral("IEC61850_Variables.xml"), files[1]);
    fuzz::writeFile(QStringLiteral("TLS_Known_Cert.xml"), files[2]);
    const ImageSources sources = ImageSources::inProject(dir);
    const ImageBuildResult built = Build_Image(sources, u'.');
    if (!built.ok())
        return 0;
    FUZZ_ASSERT(built.image.bank1.size() == 2048);

    // What the builder read, to compare with what the decoder finds.
    ParameterBlock block = resetParameterBlock();
    TIEC61850 record;
    QString ntp;
    Read_ParGen(sources.ParGen_File, block, record, ntp);
    Read_IEC61850_Variables(sources.IEC61850_Variables_File, u'.', record);
    Read_TLS_Known_Cert(sources.TLS_Known_Cert_File, record);
    if (cutByZero(record.Password) || cutByZero(ntp))
        return 0;
    for (const TIEC61850_Var &v : record.Variables) {
        if (cutByZero(v.Name))
            return 0;
    }

    const DecodedImage d = decodeImage(built.image.bank1, built.image.bank2);
    if (!d.consistent()) {
        for (const QString &issue : d.issues)
            fprintf(stderr, "issue: %s\n", qPrintable(issue));
    }
    FUZZ_ASSERT(d.consistent());
    FUZZ_ASSERT(d.section.Variables.size() == record.Variables.size());
    for (qsizetype i = 0; i < record.Variables.size(); ++i) {
        const TIEC61850_Var &a = record.Variables[i];
        const TIEC61850_Var &b = d.section.Variables[i];
        FUZZ_ASSERT(b.Name == lowBytes(a.Name));
        FUZZ_ASSERT(b.Data_Type == a.Data_Type && b.Position == a.Position && b.Start_Bit == a.Start_Bit);
        FUZZ_ASSERT(b.Length == a.Length && b.Read_Only == a.Read_Only && b.Operation == a.Operation);
        FUZZ_ASSERT(std::memcmp(&b.Multiplication_Factor, &a.Multiplication_Factor, 4) == 0);
    }
    FUZZ_ASSERT(d.section.Password == lowBytes(record.Password));
    FUZZ_ASSERT(d.NTP_Server_Name == lowBytes(ntp).left(1023));
    const bool knownListOn = record.TLS_Enable == 1 && record.TLS_Data.Known_Cert_En == 1;
    FUZZ_ASSERT(d.section.TLS_Data.Known_Cert.size() == (knownListOn ? record.TLS_Data.Known_Cert.size() : 0));
    return 0;
}
