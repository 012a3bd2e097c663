#pragma once
// The program's seven windows, created once at start-up in this order and
// reused until the end: the main window first, then the dialogs and the
// fitness chart it opens.
#include <QString>

class TFOrvik;
class TFPalSetup;
class TFTruthTable;
class TFFitnessDisplay;
class TFGAConfigure;
class TFGAChooser;
class TFComConfigure;

extern TFOrvik* FOrvik;
extern TFPalSetup* FPalSetup;
extern TFTruthTable* FTruthTable;
extern TFFitnessDisplay* FFitnessDisplay;
extern TFGAConfigure* FGAConfigure;
extern TFGAChooser* FGAChooser;
extern TFComConfigure* FComConfigure;

// Creates the seven windows in order (robotDevice: see TFOrvik).
void CreateOrvikWindows(const QString& robotDevice = {});
// Destroys them in reverse order; the main window's destruction closes the
// debug console and the robot link.
void DestroyOrvikWindows();
