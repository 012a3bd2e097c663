#pragma once
// What the Help menu shows: the "About Orvik" text and the README to open.
#include <QString>

// The version (the build's project version), the license and the Qt version
// the program runs with.
QString AboutOrvikText();

// The README in the documentation folder beside the programs' folder
// (share/doc/orvik when installed; in the build tree a link to the
// checkout's README). Empty when there is none.
QString OrvikReadmePath(const QString& programDirectory);
