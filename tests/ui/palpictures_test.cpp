#include "palpictures.h"
#include "palpicturefiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
TestPictureSizes SizesWithInputWidth(int width)
{
    TestPictureSizes sizes;
    sizes.input = QSize(width, 40);
    return sizes;
}
} // namespace

TEST(PalPictures, FirstCompleteDirectoryWins)
{
    QTemporaryDir current, beside, empty, partial;
    ASSERT_TRUE(WriteTestPictures(current.path(), SizesWithInputWidth(35)));
    ASSERT_TRUE(WriteTestPictures(beside.path(), SizesWithInputWidth(21)));
    ASSERT_TRUE(WriteTestPictures(partial.path(), SizesWithInputWidth(50), 3)); // no output.bmp onwards

    struct Case {
        const char* what;
        QStringList directories;
        int inputWidth;
    };
    const Case cases[] = {
        {"the current directory first", {current.path(), beside.path()}, 35},
        {"then beside the executable", {empty.path(), beside.path()}, 21},
        {"an incomplete set does not count", {partial.path(), beside.path()}, 21},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PalPictures pictures;
        ASSERT_TRUE(LoadPalPictures(c.directories, pictures));
        EXPECT_EQ(pictures.input.width(), c.inputWidth);
        EXPECT_EQ(pictures.noPoint.size(), QSize(7, 7));
        EXPECT_EQ(pictures.Sizes().output, QSize(40, 30));
    }
}

TEST(PalPictures, FailureKeepsWhatTheFirstDirectoryGaveBeforeItsFirstGap)
{
    QTemporaryDir partial, empty;
    ASSERT_TRUE(WriteTestPictures(partial.path(), SizesWithInputWidth(35), 2)); // input and AND only
    // Later files are not tried after the first failure.
    ASSERT_TRUE(QImage(5, 5, QImage::Format_RGB32).save(QDir(partial.path()).filePath("output.bmp"), "BMP"));

    PalPictures pictures;
    pictures.point = QImage(3, 3, QImage::Format_RGB32); // stale content must go
    EXPECT_FALSE(LoadPalPictures({partial.path(), empty.path()}, pictures));
    const PalPictureSizes sizes = pictures.Sizes();
    EXPECT_EQ(sizes.input, QSize(35, 40));
    EXPECT_EQ(sizes.andGate, QSize(30, 20));
    EXPECT_EQ(sizes.orGate, QSize(0, 0));
    EXPECT_EQ(sizes.output, QSize(0, 0));
    EXPECT_EQ(sizes.point, QSize(0, 0));
    EXPECT_TRUE(pictures.noPoint.isNull());
}

TEST(PalPictures, UnreadableFileCountsAsMissing)
{
    QTemporaryDir broken;
    ASSERT_TRUE(WriteTestPictures(broken.path()));
    QFile garbage(QDir(broken.path()).filePath("or.bmp"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly | QIODevice::Truncate));
    garbage.write("not a bitmap");
    garbage.close();

    PalPictures pictures;
    EXPECT_FALSE(LoadPalPictures({broken.path()}, pictures));
    EXPECT_EQ(pictures.Sizes().andGate, QSize(30, 20));
    EXPECT_TRUE(pictures.orGate.isNull());
}

TEST(PalPictures, DefaultLookupIsCurrentDirectoryThenExecutableDirectoryThenInstalledData)
{
    const QStringList directories = DefaultPalPictureDirectories();
    ASSERT_EQ(directories.size(), 3);
    EXPECT_EQ(directories.at(0), QDir::currentPath());
    EXPECT_EQ(directories.at(1), QCoreApplication::applicationDirPath());
    // bin/../share/orvik, whatever the install prefix.
    QDir prefix(QCoreApplication::applicationDirPath());
    prefix.cdUp();
    EXPECT_EQ(directories.at(2), prefix.filePath("share/orvik"));
    EXPECT_EQ(PalPictureFileNames(),
              QStringList({"input.bmp", "and.bmp", "or.bmp", "output.bmp", "point.bmp", "nopoint.bmp"}));
}
