#include "tforvik.h"

#include "elidedlabel.h"

#include "console.h"
#include "debugconsole.h"
#include "kkhepera.h"
#include "minimumtermstask.h"
#include "palpaintbox.h"
#include "orvikwindows.h"
#include "palviewer.h"
#include "proximityring.h"
#include "robot_world.h"
#include "simulatedrunview.h"
#include "watchedrobotbody.h"
#include "shortcuts.h"
#include "statuspanel.h"
#include "tffitnessdisplay.h"
#include "tfpalsetup.h"
#include "tfrobotarena.h"
#include "tftruthtable.h"
#include "uiseam.h"
#include "windowplacement.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {
QPushButton* MakeButton(const QString& name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

QLabel* MakeLabel(const QString& name, const QString& caption, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

// A group box holding `widgets` one below the other.
QGroupBox* MakeColumnGroup(const QString& name, const QString& caption, std::initializer_list<QWidget*> widgets)
{
    auto* group = new QGroupBox(caption);
    group->setObjectName(name);
    auto* column = new QVBoxLayout(group);
    for (QWidget* widget : widgets)
        column->addWidget(widget);
    column->addStretch();
    return group;
}

QLineEdit* MakeEdit(const QString& name, const QString& text, QWidget* parent)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    return edit;
}
} // namespace

TFOrvik::TFOrvik(QWidget* parent, const QString& robotDevice) : QMainWindow(parent)
{
    TableMinimum = new MinimumTermsTask(this);
    BuildControls();
    BuildMenus();
    FRobotArena = new TFRobotArena(this);
    FRobotArena->setAttribute(Qt::WA_QuitOnClose, false);

    // The population (100 individuals) and CurrentChromosome exist as members;
    // next comes the robot link, whose open failures are shown at once.
    auto reportOpenError = [this](const QString& message) { Ui().Message(this, QString(), message); };
    if (robotDevice.isEmpty())
        Khepera = std::make_unique<KKhepera>(1, reportOpenError);
    else
        Khepera = std::make_unique<KKhepera>(robotDevice, reportOpenError);
    Khepera->SetBusyIndicator([this](bool busy) { ShowLinkBusy(busy); });
    ShowLinkState();

    Evolving = false;
    Viewer = std::make_unique<PALViewer>(PaintBox1, 3, 4, 5);
    SetPalSize(4, 2, 3);
    Motors = DefaultMotorTable;
    Population.SetRankParents(15);
    Population.SetMutationRate(0.01);
    Population.SetCrossoverRate(0.7);
    Population.SetSelection(1);
    Population.SetElitism(1);
    ProximityThreshold = 300;
    const uint32_t noReadings[8] = {};
    ShowProximity(noReadings);

    ConnectHandlers();
}

TFOrvik::~TFOrvik()
{
    FormDestroy();
}

void TFOrvik::BuildControls()
{
    setObjectName("FOrvik");
    setWindowTitle("Orvik");
    resize(684, 504);

    auto* central = new QWidget(this);
    auto* mainLayout = new QHBoxLayout(central);
    mainLayout->setContentsMargins(0, 0, 8, 4);
    mainLayout->setSpacing(8);

    ScrollBox1 = new QScrollArea(central);
    ScrollBox1->setObjectName("ScrollBox1");
    ScrollBox1->setMinimumSize(200, 200);
    ScrollBox1->setBackgroundRole(QPalette::Base);
    PaintBox1 = new PalPaintBox();
    PaintBox1->setObjectName("PaintBox1");
    // The viewer never makes the canvas smaller than the paint box it is
    // given: starting from nothing, the canvas is the drawing's size, so the
    // scroll area scrolls only when the drawing does not fit.
    PaintBox1->resize(0, 0);
    ScrollBox1->setWidget(PaintBox1);
    ScrollBox1->setWidgetResizable(false);
    mainLayout->addWidget(ScrollBox1, 1);

    auto* right = new QVBoxLayout();
    right->setContentsMargins(0, 8, 0, 0);
    mainLayout->addLayout(right, 0);

    auto* groups = new QHBoxLayout();
    right->addLayout(groups);

    BResetPop = MakeButton("BResetPop", "Reset pop", central);
    BSaveGen = MakeButton("BSaveGen", "Save current population", central);
    BLoadProgram = MakeButton("BLoadProgram", "Load&&Program", central);
    BProgramIndividual = MakeButton("BProgramIndividual", "Program Individual", central);
    BProgramMinimum = MakeButton("BProgramMinimum", "Program minimum solution", central);
    BProgramMinimum->setToolTip("Show a PAL with the fewest AND terms that reproduces every cell of the truth table");
    GroupBox1 = MakeColumnGroup("GroupBox1", "Population",
                                {BResetPop, BSaveGen, BLoadProgram, BProgramIndividual, BProgramMinimum});
    groups->addWidget(GroupBox1);

    Button1 = MakeButton("Button1", "Evolve", central);
    Button2 = MakeButton("Button2", "Compute fitness", central);
    GiveShortcut(Button1, Shortcuts::Evolve, "Evaluate and breed generations until Stop");
    GiveShortcut(Button2, Shortcuts::ComputeFitness, "Score the individual shown");
    GiveShortcut(BSaveGen, Shortcuts::SavePopulation, "Append the population to a file");
    GiveShortcut(BLoadProgram, Shortcuts::LoadAndProgram, "Load a saved generation and show one of its individuals");
    BShowFitness = MakeButton("BShowFitness", "Show fitness plot", central);
    CBKhepera = new QCheckBox("With Khepera", central);
    CBKhepera->setObjectName("CBKhepera");
    GroupBox2 = MakeColumnGroup("GroupBox2", "Evolution", {Button1, Button2, BShowFitness, CBKhepera});
    groups->addWidget(GroupBox2);

    right->addWidget(BuildKheperaGroup());

    CBShowWhileEvolving = new QCheckBox("Show the PAL while evolving", central);
    CBShowWhileEvolving->setObjectName("CBShowWhileEvolving");
    right->addWidget(CBShowWhileEvolving);

    // The raw command line is kept for debugging sessions but never shown.
    auto* raw = new QHBoxLayout();
    BSend = MakeButton("BSend", "Send", central);
    ECommand = MakeEdit("ECommand", "ECommand", central);
    BSend->setVisible(false);
    ECommand->setVisible(false);
    raw->addWidget(BSend);
    raw->addWidget(ECommand);
    right->addLayout(raw);
    right->addStretch();

    setCentralWidget(central);

    // Two lines: the four panels, and below them the notes (a stop under
    // way, a file written) and the state of the robot link, which would not
    // fit beside the panels at the window's default width.
    auto* lines = new QWidget(this);
    lines->setObjectName("StatusLines");
    auto* grid = new QGridLayout(lines);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(0);
    const int widths[4] = {100, 100, 150, 150};
    const char* designTexts[4] = {"Generation:", "Individual:", "Pop stats:", "Max possible fit:"};
    for (int i = 0; i < 4; ++i) {
        StatusPanels[i] = new StatusPanel(designTexts[i], widths[i], lines);
        StatusPanels[i]->setObjectName(QString("StatusPanel%1").arg(i));
        grid->addWidget(StatusPanels[i], 0, i);
    }
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(3, 1);
    // Cut rather than widen the window when a note is long; hovering shows it whole.
    auto* note = new ElidedLabel(lines);
    note->SetElideMode(Qt::ElideMiddle); // a path keeps its file name
    LRunNote = note;
    LRunNote->setObjectName("LRunNote");
    grid->addWidget(LRunNote, 1, 0, 1, 3);
    LLink = new ElidedLabel(lines);
    LLink->setObjectName("LLink");
    grid->addWidget(LLink, 1, 3);
    statusBar()->addWidget(lines, 1);
    statusBar()->setObjectName("StatusBar1");
    // A status bar's width is ignored by default, so the window could get
    // narrower than its panels' texts; it is not.
    statusBar()->setSizePolicy(QSizePolicy::Preferred, statusBar()->sizePolicy().verticalPolicy());
}

QWidget* TFOrvik::BuildKheperaGroup()
{
    GroupBox3 = new QGroupBox("Khepera");
    GroupBox3->setObjectName("GroupBox3");
    auto* layout = new QHBoxLayout(GroupBox3);

    Image1 = new ProximityRing(GroupBox3);
    LProximity = MakeLabel("LProximity", QString(), GroupBox3);
    auto* ring = new QVBoxLayout();
    ring->addWidget(Image1);
    ring->addWidget(LProximity);
    ring->addStretch();
    layout->addLayout(ring);

    auto* controls = new QGridLayout();
    layout->addLayout(controls, 1);
    Button9 = MakeButton("Button9", "Proximity sens", GroupBox3);
    Button8 = MakeButton("Button8", "Set motor spd", GroupBox3);
    Label2 = MakeLabel("Label2", "Motor speed L: ", GroupBox3);
    Edit2 = MakeEdit("Edit2", "0", GroupBox3);
    Label3 = MakeLabel("Label3", "R:", GroupBox3);
    Edit1 = MakeEdit("Edit1", "0", GroupBox3);
    LCurrentSpeed = MakeLabel("LCurrentSpeed", "Current speed: ", GroupBox3);
    LCurrentFitness = MakeLabel("LCurrentFitness", "Current fitness:", GroupBox3);
    Label4 = MakeLabel("Label4", "Length of run (sec):", GroupBox3);
    ELengthRun = MakeEdit("ELengthRun", "10", GroupBox3);
    Label5 = MakeLabel("Label5", "Number of runs:", GroupBox3);
    ENumRun = MakeEdit("ENumRun", "1", GroupBox3);
    BStopRun = MakeButton("BStopRun", "Stop", GroupBox3);
    BStopRun->setVisible(false);
    for (QLineEdit* e : {Edit1, Edit2, ELengthRun, ENumRun})
        e->setMaximumWidth(48);

    auto* speeds = new QHBoxLayout();
    speeds->addWidget(Label2);
    speeds->addWidget(Edit2);
    speeds->addWidget(Label3);
    speeds->addWidget(Edit1);
    speeds->addStretch();

    auto* buttons = new QHBoxLayout();
    buttons->addWidget(Button9);
    buttons->addWidget(Button8);
    controls->addLayout(buttons, 0, 0, 1, 2);
    controls->addLayout(speeds, 1, 0, 1, 2);
    controls->addWidget(LCurrentSpeed, 2, 0, 1, 2);
    controls->addWidget(LCurrentFitness, 3, 0, 1, 2);
    controls->addWidget(Label4, 4, 0);
    controls->addWidget(ELengthRun, 4, 1);
    controls->addWidget(Label5, 5, 0);
    controls->addWidget(ENumRun, 5, 1);
    controls->addWidget(BStopRun, 6, 0, 1, 2);
    controls->setRowStretch(7, 1);
    return GroupBox3;
}

void TFOrvik::BuildMenus()
{
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("Fiel1");
    ImportPla1 = file->addAction("&Import PLA...");
    ImportPla1->setObjectName("ImportPla1");
    ExportIndividual1 = file->addAction("Export &individual...");
    ExportIndividual1->setObjectName("ExportIndividual1");
    ExportTablePla1 = file->addAction("Export truth table as &PLA...");
    ExportTablePla1->setObjectName("ExportTablePla1");
    file->addSeparator();
    Exit1 = file->addAction("E&xit");
    Exit1->setObjectName("Exit1");

    QMenu* setup = menuBar()->addMenu("&Setup");
    setup->setObjectName("Setup1");
    Truthtable1 = setup->addAction("&Truth table...");
    Truthtable1->setObjectName("Truthtable1");
    PALparameters1 = setup->addAction("&PAL...");
    PALparameters1->setObjectName("PALparameters1");
    GA1 = setup->addAction("&GA...");
    GA1->setObjectName("GA1");
    Motor1 = setup->addAction("&Motor...");
    Motor1->setObjectName("Motor1");
    Communication1 = setup->addAction("&Communication...");
    Communication1->setObjectName("Communication1");
    RobotEvaluation1 = setup->addAction("Robot &evaluation...");
    RobotEvaluation1->setObjectName("RobotEvaluation1");

    QMenu* debug = menuBar()->addMenu("&Debug");
    debug->setObjectName("Debug1");
    DebugConsole = debug->addAction("Console");
    DebugConsole->setObjectName("DebugConsole");
    DebugConsole->setCheckable(true);
    DebugConsole->setChecked(false);
    RobotArena1 = debug->addAction("Robot &arena");
    RobotArena1->setObjectName("RobotArena1");

    QMenu* help = menuBar()->addMenu("&Help");
    help->setObjectName("Help1");
    About1 = help->addAction("&About Orvik");
    About1->setObjectName("About1");
    Readme1 = help->addAction("&README");
    Readme1->setObjectName("Readme1");
}

void TFOrvik::ConnectHandlers()
{
    connect(PaintBox1, &PalPaintBox::OnPaint, this,
            [this](QPainter& painter, const QRect& exposed) { Viewer->Paint(painter, exposed); });
    connect(PaintBox1, &PalPaintBox::OnMouseDown, this,
            [this](Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) { PaintBox1MouseDown(x, y); });

    connect(BResetPop, &QPushButton::clicked, this, &TFOrvik::BResetPopClick);
    connect(BSaveGen, &QPushButton::clicked, this, &TFOrvik::BSaveGenClick);
    connect(BLoadProgram, &QPushButton::clicked, this, &TFOrvik::BLoadProgramClick);
    connect(BProgramIndividual, &QPushButton::clicked, this, &TFOrvik::BProgramIndividualClick);
    connect(BProgramMinimum, &QPushButton::clicked, this, &TFOrvik::BProgramMinimumClick);
    connect(ImportPla1, &QAction::triggered, this, &TFOrvik::ImportPla1Click);
    connect(ExportIndividual1, &QAction::triggered, this, &TFOrvik::ExportIndividual1Click);
    connect(ExportTablePla1, &QAction::triggered, this, &TFOrvik::ExportTablePla1Click);
    // The PAL dialog may be open while the count finishes.
    connect(TableMinimum, &MinimumTermsTask::Finished, this, [this] {
        if (FPalSetup)
            FPalSetup->ShowNeededTerms(&*TableMinimum->Result());
    });
    connect(Button1, &QPushButton::clicked, this, &TFOrvik::BEvolveClick);
    connect(Button2, &QPushButton::clicked, this, &TFOrvik::BComputeFitnessClick);
    connect(BShowFitness, &QPushButton::clicked, this, &TFOrvik::BShowFitnessClick);
    connect(CBKhepera, &QCheckBox::clicked, this, &TFOrvik::CBKheperaClick);
    connect(Button9, &QPushButton::clicked, this, &TFOrvik::BProximityClick);
    connect(Button8, &QPushButton::clicked, this, &TFOrvik::BMotorClick);
    connect(BSend, &QPushButton::clicked, this, &TFOrvik::BSendClick);
    connect(BStopRun, &QPushButton::clicked, this, &TFOrvik::BStopRunClick);

    connect(Exit1, &QAction::triggered, this, &TFOrvik::Exit1Click);
    connect(Truthtable1, &QAction::triggered, this, &TFOrvik::Truthtable1Click);
    connect(PALparameters1, &QAction::triggered, this, &TFOrvik::PALparameters1Click);
    connect(GA1, &QAction::triggered, this, &TFOrvik::GA1Click);
    connect(Motor1, &QAction::triggered, this, &TFOrvik::Motor1Click);
    connect(Communication1, &QAction::triggered, this, &TFOrvik::Communication1Click);
    connect(RobotEvaluation1, &QAction::triggered, this, &TFOrvik::RobotEvaluation1Click);
    connect(RobotArena1, &QAction::triggered, this, &TFOrvik::RobotArena1Click);
    connect(About1, &QAction::triggered, this, &TFOrvik::About1Click);
    connect(Readme1, &QAction::triggered, this, &TFOrvik::Readme1Click);
    // The menu item is not auto-checked: DebugConsoleClick inverts the mark itself.
    connect(DebugConsole, &QAction::triggered, this, [this] {
        DebugConsole->setChecked(!DebugConsole->isChecked());
        DebugConsoleClick();
    });
    connect(DebugConsoleWindow(), &TFDebugConsole::closedByUser, this,
            [this] { DebugConsole->setChecked(false); });
}

void TFOrvik::FormCreate()
{
    // Like the chart, the console never keeps the program alive on its own.
    DebugConsoleWindow()->setAttribute(Qt::WA_QuitOnClose, false);
    // Start with the console closed and "Console" unchecked.
    OpenDebugConsole();
    CloseDebugConsole();
    DebugConsole->setChecked(false);
    connect(FFitnessDisplay, &TFFitnessDisplay::StopTaken, this, &TFOrvik::ShowStopTaken);
    connect(FFitnessDisplay, &TFFitnessDisplay::FileWritten, this, &TFOrvik::ShowNote);
    connect(FTruthTable, &TFTruthTable::FileWritten, this, &TFOrvik::ShowNote);
}

void TFOrvik::FormDestroy() { CloseDebugConsole(); }

void TFOrvik::Exit1Click() { close(); }

void TFOrvik::DebugConsoleClick()
{
    DebugConsole->setChecked(!DebugConsole->isChecked());
    if (DebugConsole->isChecked()) {
        // The chart opens on the right; the console goes left when it can.
        PlaceSideWindowOnce(DebugConsoleWindow(), true);
        OpenDebugConsole();
    } else {
        CloseDebugConsole();
    }
}

void TFOrvik::closeEvent(QCloseEvent* event)
{
    if (Evolving || ComputingOnRobot) {
        // The loop is inside a click handler further down the stack: let it
        // finish the current generation (or robot step), then close from there.
        closeWhenIdle_ = true;
        if (Evolving)
            FFitnessDisplay->BStopClick();
        else
            BStopRunClick();
        event->ignore();
        return;
    }
    if (!MayClose()) {
        event->ignore();
        return;
    }
    event->accept();
}

void TFOrvik::PlaceSideWindowOnce(QWidget* window, bool preferLeft)
{
    PlaceOnceBeside(window, this, preferLeft ? PlacementSide::Left : PlacementSide::Right,
                    {FFitnessDisplay, FRobotArena, DebugConsoleWindow()});
}

void TFOrvik::ShowError(const QString& text) { Ui().Message(this, "Error", text); }

void TFOrvik::ShowFatal(const std::exception& error)
{
    Ui().Message(this, QString(), QString::fromLocal8Bit(error.what()));
}
