#include "orvikhelp.h"

#include "orvikbuildinfo.h"

#include <QDir>
#include <QFileInfo>
#include <QtGlobal>

QString AboutOrvikText()
{
    return QString("Orvik %1\n\n"
                   "A workbench for evolvable hardware: it evolves the fuse map of a simulated PAL "
                   "with a genetic algorithm.\n\n"
                   "Copyright (c) The Orvik developers. MIT License.\n"
                   "Running with Qt %2 (LGPL-3.0; Qt Charts: GPL-3.0). "
                   "The README lists the license of every library Orvik uses.")
        .arg(OrvikBuildInfo::Version, qVersion());
}

QString OrvikReadmePath(const QString& programDirectory)
{
    const QString path =
        QDir::cleanPath(programDirectory + '/' + OrvikBuildInfo::DocFromPrograms + "/README.md");
    return QFileInfo(path).isFile() ? path : QString();
}
