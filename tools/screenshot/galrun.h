#pragma once
#include <QDir>
#include <QString>

class TFOrvik;

// orvik-screenshot OUTPUT_DIR --gal FILE: imports FILE, programs its minimum
// solution and exports it as OUTPUT_DIR/orvik_pal.jed for the GAL22V10,
// showing the export dialog and the file; then asks the GAL16V8 to hold a
// 5-input parity and shows the refusal. Saves gal-*.png.
int GalRun(TFOrvik* window, const QDir& out, const QString& plaPath);
