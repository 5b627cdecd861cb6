// Every reader of the program's XML files refuses a file that is not
// well-formed, with the file, line and column, and changes nothing.

#include "cli/cli_test_support.h"
#include "core/app/app_context.h"
#include "core/app/settings_file.h"
#include "core/iec61850/variable_table.h"
#include "core/lang/language_file.h"
#include "core/image/image_test_support.h"
#include "core/params/par_gen.h"
#include "core/tls/known_cert_list.h"
#include "test_files.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>

using namespace mirandel;
using namespace mirandel::test;

namespace {

// Documents a conforming parser refuses; ROOT stands for the file's root.
const struct {
    const char *name;
    const char *xml;
} Malformed_Documents[] = {
    {"two root elements", "<ROOT><X>1</X></ROOT><Other/>"},
    {"text after the root", "<ROOT/>\ntail"},
    {"undefined entity", "<ROOT>\n<X>&nbsp;</X></ROOT>"},
    {"lone ampersand", "<ROOT><X>a & b</X></ROOT>"},
    {"'<' in an attribute value", "<ROOT>\n<row Name=\"a<b\"/></ROOT>"},
    {"duplicate attribute", "<ROOT><row Name=\"a\" Name=\"b\"/></ROOT>"},
    {"byte that is not UTF-8", "<ROOT>\n<X Name=\"caf\xE9\">caf\xE9</X></ROOT>"},
    {"byte undefined in the declared encoding",
     "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<ROOT><X>\x81</X></ROOT>"},
};

struct Reader {
    const char *file;
    const char *root;
    // Runs the reader over the project (or workspace) folder.
    std::function<XmlLoadResult(const QString &dir)> read;
};

const Reader Readers[] = {
    {"ParGen.xml", "Par_Gen",
     [](const QString &dir) {
         ParGen values;
         return loadParGen(QDir(dir).filePath(QStringLiteral("ParGen.xml")), values);
     }},
    {"IEC61850_Variables.xml", "IEC61850_Variables",
     [](const QString &dir) {
         GridRows table = makeVariableTable();
         return loadVariableTable(QDir(dir).filePath(QStringLiteral("IEC61850_Variables.xml")), table).xml;
     }},
    {"TLS_Known_Cert.xml", "TLS_Known_Cert",
     [](const QString &dir) {
         GridRows list = makeKnownCertList();
         return loadKnownCertList(QDir(dir).filePath(QStringLiteral("TLS_Known_Cert.xml")), list).xml;
     }},
    {"Mirandel.xml", "Conf_Settings",
     [](const QString &dir) {
         AppContext context;
         context.Exe_Dir = dir;
         return readSettings(context);
     }},
};

TEST(MalformedFiles, EveryReaderRefusesThemWithFileLineAndColumn)
{
    for (const Reader &reader : Readers) {
        for (const auto &doc : Malformed_Documents) {
            SCOPED_TRACE(std::string(reader.file) + ": " + doc.name);
            const QByteArray bytes = QByteArray(doc.xml).replace("ROOT", reader.root);
            pugi::xml_document parsed;
            const XmlLoadResult expected = parseXml(bytes, parsed);
            ASSERT_EQ(expected.status, XmlLoadResult::Malformed);

            TempProject project;
            const QString path = project.file(QString::fromUtf8(reader.file));
            writeAll(path, bytes);
            const XmlLoadResult r = reader.read(project.dir());
            EXPECT_EQ(r.status, XmlLoadResult::Malformed);
            EXPECT_EQ(r.line, expected.line);
            EXPECT_EQ(r.column, expected.column);
            EXPECT_EQ(r.message, expected.message);
            EXPECT_EQ(readAll(path), bytes) << "the reader changed the file";
            if (QByteArray(reader.root) == "Conf_Settings")
                continue;

            // The image builder and the CLI refuse it the same way, and
            // write no image.
            const CliRun build = runCli({QStringLiteral("build-image"), project.dir()});
            EXPECT_EQ(build.code, 1);
            EXPECT_TRUE(build.err.contains(QDir::toNativeSeparators(path))) << build.err.toStdString();
            EXPECT_TRUE(build.err.contains(QStringLiteral("at line %1, column %2").arg(r.line).arg(r.column)))
                << build.err.toStdString();
            EXPECT_FALSE(QFileInfo::exists(project.file(QStringLiteral("bin/bank1.bin"))));
            EXPECT_FALSE(QFileInfo::exists(project.file(QStringLiteral("bin/bank2.bin"))));
            EXPECT_EQ(readAll(path), bytes);
        }
    }
}

// A file that declares its encoding is decoded by it: in the image, byte
// texts carry the low 8 bits of each character, TLS texts are UTF-8.
TEST(MalformedFiles, DeclaredWindows1252ReachesTheImageAsItsCharacters)
{
    TempProject project;
    writeAll(project.file(QStringLiteral("ParGen.xml")),
             "<?xml version=\"1.0\" encoding=\"windows-1252\"?>"
             "<Par_Gen><IEC61850_Server_Name_Of_Server>caf\xE9</IEC61850_Server_Name_Of_Server>"
             "<TLS_Server_Enable>1</TLS_Server_Enable><TLS_Server_Key>\x80</TLS_Server_Key></Par_Gen>");
    const ImageBuildResult built = Build_Image(project.sources(), u'.');
    ASSERT_TRUE(built.ok()) << built.error.describe().toStdString();
    EXPECT_TRUE((built.image.bank1 + built.image.bank2).contains(QByteArray("caf\xE9\0", 5)));
    EXPECT_TRUE(built.image.bank2.contains(QByteArray("\0\xE2\x82\xAC\0", 5)));
    EXPECT_FALSE(built.image.bank2.contains("\xEF\xBF\xBD"));
}

} // namespace

namespace {

// An element whose content is not one text node cannot be read: it takes the
// value of a missing element in the dialog's reader, in the check and in the
// image alike.
TEST(UnreadableElements, TakeTheValueOfAMissingElementEverywhere)
{
    TempProject unreadable;
    writeAll(unreadable.file(QStringLiteral("ParGen.xml")),
             "<Par_Gen><IEC61850_Server_Port>1<!--x-->2</IEC61850_Server_Port>"
             "<DNETS_ID_DEV><a/>99</DNETS_ID_DEV>"
             "<TLS_Server_Enable>1</TLS_Server_Enable>"
             "<TLS_Server_Key>AAA<!--x-->BBB</TLS_Server_Key>"
             "<NTP_Server_URL><![CDATA[pool<1>]]></NTP_Server_URL>"
             "<IEC61850_Server_Password></IEC61850_Server_Password></Par_Gen>");
    TempProject missing;
    writeAll(missing.file(QStringLiteral("ParGen.xml")), "<Par_Gen><TLS_Server_Enable>1</TLS_Server_Enable>"
                                                         "<NTP_Server_URL>pool&lt;1&gt;</NTP_Server_URL>"
                                                         "<IEC61850_Server_Password/></Par_Gen>");

    ParGen values;
    ASSERT_TRUE(loadParGen(unreadable.file(QStringLiteral("ParGen.xml")), values).ok());
    EXPECT_EQ(values.text(Par_IEC61850_Server_Port), QStringLiteral("102"));
    EXPECT_EQ(values.text(Par_DNETS_ID_DEV), QStringLiteral("10"));
    EXPECT_EQ(values.text(Par_TLS_Server_Key), QString());
    EXPECT_EQ(values.text(Par_NTP_Server_URL), QStringLiteral("pool<1>"));
    ParGen expected;
    ASSERT_TRUE(loadParGen(missing.file(QStringLiteral("ParGen.xml")), expected).ok());
    EXPECT_EQ(values, expected);

    const ImageBuildResult a = Build_Image(unreadable.sources(), u'.');
    const ImageBuildResult b = Build_Image(missing.sources(), u'.');
    ASSERT_TRUE(a.ok() && b.ok());
    EXPECT_EQ(a.image.bank1, b.image.bank1);
    EXPECT_EQ(a.image.bank2, b.image.bank2);

    const CliRun check = runCli({QStringLiteral("check"), unreadable.dir()});
    const CliRun checkMissing = runCli({QStringLiteral("check"), missing.dir()});
    EXPECT_EQ(check.code, checkMissing.code);
    EXPECT_EQ(check.out, QString(checkMissing.out).replace(missing.dir(), unreadable.dir()));
}

} // namespace

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

// Readers of project files, settings, language files and banks open regular
// files only: a folder or a FIFO is refused at once with a clear message
// (a FIFO would otherwise block the reader for ever).
TEST(NonRegularFiles, EveryReaderRefusesThemWithoutBlocking)
{
    QTemporaryDir dir;
    QStringList paths{dir.filePath(QStringLiteral("folder"))};
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
#ifdef Q_OS_UNIX
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    paths.append(fifo);
#endif
    for (const QString &path : paths) {
        SCOPED_TRACE(path.toStdString());
        pugi::xml_document doc;
        const XmlLoadResult xml = loadXmlFile(path, doc);
        EXPECT_EQ(xml.status, XmlLoadResult::Unreadable);
        EXPECT_TRUE(xml.message.contains(QStringLiteral("not a regular file"))) << xml.message.toStdString();

        TextTable table;
        table.Fill_Default_Texts();
        const LanguageReadResult lang = Read_Language_File(path, table);
        EXPECT_FALSE(lang.opened);
        EXPECT_TRUE(lang.error.contains(QStringLiteral("not a regular file")));

        const CliRun inspect = runCli({QStringLiteral("inspect"), path});
        EXPECT_EQ(inspect.code, 1);
        EXPECT_TRUE(inspect.err.contains(QStringLiteral("not a regular file"))) << inspect.err.toStdString();
    }

    // A project file that is a FIFO stops the build with its name.
    TempProject project;
#ifdef Q_OS_UNIX
    ASSERT_EQ(::mkfifo(QFile::encodeName(project.file(QStringLiteral("ParGen.xml"))).constData(), 0600), 0);
#else
    ASSERT_TRUE(QDir(project.dir()).mkdir(QStringLiteral("ParGen.xml")));
#endif
    const CliRun build = runCli({QStringLiteral("build-image"), project.dir()});
    EXPECT_EQ(build.code, 1);
    EXPECT_TRUE(build.err.contains(QStringLiteral("ParGen.xml"))) << build.err.toStdString();
    EXPECT_TRUE(build.err.contains(QStringLiteral("not a regular file"))) << build.err.toStdString();
    const CliRun check = runCli({QStringLiteral("check"), project.dir()});
    EXPECT_EQ(check.code, 1);
    EXPECT_TRUE(check.out.contains(QStringLiteral("not a regular file"))
                || check.err.contains(QStringLiteral("not a regular file")))
        << check.out.toStdString() << check.err.toStdString();
}

} // namespace
