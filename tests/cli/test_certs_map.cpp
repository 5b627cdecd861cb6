// mirandel-cli certs and map, and the warnings check adds after its lines.

#include "cli/cli_test_support.h"
#include "test_pki.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace mirandel;
using namespace mirandel::test;

namespace {

struct Identities {
    TestIdentity root = makeIdentity({.commonName = QStringLiteral("Root"), .ca = true});
    TestIdentity server = makeIdentity({.commonName = QStringLiteral("gateway"), .serial = 2, .issuer = &root});
    TestIdentity soon = makeIdentity({.notAfterDays = 10, .serial = 3, .issuer = &root});
    TestIdentity other = makeIdentity({.commonName = QStringLiteral("client"), .serial = 4});
};

const Identities &ids()
{
    static const Identities instance;
    return instance;
}

class CliProject : public ::testing::Test {
protected:
    void write(const char *name, const QString &text)
    {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
    }
    // A parameter file that passes its check, TLS on with these texts.
    void writeTls(const QString &key, const QString &server, const QString &root)
    {
        write("ParGen.xml", QStringLiteral("<Par_Gen><TLS_Server_Enable>1</TLS_Server_Enable><TLS_Server_Key>%1"
                                           "</TLS_Server_Key><TLS_Server_Server_Certificate>%2"
                                           "</TLS_Server_Server_Certificate><TLS_Server_Root_Certificate>%3"
                                           "</TLS_Server_Root_Certificate><NTP_Poll_Time>60</NTP_Poll_Time></Par_Gen>")
                                .arg(key, server, root));
    }
    void writeKnown(const QStringList &certs)
    {
        QString rows;
        for (const QString &cert : certs)
            rows += QStringLiteral("<row Enable=\"Y\" Certificate=\"%1\" Mnemonic=\"\"/>")
                        .arg(QString(cert).replace(QStringLiteral("\n"), QStringLiteral("&#10;")));
        write("TLS_Known_Cert.xml", QStringLiteral("<TLS_Server_Known_Cert>%1</TLS_Server_Known_Cert>").arg(rows));
    }
    void writeVariables(const QString &rows)
    {
        write("IEC61850_Variables.xml", QStringLiteral("<IEC61850_Variables>%1</IEC61850_Variables>").arg(rows));
    }
    static QString variable(const char *name, int position, int length)
    {
        return QStringLiteral("<row Enable=\"Y\" Name=\"%1\" Type=\"Int\" Length=\"%2\" Position=\"%3\" "
                              "Conversion=\"None\" MultiplicationFactor=\"None\"/>")
            .arg(QString::fromLatin1(name))
            .arg(length)
            .arg(position);
    }
    CliRun run(QStringList args)
    {
        args.insert(1, dir.path());
        return runCli(args);
    }
    static QJsonObject json(const CliRun &r) { return QJsonDocument::fromJson(r.out.toUtf8()).object(); }

    QTemporaryDir dir;
};

TEST_F(CliProject, CertsListsTheSlotsThatHoldTextWithTheirFields)
{
    writeTls(ids().server.keyPem, ids().server.certPem, ids().root.certPem);
    writeKnown({ids().other.certPem});
    CliRun r = run({QStringLiteral("certs"), QStringLiteral("--json")});
    EXPECT_EQ(r.code, 0) << r.out.toStdString() << r.err.toStdString();
    const QJsonArray entries = json(r).value(QStringLiteral("entries")).toArray();
    QStringList names;
    for (const QJsonValue &e : entries)
        names.append(e[QStringLiteral("slot")].toString());
    EXPECT_EQ(names, (QStringList{QStringLiteral("key"), QStringLiteral("server"), QStringLiteral("root"),
                                  QStringLiteral("known:1")}));
    const QJsonObject key = entries[0][QStringLiteral("key")].toObject();
    EXPECT_EQ(key[QStringLiteral("type")].toString(), QStringLiteral("EC"));
    EXPECT_FALSE(key[QStringLiteral("encrypted")].toBool());
    const QJsonObject server = entries[1][QStringLiteral("certificate")].toObject();
    EXPECT_EQ(server[QStringLiteral("subject")].toString(), QStringLiteral("CN=gateway, O=Mirandel Test"));
    EXPECT_EQ(server[QStringLiteral("serial")].toString(), QStringLiteral("02"));
    EXPECT_EQ(server[QStringLiteral("sha256_fingerprint")].toString().size(), 32 * 3 - 1);
    EXPECT_TRUE(entries[1][QStringLiteral("problems")].toArray().isEmpty());
    EXPECT_FALSE(r.out.contains(QStringLiteral("PRIVATE KEY")));

    r = run({QStringLiteral("certs")});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("server:\n  subject: CN=gateway, O=Mirandel Test\n")))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("  CA: yes\n")));
}

TEST_F(CliProject, CertsExitsWithOneOnAProblemAndHonoursTheWarningPeriod)
{
    writeTls(ids().other.keyPem, ids().soon.certPem, ids().root.certPem);
    CliRun r = run({QStringLiteral("certs"), QStringLiteral("--json")});
    EXPECT_EQ(r.code, 1);
    const QJsonArray entries = json(r).value(QStringLiteral("entries")).toArray();
    EXPECT_EQ(entries[0][QStringLiteral("problems")].toArray(), QJsonArray{QStringLiteral("key-mismatch")});
    EXPECT_EQ(entries[1][QStringLiteral("problems")].toArray(), QJsonArray{QStringLiteral("expires-soon")});

    writeTls(ids().soon.keyPem, ids().soon.certPem, ids().root.certPem);
    EXPECT_EQ(run({QStringLiteral("certs")}).code, 1);
    r = run({QStringLiteral("certs"), QStringLiteral("--warn-days"), QStringLiteral("5")});
    EXPECT_EQ(r.code, 0) << r.out.toStdString();
}

TEST_F(CliProject, UsageErrorsAndUnreadableProjects)
{
    struct {
        QStringList args;
        int code;
    } cases[] = {
        {{QStringLiteral("certs")}, 2},
        {{QStringLiteral("map")}, 2},
        {{QStringLiteral("certs"), dir.path(), QStringLiteral("--warn-days")}, 2},
        {{QStringLiteral("certs"), dir.path(), QStringLiteral("--warn-days"), QStringLiteral("-3")}, 2},
        {{QStringLiteral("certs"), dir.path(), QStringLiteral("--warn-days"), QStringLiteral("x")}, 2},
        {{QStringLiteral("map"), dir.path(), QStringLiteral("--warn-days"), QStringLiteral("3")}, 2},
        {{QStringLiteral("map"), dir.path(), dir.path()}, 2},
        {{QStringLiteral("certs"), dir.filePath(QStringLiteral("nothing"))}, 1},
        {{QStringLiteral("map"), dir.filePath(QStringLiteral("nothing"))}, 1},
        {{QStringLiteral("certs"), dir.path()}, 0},
        {{QStringLiteral("map"), dir.path()}, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        EXPECT_EQ(runCli(c.args).code, c.code);
    }
    write("IEC61850_Variables.xml", QStringLiteral("<IEC61850_Variables><row></IEC61850_Variables>"));
    write("TLS_Known_Cert.xml", QStringLiteral("<a>"));
    for (const char *command : {"certs", "map"}) {
        const CliRun r = run({QString::fromLatin1(command)});
        EXPECT_EQ(r.code, 1) << command;
        EXPECT_TRUE(r.err.contains(QStringLiteral("cannot read "))) << r.err.toStdString();
    }
}

TEST_F(CliProject, MapListsTheRangesInPositionOrderAndTheProblems)
{
    writeVariables(variable("b", 10, 4) + variable("a", 0, 4) + variable("c", 12, 2));
    CliRun r = run({QStringLiteral("map")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out.toStdString(), "row 2 a: 0-3\nrow 1 b: 10-13\nrow 3 c: 12-13\n"
                                   "problem: overlap: rows 1 and 3 share bytes 12-13\n");
    r = run({QStringLiteral("map"), QStringLiteral("--json")});
    const QJsonObject map = json(r);
    EXPECT_EQ(map[QStringLiteral("variables")].toArray().size(), 3);
    EXPECT_TRUE(map[QStringLiteral("variables")][0][QStringLiteral("bit")].isNull());
    const QJsonObject problem = map[QStringLiteral("problems")][0].toObject();
    EXPECT_EQ(problem[QStringLiteral("code")].toString(), QStringLiteral("overlap"));
    EXPECT_EQ(problem[QStringLiteral("rows")].toArray(), (QJsonArray{1, 3}));
    EXPECT_EQ(problem[QStringLiteral("first")].toInt(), 12);

    writeVariables(variable("a", 0, 4) + variable("b", 4, 4));
    EXPECT_EQ(run({QStringLiteral("map")}).code, 0);
}

TEST_F(CliProject, CheckAddsWarningLinesWithoutChangingItsExitCode)
{
    writeTls(ids().other.keyPem, ids().server.certPem, ids().root.certPem);
    writeVariables(variable("a", 0, 4) + variable("b", 2, 4));
    const CliRun r = run({QStringLiteral("check")});
    EXPECT_EQ(r.code, 0) << r.out.toStdString();
    EXPECT_EQ(r.out.toStdString(), "ParGen.xml: OK\nIEC61850_Variables.xml: OK\n"
                                   "warning: key: key-mismatch: the key does not belong to the server certificate\n"
                                   "warning: IEC61850_Variables.xml: overlap: rows 1 and 2 share bytes 2-3\n");
}

} // namespace
