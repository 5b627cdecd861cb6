#include "cli/cli_test_support.h"
#include "core/image/image_test_support.h"
#include "core/image/overlapping_bank.h"

#include <QJsonDocument>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <functional>

using namespace mirandel;
using namespace mirandel::test;

namespace {

const QString richDir = QStringLiteral(MIRANDEL_FIXTURES "/image/rich");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A copy of the rich fixture project in a temporary folder.
class RichProject : public TempProject {
public:
    RichProject()
    {
        for (const char *name : {"ParGen.xml", "IEC61850_Variables.xml", "TLS_Known_Cert.xml"})
            QFile::copy(richDir + QLatin1Char('/') + QString::fromUtf8(name), file(QString::fromUtf8(name)));
    }
};

TEST(CliBuildImage, WritesBothBanksIntoTheProjectBinFolder)
{
    RichProject project;
    const CliRun r = runCli({QStringLiteral("build-image"), project.dir()});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(readAll(project.file(QStringLiteral("bin/bank1.bin"))), readAll(richDir + QStringLiteral("/bank1.bin")));
    EXPECT_EQ(readAll(project.file(QStringLiteral("bin/bank2.bin"))), readAll(richDir + QStringLiteral("/bank2.bin")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("bank1.bin: 2048 bytes"))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("bank2.bin: 1583 bytes"))) << r.out.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
}

TEST(CliBuildImage, OutOptionChoosesTheFolder)
{
    RichProject project;
    QTemporaryDir out;
    const CliRun r = runCli({QStringLiteral("build-image"), QStringLiteral("--out"), out.path(), project.dir()});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(QFileInfo(out.filePath(QStringLiteral("bank1.bin"))).size(), 2048);
    EXPECT_EQ(QFileInfo(out.filePath(QStringLiteral("bank2.bin"))).size(), 1583);
    EXPECT_FALSE(QFileInfo::exists(project.file(QStringLiteral("bin"))));
}

TEST(CliBuildImage, FailuresExitWithOneAndWriteNothing)
{
    const struct {
        const char *name;
        std::function<void(const TempProject &)> setUp;
        const char *message;
    } cases[] = {
        {"malformed XML", [](const TempProject &p) { p.raw(QStringLiteral("IEC61850_Variables.xml"), "<a><b></a>"); },
         "IEC61850_Variables.xml: "},
        {"capacity",
         [](const TempProject &p) { p.parGen({{QStringLiteral("TLS_Server_Key"), QString(600000, u'k')}}); },
         "601080 bytes"},
        {"bin is a file", [](const TempProject &p) { p.raw(QStringLiteral("bin"), "x"); }, "bank1.bin"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TempProject project;
        c.setUp(project);
        const CliRun r = runCli({QStringLiteral("build-image"), project.dir()});
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(project.file(QStringLiteral("bin/bank1.bin"))));
        EXPECT_FALSE(QFileInfo::exists(project.file(QStringLiteral("bin/bank2.bin"))));
    }

    const CliRun missing = runCli({QStringLiteral("build-image"), QStringLiteral("/nonexistent/project")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("No project folder")));
}

TEST(CliImageCommands, UsageErrorsExitWithTwo)
{
    const QStringList usages[] = {
        {QStringLiteral("build-image")},
        {QStringLiteral("build-image"), QStringLiteral("a"), QStringLiteral("b")},
        {QStringLiteral("build-image"), QStringLiteral("a"), QStringLiteral("--out")},
        {QStringLiteral("build-image"), QStringLiteral("a"), QStringLiteral("--force")},
        {QStringLiteral("inspect")},
        {QStringLiteral("inspect"), QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")},
        {QStringLiteral("inspect"), QStringLiteral("a"), QStringLiteral("--xml")},
    };
    for (const QStringList &args : usages) {
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        const CliRun r = runCli(args);
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(r.err.contains(QStringLiteral("Usage")));
    }
}

TEST(CliInspect, ReportsASoundImage)
{
    const QString bank1 = richDir + QStringLiteral("/bank1.bin");
    const QString bank2 = richDir + QStringLiteral("/bank2.bin");
    const CliRun text = runCli({QStringLiteral("inspect"), bank1, bank2});
    EXPECT_EQ(text.code, 0) << text.out.toStdString();
    for (const char *part : {"Checksum                 4362 (verified)", "NTP server name          \"pool.ntp.org\"",
                             "\"Voltage_L1\" at 0x80614", "No inconsistency found."})
        EXPECT_TRUE(text.out.contains(QString::fromUtf8(part))) << part;

    const CliRun json = runCli({QStringLiteral("inspect"), QStringLiteral("--json"), bank1, bank2});
    ASSERT_EQ(json.code, 0);
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(json.out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    EXPECT_TRUE(root.value(QStringLiteral("consistent")).toBool());
    EXPECT_EQ(root[QStringLiteral("bank1")][QStringLiteral("Checksum")].toInt(), 4362);
    const QJsonObject section = root[QStringLiteral("bank2")][QStringLiteral("section")].toObject();
    EXPECT_EQ(section[QStringLiteral("port")].toInt(), 8102);
    EXPECT_EQ(section[QStringLiteral("Key_Password")].toString(), QString::fromUtf8("kp\xC3\xA4ssw\xC3\xB6rd"));
    EXPECT_EQ(section[QStringLiteral("Variables")].toArray().size(), 3);

    EXPECT_EQ(runCli({QStringLiteral("inspect"), bank1}).code, 0); // bank 1 alone
}

TEST(CliInspect, InconsistentOrUnreadableImagesExitWithOne)
{
    QTemporaryDir dir;
    QByteArray bank1 = readAll(richDir + QStringLiteral("/bank1.bin"));
    bank1[0x28] = 11;
    const QString damaged = dir.filePath(QStringLiteral("bank1.bin"));
    writeText(damaged, bank1);
    const CliRun r = runCli({QStringLiteral("inspect"), damaged});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.contains(QStringLiteral("checksum mismatch"))) << r.out.toStdString();

    const CliRun json = runCli({QStringLiteral("inspect"), damaged, QStringLiteral("--json")});
    EXPECT_EQ(json.code, 1);
    EXPECT_FALSE(QJsonDocument::fromJson(json.out.toUtf8()).object()[QStringLiteral("issues")].toArray().isEmpty());

    const CliRun missing = runCli({QStringLiteral("inspect"), dir.filePath(QStringLiteral("none.bin"))});
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("Cannot read")));
}

// A file far larger than any bank is refused before it is read into memory
// (a device file such as /dev/zero never ends at all).
TEST(CliInspect, AFileFarLargerThanABankIsNotRead)
{
    QTemporaryDir dir;
    const QString bank1 = richDir + QStringLiteral("/bank1.bin");
    const QString huge = dir.filePath(QStringLiteral("huge.bin"));
    {
        QFile file(huge);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(8 * 1024 * 1024 + 1)); // sparse: costs no disk
    }
    for (const QStringList &files : {QStringList{huge}, QStringList{bank1, huge}}) {
        SCOPED_TRACE(files.join(QLatin1Char(' ')).toStdString());
        const CliRun r = runCli(QStringList{QStringLiteral("inspect")} + files);
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.out.isEmpty()) << r.out.left(200).toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("huge.bin"))) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("8388608"))) << r.err.toStdString();
    }

    // Up to the limit the file is decoded (and found inconsistent).
    QFile file(huge);
    ASSERT_TRUE(file.resize(8 * 1024 * 1024));
    const CliRun r = runCli({QStringLiteral("inspect"), bank1, huge});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.contains(QStringLiteral("more than the 524288 bytes"))) << r.err.toStdString();
}

// Entries that all point into one long text print each text within the size
// of the block: 20 million characters would come out uncut.
TEST(CliInspect, TextsThatOverlapAgainAndAgainPrintCut)
{
    QTemporaryDir dir;
    const QString bank2 = dir.filePath(QStringLiteral("bank2.bin"));
    for (const bool terminated : {true, false}) {
        SCOPED_TRACE(terminated ? "zero-terminated names" : "known certificates with a length");
        writeText(bank2, overlappingBank2(terminated));
        const CliRun r = runCli({QStringLiteral("inspect"), richDir + QStringLiteral("/bank1.bin"), bank2});
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.out.contains(QStringLiteral("overlap")));
        EXPECT_LT(r.out.size(), 1000000);
    }
}

// A crafted bank of 8 MiB with a quarter of a million bad variable entries:
// the JSON report counts repeated issues instead of listing each.
TEST(CliInspect, CraftedBankGivesASmallJsonReport)
{
    QTemporaryDir dir;
    QByteArray bank2(8 * 1024 * 1024, '\xFF');
    bank2.replace(0, 1024, QByteArray(1024, '\0'));
    const auto poke32 = [&bank2](qint64 at, quint32 value) {
        for (int i = 0; i < 4; ++i)
            bank2[at + i] = char(value >> (8 * i));
    };
    poke32(1024 + 34, 0);
    poke32(1024 + 38, 0x80436);
    poke32(1024 + 46, quint32((bank2.size() - 1078) / 32));
    poke32(1024 + 50, 0x80436);
    const QString bank2File = dir.filePath(QStringLiteral("bank2.bin"));
    writeText(bank2File, bank2);
    const CliRun r =
        runCli({QStringLiteral("inspect"), richDir + QStringLiteral("/bank1.bin"), bank2File, QStringLiteral("--json")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.contains(QStringLiteral("more issue(s) like"))) << r.out.left(2000).toStdString();
    EXPECT_LT(r.out.size(), 100000);
}

} // namespace
