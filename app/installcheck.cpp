#include "installcheck.h"

#include "orvikbuildinfo.h"
#include "orvikhelp.h"
#include "palpictures.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

bool InstallCheckRequested(int argc, char** argv)
{
    return argc == 2 && std::strcmp(argv[1], "--check-install") == 0;
}

int RunInstallCheck(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::printf("Orvik %s\n", OrvikBuildInfo::Version);

    // The same lookup as the schematic's at start-up, one folder at a time to
    // tell which one served.
    const QStringList folders = DefaultPalPictureDirectories();
    QString pictureFolder;
    for (const QString& folder : folders) {
        PalPictures pictures;
        if (LoadPalPictures({folder}, pictures)) {
            pictureFolder = folder;
            break;
        }
    }
    if (pictureFolder.isEmpty())
        std::printf("pictures: not found in %s\n", qPrintable(folders.join(", ")));
    else
        std::printf("pictures: %s\n", qPrintable(pictureFolder));

    const QString readme = OrvikReadmePath(QCoreApplication::applicationDirPath());
    std::printf("README: %s\n", readme.isEmpty() ? "not found" : qPrintable(readme));
    return pictureFolder.isEmpty() || readme.isEmpty() ? 1 : 0;
}
