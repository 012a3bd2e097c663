#pragma once
// Test helper: writes the schematic's picture files with chosen sizes into a
// folder. Every picture is white except the set-fuse picture, which is solid
// black, so a drawn fuse is easy to find in a rendering.
#include <QColor>
#include <QDir>
#include <QImage>
#include <QSize>
#include <QString>

#include <array>

struct TestPictureSizes {
    QSize input{35, 40};
    QSize andGate{30, 20};
    QSize orGate{25, 30};
    QSize output{40, 30};
    QSize point{7, 7};
    QSize noPoint{7, 7};
};

// Writes the first `count` files in loading order ("input.bmp", "and.bmp",
// "or.bmp", "output.bmp", "point.bmp", "nopoint.bmp"); returns false if a
// file could not be written.
inline bool WriteTestPictures(const QString& folder, const TestPictureSizes& sizes = {}, int count = 6)
{
    const std::array<const char*, 6> names{"input.bmp", "and.bmp", "or.bmp", "output.bmp", "point.bmp", "nopoint.bmp"};
    const std::array<QSize, 6> dims{sizes.input, sizes.andGate, sizes.orGate, sizes.output, sizes.point, sizes.noPoint};
    for (int i = 0; i < count && i < 6; ++i) {
        QImage picture(dims[i], QImage::Format_RGB32);
        picture.fill(i == 4 ? Qt::black : Qt::white);
        if (!picture.save(QDir(folder).filePath(names[i]), "BMP"))
            return false;
    }
    return true;
}
