#include "core/lang/language_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace mirandel;

namespace {

struct LineCase {
    const char16_t *lines;
    int index;          // entry to look at
    const char16_t *expected; // nullptr: the English text stays
};

// Sample lines of a language file and their effect on the table.
TEST(LanguageFile, SampleLines)
{
    const LineCase cases[] = {
        {u"STR0013 = X", 13, u"X"},
        {u"STR0013=X", 1, u"X"},
        {u"STR0013=X", 13, nullptr},
        {u"    STR0013 = X", 13, u"X"},
        {u"str0013 = X", 13, nullptr},
        {u"STR4100 = X", 4099, nullptr},
        {u"STR-1 = X", 0, nullptr},
        {u"STR4099 = X", 4099, u"X"},
        {u"STR0009 = None Configuration Opened ", 9, u"None Configuration Opened"},
        {u"STR0009 = \u00B6None Configuration Opened \u00B6", 9, u"None Configuration Opened "},
        {u"STR0011 = \u00B6Opened Configuration of the Converter : \u00B6 /#/ main window", 11,
         u"Opened Configuration of the Converter : "},
        {u"STR0012 = X /#/ Y", 12, u"X"},
        {u"STR0012 = ", 12, nullptr},
        {u"STR0012 = /#/ only a remark", 12, nullptr},
        {u"STR0012 = \u00B6\u00B6", 12, u""},
        {u"STR0012 = X\nSTR0012 = Y", 12, u"Y"},
        {u"heading\r\n\r\nSTR0012 = X\rSTR0013 = Z", 13, u"Z"},
        {u"STR0012 X", 12, nullptr},
        {u"STRabc = X", 12, nullptr},
    };
    for (const LineCase &c : cases) {
        const QString lines = QString::fromUtf16(c.lines);
        SCOPED_TRACE(lines.toStdString());
        TextTable table;
        applyLanguageText(lines, table);
        const QString expected = c.expected ? QString::fromUtf16(c.expected) : englishText(c.index);
        EXPECT_EQ(table.text(c.index), expected);
    }
}

TEST(LanguageFile, OnlyTheNamedEntryChanges)
{
    TextTable table;
    const LanguageReadResult result = applyLanguageText(QStringLiteral("STR0013 = X"), table);
    EXPECT_EQ(result.stored, 1);
    EXPECT_EQ(result.ignored, 0);
    EXPECT_EQ(result.storedIndices, QSet<int>{13});
    for (int i = 0; i < TextTable::Text_Count; ++i) {
        if (i != 13) {
            ASSERT_EQ(table.text(i), englishText(i)) << i;
        }
    }
}

// Lines that set nothing are not reported as set; an index set twice is
// reported once; an entry emptied with pilcrows counts as set.
TEST(LanguageFile, ReportsWhichIndicesTheFileSet)
{
    TextTable table;
    const LanguageReadResult result = applyLanguageText(
        QStringLiteral("STR0012 = X\nSTR0012 = Y\nSTR0013 = \nSTR4100 = Z\nSTR0014 = \u00B6\u00B6\nSTR0015 = /#/ r"),
        table);
    EXPECT_EQ(result.stored, 3);
    EXPECT_EQ(result.ignored, 3);
    EXPECT_EQ(result.storedIndices, (QSet<int>{12, 14}));
}

TEST(LanguageFile, DecodesByByteOrderMarkElseUtf8ElseWindows1252)
{
    const QString text = QStringLiteral("STR0012 = Fran\u00E7ais \u20AC");
    EXPECT_EQ(decodeLanguageBytes(QByteArray("\xEF\xBB\xBF") + text.toUtf8()), text);
    EXPECT_EQ(decodeLanguageBytes(text.toUtf8()), text);
    QByteArray le("\xFF\xFE");
    QByteArray be("\xFE\xFF");
    for (QChar c : text) {
        le.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
        be.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
    }
    EXPECT_EQ(decodeLanguageBytes(le), text);
    EXPECT_EQ(decodeLanguageBytes(be), text);
    // Not valid UTF-8: Windows-1252 (0xE7 is c-cedilla, 0x80 the euro sign).
    EXPECT_EQ(decodeLanguageBytes(QByteArray("STR0012 = Fran\xE7" "ais \x80")), text);
}

class LanguageDir : public ::testing::Test {
protected:
    void write(const QString &name, const QByteArray &data)
    {
        QFile f(QDir(dir.path()).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
    QTemporaryDir dir;
};

TEST_F(LanguageDir, LoadLanguageFallsBackToEnglish)
{
    TextTable table;
    QString name = QStringLiteral("Klingon");
    Load_Language(table, name, dir.path());
    EXPECT_EQ(name, QStringLiteral("English"));
    EXPECT_EQ(table.text(9), QStringLiteral("None Configuration Opened "));

    write(QStringLiteral("English.lng"), "STR0000 = Start\n");
    name = QStringLiteral("Missing");
    Load_Language(table, name, dir.path());
    EXPECT_EQ(name, QStringLiteral("English"));
    EXPECT_EQ(table.text(0), QStringLiteral("Start"));
}

TEST_F(LanguageDir, SwitchingLanguagesStartsFromEnglishEachTime)
{
    write(QStringLiteral("A.lng"), "STR0000 = A0\nSTR0001 = A1\n");
    write(QStringLiteral("B.lng"), "STR0000 = B0\n");
    TextTable table;
    QString name = QStringLiteral("A");
    Load_Language(table, name, dir.path());
    EXPECT_EQ(table.text(1), QStringLiteral("A1"));
    name = QStringLiteral("B");
    Load_Language(table, name, dir.path());
    EXPECT_EQ(name, QStringLiteral("B"));
    EXPECT_EQ(table.text(0), QStringLiteral("B0"));
    EXPECT_EQ(table.text(1), englishText(1));
}

TEST_F(LanguageDir, ListsRegularLngFilesSortedWithoutCase)
{
    write(QStringLiteral("b.lng"), "");
    write(QStringLiteral("A.lng"), "");
    write(QStringLiteral("c.txt"), "");
    write(QStringLiteral("ReadOnly.lng"), "");
    QFile::setPermissions(QDir(dir.path()).filePath(QStringLiteral("ReadOnly.lng")), QFile::ReadOwner);
    write(QStringLiteral("Upper.LNG"), "STR0000 = U0\n");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Folder.lng")));
    EXPECT_EQ(languageFileList(dir.path()), (QStringList{QStringLiteral("A.lng"), QStringLiteral("b.lng"),
                                                         QStringLiteral("ReadOnly.lng"), QStringLiteral("Upper.LNG")}));
    // The listed name loads whatever the letter case of its extension.
    TextTable table;
    QString name = QStringLiteral("Upper");
    Load_Language(table, name, dir.path());
    EXPECT_EQ(name, QStringLiteral("Upper"));
    EXPECT_EQ(table.text(0), QStringLiteral("U0"));
    EXPECT_TRUE(languageFileList(QDir(dir.path()).filePath(QStringLiteral("none"))).isEmpty());
}

TEST(LanguageFile, WrittenFileReadsBackToTheSameTable)
{
    TextTable english;
    TextTable table;
    table.setText(0, QStringLiteral("changed"));
    const LanguageReadResult result =
        applyLanguageText(decodeLanguageBytes(writeLanguageFile(english, QStringLiteral("English"))), table);
    EXPECT_EQ(result.ignored, 0);
    EXPECT_EQ(result.stored, TextTable::Text_Count);
    for (int i = 0; i < TextTable::Text_Count; ++i)
        ASSERT_EQ(table.text(i), english.text(i)) << i;
}

} // namespace
