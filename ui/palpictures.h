#pragma once
// The six pictures the PAL schematic is built from, and where they are found.
#include "pallayout.h"

#include <QImage>
#include <QStringList>

struct PalPictures {
    QImage input;   // "input.bmp": input buffer
    QImage andGate; // "and.bmp": AND gate
    QImage orGate;  // "or.bmp": OR gate
    QImage output;  // "output.bmp": output buffer
    QImage point;   // "point.bmp": set fuse
    QImage noPoint; // "nopoint.bmp": cleared fuse (loaded, never drawn)

    // Sizes the layout depends on; 0 x 0 for a picture that is not loaded.
    PalPictureSizes Sizes() const;
};

// The file names, in loading order.
const QStringList& PalPictureFileNames();

// Where the pictures are looked for: the current directory first, then the
// directory of the executable (where the build puts them), then the installed
// data folder (share/orvik beside the installed bin/).
QStringList DefaultPalPictureDirectories();

// Loads the six pictures from the first directory in `directories` that holds
// all six, and returns true. Within one directory loading stops at the first
// file that is missing or unreadable. When no directory holds all six, returns
// false and leaves in `pictures` what the first directory gave before its
// first failure (the pictures after it are empty, 0 x 0).
bool LoadPalPictures(const QStringList& directories, PalPictures& pictures);
