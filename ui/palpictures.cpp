#include "palpictures.h"

#include "orvikbuildinfo.h"

#include <QCoreApplication>
#include <QDir>

#include <array>

namespace {
std::array<QImage*, 6> InLoadingOrder(PalPictures& p)
{
    return {&p.input, &p.andGate, &p.orGate, &p.output, &p.point, &p.noPoint};
}

// Loads one directory's pictures until the first failure; true when all six loaded.
bool LoadFrom(const QString& directory, PalPictures& pictures)
{
    pictures = PalPictures();
    const QDir dir(directory);
    const auto targets = InLoadingOrder(pictures);
    for (std::size_t i = 0; i < targets.size(); ++i) {
        if (!targets[i]->load(dir.filePath(PalPictureFileNames().at(static_cast<int>(i))), "BMP")) {
            *targets[i] = QImage();
            return false;
        }
    }
    return true;
}
} // namespace

PalPictureSizes PalPictures::Sizes() const
{
    // A null QImage reports 0 x 0, which is what the layout expects.
    return {input.size(), andGate.size(), orGate.size(), output.size(), point.size()};
}

const QStringList& PalPictureFileNames()
{
    static const QStringList names{"input.bmp", "and.bmp", "or.bmp", "output.bmp", "point.bmp", "nopoint.bmp"};
    return names;
}

QStringList DefaultPalPictureDirectories()
{
    const QString programs = QCoreApplication::applicationDirPath();
    return {QDir::currentPath(), programs, QDir::cleanPath(programs + '/' + OrvikBuildInfo::DataFromPrograms)};
}

bool LoadPalPictures(const QStringList& directories, PalPictures& pictures)
{
    PalPictures first;
    for (int d = 0; d < directories.size(); ++d) {
        PalPictures candidate;
        if (LoadFrom(directories.at(d), candidate)) {
            pictures = candidate;
            return true;
        }
        if (d == 0)
            first = candidate;
    }
    pictures = first;
    return false;
}
