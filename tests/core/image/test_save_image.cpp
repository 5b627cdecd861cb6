// Writing bin/bank1.bin and bin/bank2.bin, and what a failed write leaves.

#include "core/image/image_test_support.h"

#include <QFileInfo>

using namespace mirandel;
using namespace mirandel::test;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

ConfigurationImage sampleImage()
{
    return {QByteArray(2048, '\x11'), QByteArray(1079, '\x22')};
}

TEST(SaveImageFiles, WritesBothFilesAndReplacesOlderOnes)
{
    QTemporaryDir dir;
    const QString bin = dir.filePath(QStringLiteral("bin"));
    ASSERT_TRUE(QDir().mkpath(bin));
    writeText(bin + QStringLiteral("/bank2.bin"), QByteArray(5000, '\x7F')); // longer than the new one

    const ConfigurationImage image = sampleImage();
    const ImageError error = Save_Image_Files(image, bin);
    ASSERT_FALSE(error.failed()) << error.describe().toStdString();
    EXPECT_EQ(readAll(bin + QStringLiteral("/bank1.bin")), image.bank1);
    EXPECT_EQ(readAll(bin + QStringLiteral("/bank2.bin")), image.bank2);
    EXPECT_EQ(QDir(bin).entryList(QDir::Files).size(), 2); // no temporary left behind
}

TEST(SaveImageFiles, CreatesAMissingBinFolder)
{
    QTemporaryDir dir;
    const QString bin = dir.filePath(QStringLiteral("project/bin"));
    ASSERT_FALSE(Save_Image_Files(sampleImage(), bin).failed());
    EXPECT_EQ(QFileInfo(bin + QStringLiteral("/bank1.bin")).size(), 2048);
}

TEST(SaveImageFiles, AFolderThatCannotBeCreatedIsReportedAndNothingIsWritten)
{
    QTemporaryDir dir;
    const QString bin = dir.filePath(QStringLiteral("bin"));
    writeText(bin, "a file where the folder should be");
    const ImageError error = Save_Image_Files(sampleImage(), bin);
    EXPECT_EQ(error.kind, ImageError::Write);
    EXPECT_EQ(error.file, bin + QStringLiteral("/bank1.bin"));
    EXPECT_FALSE(error.message.isEmpty());
    EXPECT_TRUE(error.describe().contains(QStringLiteral("bank1.bin")));
}

TEST(SaveImageFiles, ABank2ThatCannotBeWrittenLeavesNoNewBank1)
{
    QTemporaryDir dir;
    const QString bin = dir.filePath(QStringLiteral("bin"));
    ASSERT_TRUE(QDir().mkpath(bin + QStringLiteral("/bank2.bin"))); // a folder in its place
    writeText(bin + QStringLiteral("/bank1.bin"), "old");

    const ConfigurationImage image = sampleImage();
    const ImageError error = Save_Image_Files(image, bin);
    EXPECT_EQ(error.kind, ImageError::Write);
    EXPECT_EQ(error.file, bin + QStringLiteral("/bank2.bin"));
    EXPECT_FALSE(error.message.isEmpty());
    EXPECT_NE(readAll(bin + QStringLiteral("/bank1.bin")), image.bank1);
}

} // namespace
