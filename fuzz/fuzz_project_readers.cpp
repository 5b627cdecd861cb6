// The readers of the project files and the settings, over one fuzzed file
// each run: ParGen.xml (dialog and image builder), both table files, and
// Mirandel.xml. Whatever the file holds, each reader returns a status and
// values, and a saved result reads back the same.

#include "core/app/app_context.h"
#include "core/app/settings_file.h"
#include "core/iec61850/variable_table.h"
#include "core/image/build_image.h"
#include "core/params/par_gen.h"
#include "core/tls/known_cert_list.h"
#include "fuzz_support.h"

using namespace mirandel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = fuzz::bytes(data, size);
    const QString path = fuzz::writeFile(QStringLiteral("file.xml"), input);

    ParGen values;
    const XmlLoadResult parGen = loadParGen(path, values);
    if (parGen.ok()) {
        const QString saved = QDir(fuzz::workDir().path()).filePath(QStringLiteral("saved.xml"));
        QString error;
        FUZZ_ASSERT(saveParGen(values, saved, &error));
        ParGen back;
        FUZZ_ASSERT(loadParGen(saved, back).ok());
        // The multi-line texts may lose CR to end-of-line handling.
        for (int row = 0; row < Par_Count; ++row) {
            if (parRowInfo(row).kind != ParKind::Text)
                continue;
            const auto lines = [](QString t) {
                return withoutNonXmlChars(
                    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n'));
            };
            FUZZ_ASSERT(lines(back.text(row)) == lines(values.text(row)));
        }
    }

    ParameterBlock block = resetParameterBlock();
    TIEC61850 record;
    QString ntp;
    FUZZ_ASSERT(Read_ParGen(path, block, record, ntp).status == parGen.status);
    FUZZ_ASSERT(Read_IEC61850_Variables(path, u'.', record).status == parGen.status);
    FUZZ_ASSERT(Read_TLS_Known_Cert(path, record).status == parGen.status);

    GridRows variables = makeVariableTable();
    const TableLoadResult v = loadVariableTable(path, variables);
    FUZZ_ASSERT(v.xml.status == parGen.status);
    GridRows certs = makeKnownCertList();
    FUZZ_ASSERT(loadKnownCertList(path, certs).xml.status == parGen.status);

    AppContext context;
    context.Exe_Dir = fuzz::workDir().path();
    fuzz::writeFile(QStringLiteral("Mirandel.xml"), input);
    FUZZ_ASSERT(readSettings(context).status == parGen.status);
    return 0;
}
