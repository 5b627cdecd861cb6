// Checks the language files and flag pictures shipped in resources/LANGUAGE
// against the built-in English texts, so that a text added to the program
// without its translations, or a translation that drops a blank or a
// placeholder the code fills in, fails here rather than on screen.

#include "core/lang/language_file.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace mirandel;

namespace {

QString languageDir()
{
    return QDir(QStringLiteral(MIRANDEL_SOURCE_DIR)).filePath(QStringLiteral("resources/LANGUAGE"));
}

QStringList placeholders(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("%\\d"));
    QStringList found;
    for (auto it = re.globalMatch(text); it.hasNext();)
        found.append(it.next().captured());
    found.sort();
    return found;
}

TEST(ShippedLanguages, TheExpectedLanguagesAreShipped)
{
    const QStringList files = languageFileList(languageDir());
    for (const char16_t *name : {u"Deutsch.lng", u"English.lng", u"Español.lng", u"Français.lng", u"Italiano.lng"})
        EXPECT_TRUE(files.contains(QString::fromUtf16(name))) << QString::fromUtf16(name).toStdString();
}

TEST(ShippedLanguages, EveryFileTranslatesEveryUsedText)
{
    const QStringList files = languageFileList(languageDir());
    ASSERT_FALSE(files.isEmpty());
    const QList<int> used = usedTextIndices();
    for (const QString &file : files) {
        SCOPED_TRACE(file.toStdString());
        TextTable table;
        const LanguageReadResult result = Read_Language_File(QDir(languageDir()).filePath(file), table);
        ASSERT_TRUE(result.opened);
        EXPECT_EQ(result.ignored, 0) << result.ignoredLines.join(u'\n').toStdString();

        QStringList missing;
        for (int i : used) {
            if (!result.storedIndices.contains(i))
                missing.append(QString::number(i));
        }
        EXPECT_TRUE(missing.isEmpty()) << "not translated: " << missing.join(u' ').toStdString();

        for (int i : used) {
            const QString english = englishText(i);
            const QString text = table.text(i);
            SCOPED_TRACE(i);
            EXPECT_FALSE(text.trimmed().isEmpty());
            // Code appends values to these texts, so their outer blanks must survive.
            if (english.startsWith(u' ')) {
                EXPECT_TRUE(text.startsWith(u' ')) << text.toStdString();
            }
            if (english.endsWith(u' ')) {
                EXPECT_TRUE(text.endsWith(u' ')) << text.toStdString();
            }
            EXPECT_EQ(placeholders(text), placeholders(english)) << text.toStdString();
        }
    }
}

TEST(ShippedLanguages, EnglishFileReadsBackToTheBuiltInTable)
{
    TextTable table;
    for (int i = 0; i < TextTable::Text_Count; ++i)
        table.setText(i, QStringLiteral("stale"));
    const LanguageReadResult result =
        Read_Language_File(QDir(languageDir()).filePath(QStringLiteral("English.lng")), table);
    ASSERT_TRUE(result.opened);
    EXPECT_EQ(result.ignored, 0);
    EXPECT_EQ(result.storedIndices.size(), TextTable::Text_Count);
    for (int i = 0; i < TextTable::Text_Count; ++i)
        ASSERT_EQ(table.text(i), englishText(i)) << "index " << i << ": regenerate English.lng";
}

// Every language has its flag, and the default flag exists: small
// uncompressed 24-bit BMPs.
TEST(ShippedLanguages, FlagPicturesAreUncompressedBitmaps)
{
    QStringList pictures{QStringLiteral("DefaultFlag.bmp")};
    for (const QString &file : languageFileList(languageDir()))
        pictures.append(file.chopped(4) + QStringLiteral(".bmp"));
    for (const QString &picture : pictures) {
        SCOPED_TRACE(picture.toStdString());
        QFile f(QDir(languageDir()).filePath(picture));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray data = f.readAll();
        ASSERT_GE(data.size(), 54);
        auto le = [&](int offset, int bytes) {
            quint32 v = 0;
            for (int k = bytes - 1; k >= 0; --k)
                v = (v << 8) | quint8(data.at(offset + k));
            return v;
        };
        EXPECT_TRUE(data.startsWith("BM"));
        EXPECT_EQ(le(2, 4), quint32(data.size()));
        EXPECT_EQ(le(28, 2), 24u); // bits per pixel
        EXPECT_EQ(le(30, 4), 0u);  // no compression
        const quint32 width = le(18, 4);
        const quint32 height = le(22, 4);
        EXPECT_GT(width, 0u);
        EXPECT_GT(height, 0u);
        EXPECT_EQ(quint32(data.size()), le(10, 4) + ((width * 3 + 3) & ~3u) * height);
    }
}

} // namespace
