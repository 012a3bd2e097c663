#pragma once
#include <QDir>
#include <QString>

class TFOrvik;

// orvik-screenshot OUTPUT_DIR --pla FILE: imports FILE, shows the table editor
// and the PAL dialog with the count of AND terms, sets the PAL to it,
// programs the minimum solution, evolves for a while, exports the fittest
// individual as OUTPUT_DIR/orvik_pal.v and shows it; saves logic-*.png.
int LogicRun(TFOrvik* window, const QDir& out, const QString& plaPath);
