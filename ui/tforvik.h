#pragma once
// TFOrvik, the main window "Orvik", owns every piece of run-time state:
//
//   Pal (PalConfig)        the PAL dimensions, changed only by SetPalSize
//   Table (TruthTable)     what the PAL should compute, edited in FTruthTable
//   Motors (MotorTable)    wheel speed per pair of output bits (robot mode)
//   Population (GA)        individuals, GA parameters, generation, history
//   CurrentChromosome      copy of the individual shown in the viewer
//   InputValues            the hand-set input switches of the simulation
//   Viewer (PALViewer)     the schematic on PaintBox1
//   Khepera (KKhepera)     the serial link to the robot
//   SimulatedRobot         robot mode drives the simulated Khepera inside
//                          Orvik (Simulation: its arena and noise) instead
//                          of the serial link; FRobotArena shows it
//
// Data flow: the dialogs (FPalSetup, FGAConfigure, FTruthTable, FGAChooser,
// FComConfigure) only show and validate; the handlers here apply what they
// return. "Evolve" scores every individual with ComputeFitness (the fast
// truth-table evaluator, or a robot run), records the generation in the GA's
// history and hands the statistics to FFitnessDisplay, then breeds the next
// generation. The handlers are split by feature:
//   tforvik.cpp             construction, layout, menus, shut-down
//   tforvik_pal.cpp         PAL size, truth table, hand simulation, fitness
//   tforvik_evolution.cpp   current individual, status bar, evolution loop, GA
//   tforvik_population.cpp saving, loading and programming individuals
//   tforvik_robot.cpp       the Khepera panel and the port choice
//   tforvik_simulation.cpp  the simulated Khepera and its arena window
//   tforvik_logic.cpp       PLA import, circuit export, the minimum solution
//   tforvik_gal.cpp         the individual as a GAL's JEDEC file or .pld
//   tforvik_help.cpp        the Help menu
#include "bitstring.h"
#include "controlslock.h"
#include "fasttruthtablefitness.h"
#include "ga.h"
#include "galdesign.h"
#include "motortable.h"
#include "palconfig.h"
#include "robotevaluation.h"
#include "robotfitness.h"
#include "robotrunview.h"
#include "simulationsetup.h"
#include "truthtable.h"
#include "kinematics.h"
#include "start_places.h"

#include <QMainWindow>
#include <QStringList>

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

class KKhepera;
namespace ksim {
class RobotWorld;
}
class MinimumTermsTask;
class PALViewer;
class PalPaintBox;
class ProximityRing;
class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class SimulatedRunView;
class TFRobotArena;
class WatchedRobotBody;
struct SumOfProducts;
struct TableCover;

class TFOrvik : public QMainWindow, public RobotRunView {
    Q_OBJECT
public:
    // Builds the window with all defaults. The robot link opens serial port 1
    // at once, or `robotDevice` when one is given (tests use a pseudo-terminal).
    explicit TFOrvik(QWidget* parent = nullptr, const QString& robotDevice = {});
    ~TFOrvik() override;

    // --- PAL, truth table, fitness (tforvik_pal.cpp)
    void SetPalSize(int32_t inputs, int32_t andTerms, int32_t outputs);
    void PALparameters1Click();
    void Truthtable1Click();
    void PaintBox1MouseDown(int x, int y);
    void BComputeFitnessClick();
    void CheckKheperaMode();
    double ComputeFitness(const BitString& chromosome);
    double ComputeFitnessTruthTable(const BitString& chromosome);

    // --- current individual, status bar, evolution (tforvik_evolution.cpp)
    void SetCurrentIndividual(int32_t index);
    void UpdateSimulation();
    void UpdateStatusBar();
    void Evolve();
    void BEvolveClick() { Evolve(); }
    void ConfigureGA();
    void GA1Click() { ConfigureGA(); }
    void BResetPopClick();
    // SetPopulationSize with `size` truncated; a size the GA cannot take
    // (below 1, out of range, more than the memory holds) is refused with an
    // "Error" box and the population kept.
    void ResizePopulation(double size);
    // The generation step of the chosen search: NextGeneration, or the ES's.
    void BreedNextGeneration();

    // --- population files (tforvik_population.cpp)
    void BSaveGenClick();
    void BLoadProgramClick();
    void BProgramIndividualClick();
    void BShowFitnessClick();
    // Whether the PAL takes chromosomes of `length` bits; if not, says so in
    // an "Error" box ("<whose> chromosomes have 10 bits; the PAL needs 64
    // (4 inputs, 2 AND terms, 4 outputs).").
    bool FitsThePal(uint32_t length, const QString& whose);
    // Hands the population's history to the chart; ClearFitnessPlot empties
    // the chart when the history it showed is gone (reset, resize, new PAL).
    void PlotHistory();
    void ClearFitnessPlot();

    // --- robot panel (tforvik_robot.cpp)
    void CBKheperaClick();
    void BProximityClick();
    void BMotorClick();
    void BSendClick();
    void Motor1Click();
    void Communication1Click();
    // Setup > Robot evaluation...: how "Evolve" scores on the simulated Khepera.
    void RobotEvaluation1Click();
    // Debug > Robot arena: shows the window of the simulated Khepera.
    void RobotArena1Click();
    // Whether simulated runs keep the robot's pace: "Real time" is on and no
    // stop of "Evolve" is under way.
    bool PacingSimulation() const;
    void BStopRunClick();
    // Robot-mode "Compute fitness": one run with only BStopRun taking input.
    void ComputeFitnessOnRobot();
    void ShowProximity(const uint32_t readings[8]);

    // --- window
    void FormCreate();
    void FormDestroy();
    void Exit1Click();
    void DebugConsoleClick();

    // --- PLA, BLIF and Verilog files, the minimum solution (tforvik_logic.cpp)
    void ImportPla1Click();
    void ExportIndividual1Click();
    void ExportTablePla1Click();
    void BProgramMinimumClick();
    // The truth table's cells changed: the count of AND terms starts again.
    void TableChanged();

    // --- Help menu (tforvik_help.cpp)
    void About1Click();
    void Readme1Click();

    // --- unsaved work and what the fitness means (tforvik_unsaved.cpp)
    // Generations evolved or loaded since the population was last saved
    // (none once it is reset, re-sized or saved).
    bool HasUnsavedGenerations() const;
    // Whether the window may close: with unsaved generations, asks once
    // (Save / Discard / Cancel); "Save" appends as "Save current population"
    // does and closes only once saved.
    bool MayClose();
    // Whether a PAL change may replace an evolved population: asks first,
    // captioned "Warning", when one would be lost (MayReplacePopulation).
    bool MayReplaceEvolvedPopulation();
    // Whether `change` ("the PAL", "the size of the population") may replace
    // the population: Yes/No ("... all the individuals will be lost.
    // Proceed?"), or, with unsaved generations, Save / Discard / Cancel as on
    // closing; "Save" appends the population first and goes on only once saved.
    bool MayReplacePopulation(const QString& change);
    // Called as "Evolve" starts: when the fitness will not mean what it meant
    // for the generations already plotted (robot mode switched, truth table
    // or motor table changed), the chart marks the next generation.
    void NoteFitnessMeaning();
    // Settings that change what a robot evaluation scores were applied (the
    // robot or its arena, the sensor noise...): the next "Evolve" in robot
    // mode marks its first generation in the chart with `note` ("simulated
    // Khepera, the open arena, 3 % noise"); the notes of several changes
    // before it are joined.
    void RobotEvaluationChanged(const QString& note);
    // The robot that evaluates: "Khepera on /dev/ttyS0", or the simulated
    // one with its arena and noise.
    QString RobotDescription() const;
    // After the truth table was replaced under a kept, evaluated population:
    // every individual is scored again by the new table, so that the status
    // bar's statistics (and the next generation step) are about that table.
    // Nothing in robot mode or for chromosomes that do not fit the PAL.
    void RescorePopulation();

    // RobotRunView: what a robot evaluation shows while it runs.
    void ShowProximityIndicators(const std::array<bool, 4>& white) override;
    void ShowProximityValues(const std::array<uint32_t, 4>& directions) override;
    // The status bar's note on the robot link: open, not open, not answering.
    void ShowLinkState();
    // A note in the status bar's second line (and the console) that goes
    // away after NoteDurationMs; hovering shows it whole when it is cut.
    void ShowNote(const QString& text);
    void SetCurrentFitnessText(const QString& text) override;
    void SetCurrentSpeedText(const QString& text) override;
    void ProcessEvents() override;
    bool RunStopRequested() const override { return runStopRequested_; }

    // --- state (see the map above)
    PalConfig Pal;
    TruthTable Table;
    MotorTable Motors = DefaultMotorTable;
    std::vector<int32_t> InputValues;
    GA Population{100, 10};
    // "Evolve" breeds with the (1+λ) evolution strategy instead of the GA's
    // step while chosen in the GA dialog; λ is the population size - 1, and a
    // mutation rate of 0 stands for 1/L.
    bool UseEvolutionStrategy = false;
    double ESMutationRate = 0.0;
    BitString CurrentChromosome{10};
    int32_t CurrentIndividual = 0;
    std::unique_ptr<KKhepera> Khepera;
    uint32_t ProximityThreshold = 300;
    // Chosen in Setup > Communication...: robot mode then evaluates on the
    // simulated Khepera, in virtual time.
    bool SimulatedRobot = false;
    SimulationSetup Simulation;
    // Chosen in Setup > Robot evaluation...: shared start places, re-evaluation
    // of the fittest, stall penalty (all off: the usual evaluation). They act
    // on the simulated Khepera only.
    RobotEvaluation RobotEvaluationSettings;
    TFRobotArena* FRobotArena = nullptr; // created with the window, shown on demand
    // The simulated robot's world and body while SimulatedRobot is chosen.
    std::unique_ptr<ksim::RobotWorld> SimWorld;
    std::unique_ptr<WatchedRobotBody> SimBody;
    bool Evolving = false;
    // True while "Compute fitness" runs the robot (the window takes no other
    // command then; BStopRun ends the run).
    bool ComputingOnRobot = false;
    std::unique_ptr<PALViewer> Viewer;
    // Names of the inputs and outputs imported with the truth table (empty:
    // none; dropped whenever the table's size changes).
    QStringList InputLabels;
    QStringList OutputLabels;
    // How many AND terms the truth table needs, computed in the background.
    MinimumTermsTask* TableMinimum = nullptr;

    // --- controls, named as in the form
    QScrollArea* ScrollBox1;
    PalPaintBox* PaintBox1;
    QGroupBox* GroupBox1;
    QPushButton* BResetPop;
    QPushButton* BSaveGen;
    QPushButton* BLoadProgram;
    QPushButton* BProgramIndividual;
    QPushButton* BProgramMinimum;
    QGroupBox* GroupBox2;
    QPushButton* Button1; // "Evolve"
    QPushButton* Button2; // "Compute fitness"
    QPushButton* BShowFitness;
    QCheckBox* CBKhepera;
    QCheckBox* CBShowWhileEvolving;
    QGroupBox* GroupBox3;
    ProximityRing* Image1;
    QPushButton* Button9; // "Proximity sens"
    QPushButton* Button8; // "Set motor spd"
    QLabel* Label2;
    QLineEdit* Edit2; // left speed
    QLabel* Label3;
    QLineEdit* Edit1; // right speed
    QLabel* LCurrentSpeed;
    QLabel* LCurrentFitness;
    QLabel* Label4;
    QLineEdit* ELengthRun;
    QLabel* Label5;
    QLineEdit* ENumRun;
    QPushButton* BStopRun; // "Stop", shown while "Compute fitness" runs the robot
    QLabel* LProximity = nullptr; // the direction values under the indicators
    QLabel* LLink = nullptr;      // status bar: the state of the robot link
    QLineEdit* ECommand;
    QPushButton* BSend;
    QLabel* StatusPanels[4];
    // Status-bar note (second line): a stop, a file written.
    QLabel* LRunNote;
    QAction* ImportPla1;
    QAction* ExportIndividual1;
    QAction* ExportTablePla1;
    QAction* Exit1;
    QAction* Truthtable1;
    QAction* PALparameters1;
    QAction* GA1;
    QAction* Motor1;
    QAction* Communication1;
    QAction* RobotEvaluation1;
    QAction* DebugConsole;
    QAction* RobotArena1;
    QAction* About1;
    QAction* Readme1;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void BuildMenus();
    void ConnectHandlers();
    QWidget* BuildKheperaGroup();
    void SetIdle(bool idle);
    void ShowStopTaken();
    void ShowLinkBusy(bool busy);
    // Builds the simulated Khepera of `Simulation` (a new world at the
    // arena's start pose); false, with an "Error" box, when its arena file
    // cannot be read.
    bool UseSimulation();
    // One run of `chromosome` on the simulated Khepera, in virtual time (or
    // paced by "Real time"), shown in the arena window under `caption`.
    RobotRunResult RunOnSimulation(const BitString& chromosome, const QString& caption);
    // "Evolve"'s evaluation on the simulated Khepera: the repositioning walk
    // (drawing from the GA's generator, as on the robot), or with shared
    // starts the robot put at `start`, then the run, less the stall penalty.
    double EvaluateOnSimulation(const BitString& chromosome, int32_t index, const ksim::Pose* start = nullptr);
    // With shared starts on the simulated Khepera, `count` start places for
    // this generation's runs, spread over the arena; otherwise none.
    std::vector<ksim::Pose> SharedStartsOfGeneration(bool simulated, int count);
    // The re-evaluation of the fittest after a generation's `runCount` runs.
    void ReevaluateOnSimulation(int runCount);
    // ProcessEventsEvery at the evolution loop's interval.
    void ProcessEventsSometimes();
    // One robot run of `chromosome` with the window's settings.
    RobotRunResult RunOnRobot(const BitString& chromosome);
    // The repositioning and run of one evaluation in "Evolve"; nothing when
    // the robot stopped answering.
    std::optional<double> EvaluateOnRobot();
    // The one message of a run that ended because the robot stopped answering.
    void ShowRobotLost(const QString& consequence);
    // The current individual's viewer, simulation and status bar.
    void ShowCurrentIndividual();
    // While the PAL is not watched, the loop only notes the individual it
    // evaluates (lastEvaluated_); it becomes CurrentChromosome before the
    // population changes (CatchUpCurrentIndividual) and is shown, once per
    // event round, before the GUI gets to see the window
    // (ShowCaughtUpIndividual).
    void CatchUpCurrentIndividual();
    void ShowCaughtUpIndividual();
    void ShowStatusBarNow();
    void ProcessEventsEvery(std::chrono::milliseconds interval);
    void ShowError(const QString& text);
    // What the PAL dialog's OK does with the three counts.
    void ApplyPalSize(const PalConfig& chosen);
    // The finished count of AND terms, waiting for it (cancellable) if needed;
    // nullptr when the user cancelled.
    const TableCover* WaitForTableMinimum();
    // The current individual's AND terms that can be true, with the table's names.
    SumOfProducts IndividualCircuit() const;
    static bool IsGalPath(const QString& path); // ".jed" or ".pld"
    // Asks for the device and signature, fits (offering the minimum sum of
    // products when the terms do not fit) and writes the file.
    void ExportGal(const QString& path, const SumOfProducts& circuit);
    GalType galDevice_ = GalType::Gal22V10;
    QString galSignature_ = QString::fromLatin1(DefaultGalSignature);
    void ShowFatal(const std::exception& error);
    // Places a side window (the chart, the arena, the console) the first time
    // it is shown, off the menu bar and off the other side windows.
    void PlaceSideWindowOnce(QWidget* window, bool preferLeft);

    // The fast evaluator is prepared again whenever the PAL size or the truth
    // table may have changed.
    FastTruthTableFitness fastFitness_;
    bool fastFitnessStale_ = true;
    // While evolving, the status bar is rewritten at the next event processing
    // instead of once per individual.
    bool statusBarPending_ = false;
    int32_t lastEvaluated_ = -1;
    bool currentIndividualUnseen_ = false;
    std::chrono::steady_clock::time_point lastEventProcessing_{};
    // ProcessEventsEvery reads the clock once every clockStride_ calls.
    std::chrono::steady_clock::time_point lastClockRead_{};
    int clockStride_ = 1;
    int callsUntilClock_ = 0;
    bool closeWhenIdle_ = false;
    // "Stop" was taken while simulated runs kept the robot's pace.
    bool hurriedStop_ = false;
    // "Save current population": false when cancelled or not written.
    bool SavePopulation();
    // Asks `question` with Save / Discard / Cancel, captioned "Warning":
    // whether to go on (saved, or discarded).
    bool MaySaveFirst(const QString& question);
    static constexpr int NoteDurationMs = 8000;
    // The population file last saved or loaded (what "Save current
    // population" and "Load&&Program" propose).
    QString lastPopulationFile_;
    // What HasUnsavedGenerations compares: the history as last saved.
    uint64_t savedHistoryRevision_ = 0;
    std::size_t savedHistorySize_ = 0;
    // The fitness the plotted generations were scored by, empty when not
    // known (a loaded population); see NoteFitnessMeaning.
    std::optional<QString> plottedFitnessMeaning_;
    // RobotEvaluationChanged since the last "Evolve".
    QStringList robotEvaluationChanges_;
    // The first generation scored as plottedFitnessMeaning_ says.
    int32_t fitnessMeaningSince_ = 0;
    ControlsLock controlsLock_;
    bool runStopRequested_ = false;
    // The simulated runs' view of the Khepera panel, flushed by ProcessEvents.
    std::unique_ptr<SimulatedRunView> simulatedView_;
    // Where the last simulated evaluation started ("Compute fitness" runs
    // from there again).
    ksim::Pose lastStartPose_;
    // The simulated arena's own start, and the generator of shared start places.
    ksim::Pose arenaStart_;
    ksim::StartPlaces startPlaces_{1};
};
