#include "core/tls/known_cert_list.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include "test_files.h"

using namespace mirandel;
using mirandel::test::readAll;
using mirandel::test::writeAll;

namespace {

const QString kPem = u"-----BEGIN CERTIFICATE-----\r\nMIIBszCCAVmgAwIBAgIUQ+/x\r\n"
                     "-----END CERTIFICATE-----\r\n"_qs;

TEST(KnownCertFile, MissingFileGivesTenEnabledEmptyRows)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"TLS_Known_Cert.xml"_qs);
    GridRows list = makeKnownCertList();
    list.setChecked(3, Cert_Enable, false);
    list.setText(3, Cert_Certificate, u"stale"_qs);
    EXPECT_EQ(loadKnownCertList(path, list).xml.status, XmlLoadResult::Missing);
    ASSERT_EQ(list.rowCount(), 10);
    for (int r = 0; r < list.rowCount(); ++r) {
        EXPECT_TRUE(list.isChecked(r, Cert_Enable));
        EXPECT_TRUE(list.text(r, Cert_Certificate).isEmpty());
        EXPECT_TRUE(list.text(r, Cert_Mnemonic).isEmpty());
    }
    ASSERT_TRUE(saveKnownCertList(list, path, nullptr));
    EXPECT_EQ(readAll(path), QByteArray("<TLS_Server_Known_Cert/><!--SW_VERSION = 1.000-->"));
}

TEST(KnownCertFile, OnlyTheExactTextNUnchecks)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"c.xml"_qs);
    writeAll(path, "<TLS_Server_Known_Cert>"
                   "<row Enable=\"N\" Certificate=\"a\"/><row Enable=\"n\"/><row Enable=\"0\"/>"
                   "<row Enable=\" N\"/><row/><row Enable=\"Y\" Mnemonic=\"m\"/>"
                   "</TLS_Server_Known_Cert>");
    GridRows list = makeKnownCertList();
    ASSERT_TRUE(loadKnownCertList(path, list).xml.ok());
    const bool expected[] = {false, true, true, true, true, true};
    for (int r = 0; r < 6; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(list.isChecked(r, Cert_Enable), expected[r]);
    }
    EXPECT_EQ(list.text(0, Cert_Certificate), u"a"_qs);
    EXPECT_EQ(list.text(5, Cert_Mnemonic), u"m"_qs);
}

TEST(KnownCertFile, SavesUpToTheFirstBlankCertificateAndRoundTripsExactly)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"c.xml"_qs);
    GridRows list = makeKnownCertList();
    list.setText(0, Cert_Certificate, kPem);
    list.setText(0, Cert_Mnemonic, u"Station \"A\" & <B> \u00e9\u00e8\n2nd line"_qs);
    list.setChecked(1, Cert_Enable, false);
    list.setText(1, Cert_Certificate, u"\tsecond\n"_qs);
    list.setText(2, Cert_Certificate, u" \r\n "_qs);
    list.setText(3, Cert_Certificate, u"below the blank one"_qs);
    ASSERT_TRUE(saveKnownCertList(list, path, nullptr));
    const QByteArray saved = readAll(path);
    EXPECT_TRUE(saved.startsWith("<TLS_Server_Known_Cert><row Enable=\"Y\" Certificate=\"-----BEGIN"));
    EXPECT_TRUE(saved.contains("<row Enable=\"N\" Certificate="));
    EXPECT_FALSE(saved.contains("below"));

    GridRows again = makeKnownCertList();
    ASSERT_TRUE(loadKnownCertList(path, again).xml.ok());
    for (int r = 0; r < 2; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(again.isChecked(r, Cert_Enable), list.isChecked(r, Cert_Enable));
        EXPECT_EQ(again.text(r, Cert_Certificate), list.text(r, Cert_Certificate));
        EXPECT_EQ(again.text(r, Cert_Mnemonic), list.text(r, Cert_Mnemonic));
    }
    EXPECT_TRUE(again.text(2, Cert_Certificate).isEmpty());
    EXPECT_TRUE(again.text(3, Cert_Certificate).isEmpty());
}

TEST(KnownCertFile, CountsRowsBeyondTheList)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"c.xml"_qs);
    QByteArray data("<TLS_Server_Known_Cert>");
    for (int i = 0; i < 12; ++i)
        data += "<row Certificate=\"c" + QByteArray::number(i) + "\"/>";
    writeAll(path, data + "</TLS_Server_Known_Cert>");
    GridRows list = makeKnownCertList();
    const TableLoadResult result = loadKnownCertList(path, list);
    EXPECT_EQ(result.droppedRows, 2);
    EXPECT_EQ(list.text(9, Cert_Certificate), u"c9"_qs);
}

} // namespace
