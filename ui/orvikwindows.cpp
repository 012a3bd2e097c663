#include "orvikwindows.h"

#include "tfcomconfigure.h"
#include "tffitnessdisplay.h"
#include "tfgachooser.h"
#include "tfgaconfigure.h"
#include "tforvik.h"
#include "tfpalsetup.h"
#include "tftruthtable.h"

TFOrvik* FOrvik = nullptr;
TFPalSetup* FPalSetup = nullptr;
TFTruthTable* FTruthTable = nullptr;
TFFitnessDisplay* FFitnessDisplay = nullptr;
TFGAConfigure* FGAConfigure = nullptr;
TFGAChooser* FGAChooser = nullptr;
TFComConfigure* FComConfigure = nullptr;

void CreateOrvikWindows(const QString& robotDevice)
{
    FOrvik = new TFOrvik(nullptr, robotDevice);
    // The dialogs are children of the main window so they centre on it.
    FPalSetup = new TFPalSetup(FOrvik);
    FTruthTable = new TFTruthTable(FOrvik);
    FFitnessDisplay = new TFFitnessDisplay();
    // Closing the main window ends the program even while the chart is open.
    FFitnessDisplay->setAttribute(Qt::WA_QuitOnClose, false);
    FGAConfigure = new TFGAConfigure(FOrvik);
    FGAChooser = new TFGAChooser(FOrvik);
    FComConfigure = new TFComConfigure(FOrvik);
    FOrvik->FormCreate();
}

void DestroyOrvikWindows()
{
    delete FFitnessDisplay;
    FFitnessDisplay = nullptr;
    // The dialogs go with their parent.
    FComConfigure = nullptr;
    FGAChooser = nullptr;
    FGAConfigure = nullptr;
    FTruthTable = nullptr;
    FPalSetup = nullptr;
    delete FOrvik;
    FOrvik = nullptr;
}
