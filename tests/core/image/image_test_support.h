#pragma once
// Project folders written by hand for the image tests, and little-endian
// readers for checking bytes at explicit offsets.

#include "core/image/build_image.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QPair>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace mirandel::test {

using Pairs = QList<QPair<QString, QString>>;

inline QString xmlEscape(QString text)
{
    text.replace(QLatin1Char('&'), QStringLiteral("&amp;"));
    text.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    text.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
    text.replace(QLatin1Char('"'), QStringLiteral("&quot;"));
    text.replace(QLatin1Char('\n'), QStringLiteral("&#10;"));
    return text;
}

inline void writeText(const QString &path, const QByteArray &data)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(data);
}

// A project folder in a temporary directory.
class TempProject {
public:
    QString dir() const { return m_dir.path(); }
    QString file(const QString &name) const { return QDir(m_dir.path()).filePath(name); }
    ImageSources sources() const { return ImageSources::inProject(m_dir.path()); }

    // ParGen.xml with one element per pair, in order.
    void parGen(const Pairs &elements) const
    {
        QString xml = QStringLiteral("<Par_Gen>");
        for (const auto &e : elements)
            xml += QStringLiteral("<%1>%2</%1>").arg(e.first, xmlEscape(e.second));
        xml += QStringLiteral("</Par_Gen><!--SW_VERSION = 1.000-->");
        writeText(file(QStringLiteral("ParGen.xml")), xml.toUtf8());
    }

    // A table file: one row element per list of attributes.
    void table(const QString &fileName, const QString &rootName, const QList<Pairs> &rows) const
    {
        QString xml = QStringLiteral("<%1>").arg(rootName);
        for (const Pairs &row : rows) {
            xml += QStringLiteral("<row");
            for (const auto &a : row)
                xml += QStringLiteral(" %1=\"%2\"").arg(a.first, xmlEscape(a.second));
            xml += QStringLiteral("/>");
        }
        xml += QStringLiteral("</%1><!--SW_VERSION = 1.000-->").arg(rootName);
        writeText(file(fileName), xml.toUtf8());
    }

    void variables(const QList<Pairs> &rows) const
    {
        table(QStringLiteral("IEC61850_Variables.xml"), QStringLiteral("IEC61850_Variables"), rows);
    }

    void knownCerts(const QList<Pairs> &rows) const
    {
        table(QStringLiteral("TLS_Known_Cert.xml"), QStringLiteral("TLS_Server_Known_Cert"), rows);
    }

    void raw(const QString &name, const QByteArray &data) const { writeText(file(name), data); }

private:
    QTemporaryDir m_dir;
};

// An enabled variable row with the given name and any further attributes.
inline Pairs variableRow(const QString &name, const Pairs &more = {})
{
    Pairs row{{QStringLiteral("Enable"), QStringLiteral("Y")}, {QStringLiteral("Name"), name}};
    row += more;
    return row;
}

inline Pairs certRow(const QString &certificate, const QString &enable = QStringLiteral("Y"))
{
    return {{QStringLiteral("Enable"), enable},
            {QStringLiteral("Certificate"), certificate},
            {QStringLiteral("Mnemonic"), QStringLiteral("m")}};
}

inline quint32 le32(const QByteArray &data, qint64 at)
{
    EXPECT_LE(at + 4, data.size()) << "read past the end at " << at;
    if (at + 4 > data.size())
        return 0xDEADBEEF;
    const auto *p = reinterpret_cast<const quint8 *>(data.constData()) + at;
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

inline quint32 le16(const QByteArray &data, qint64 at)
{
    EXPECT_LE(at + 2, data.size()) << "read past the end at " << at;
    if (at + 2 > data.size())
        return 0xDEADBEEF;
    const auto *p = reinterpret_cast<const quint8 *>(data.constData()) + at;
    return quint32(p[0]) | quint32(p[1]) << 8;
}

// The bytes [at, at + n) as a list, for readable comparisons.
inline std::vector<int> bytesAt(const QByteArray &data, qint64 at, qint64 n)
{
    std::vector<int> out;
    for (qint64 i = at; i < at + n && i < data.size(); ++i)
        out.push_back(quint8(data[i]));
    return out;
}

// Builds and expects success.
inline ConfigurationImage buildOk(const TempProject &project, QChar separator = u',')
{
    const ImageBuildResult result = Build_Image(project.sources(), separator);
    EXPECT_TRUE(result.ok()) << result.error.describe().toStdString();
    return result.image;
}

} // namespace mirandel::test
