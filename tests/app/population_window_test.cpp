// Saving, listing, loading and programming populations through the main window.
#include "orvikfixture.h"

#include "palviewer.h"
#include "tffitnessdisplay.h"
#include "tfgachooser.h"

#include <QFile>
#include <QLineSeries>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QTimer>

namespace {
void EvolveOneGeneration(TFOrvik* w)
{
    QTimer::singleShot(0, [] { FFitnessDisplay->BStopClick(); });
    w->Evolve();
}

// Picks generation line `generationLine` and individual `individual`, then OK.
std::function<int(QDialog*)> Choose(int generationLine, int individual, int* generationsListed = nullptr)
{
    return [=](QDialog* dialog) {
        auto* chooser = static_cast<TFGAChooser*>(dialog);
        if (generationsListed)
            *generationsListed = chooser->LBGenerations->count();
        chooser->LBGenerations->setCurrentRow(generationLine);
        chooser->LBGenerationsClick();
        chooser->LBIndividuals->setCurrentRow(individual);
        dialog->accept();
        return dialog->result();
    };
}
void WriteFile(const QString& path, const QByteArray& text)
{
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(text);
}

// A block of `values.size()` individuals of `length` clear bits.
QByteArray Block(int generation, uint32_t length, const std::vector<double>& values)
{
    QByteArray text = "Generation " + QByteArray::number(generation) + "\n" +
                      QByteArray::number(static_cast<qulonglong>(values.size())) + " " +
                      QByteArray::number(length) + "\n";
    for (double v : values)
        text += QByteArray(static_cast<int>(length), '0') + " " + QByteArray::number(v, 'f', 6) + "\n";
    return text;
}

// A user's Ctrl+click on a line of a shown list: it takes the highlight off.
void CtrlClickLine(QListWidget* list, int row)
{
    QCoreApplication::processEvents(); // item views lay their lines out lazily
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualItemRect(list->item(row)).center());
}

// Everything a refused load or command must leave as it was.
struct WindowState {
    uint32_t n, l;
    int32_t generation, current;
    std::size_t history;
    BitString first;

    explicit WindowState(const TFOrvik* w)
        : n(w->Population.GetPopulationSize()), l(w->Population.GetChromosomeLength()),
          generation(w->Population.GetGeneration()), current(w->CurrentIndividual),
          history(w->Population.History().size()), first(w->Population.At(0))
    {
    }
    bool operator==(const WindowState& o) const
    {
        return n == o.n && l == o.l && generation == o.generation && current == o.current &&
               history == o.history && first == o.first;
    }
};
} // namespace

TEST_F(OrvikWindowTest, SavedPopulationLoadsBackWithItsFitness)
{
    EvolveOneGeneration(window);
    EvolveOneGeneration(window);
    const QString file = TempFile("new.ga"); // does not exist yet
    ui.fileAnswers = {file};
    window->BSaveGenClick();
    ASSERT_TRUE(QFile::exists(file));
    const GA saved = window->Population;

    window->BResetPopClick();
    FFitnessDisplay->hide();
    int listed = 0;
    ui.fileAnswers = {file};
    ui.onExec = Choose(0, 7, &listed);
    window->BLoadProgramClick();
    EXPECT_EQ(listed, 1);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(window->Population.GetGeneration(), 1);
    EXPECT_TRUE(window->Population.IsEvaluated());
    for (uint32_t i = 0; i < saved.GetPopulationSize(); ++i) {
        EXPECT_TRUE(window->Population.At(i) == saved.At(i)) << i;
        EXPECT_DOUBLE_EQ(window->Population.At(i).GetFitness(), saved.At(i).GetFitness()) << i;
        // The fast evaluator scores the loaded chromosome as it was scored before.
        EXPECT_EQ(window->ComputeFitness(window->Population.At(i)), saved.At(i).GetFitness()) << i;
    }
    EXPECT_EQ(window->CurrentIndividual, 7);
    EXPECT_TRUE(window->CurrentChromosome == saved.At(7));
    EXPECT_EQ(window->StatusPanels[0]->text(), "Generation: 1");
    EXPECT_FALSE(FFitnessDisplay->isVisible()); // the chart is updated, not shown
    EXPECT_EQ(FFitnessDisplay->PlotModel().RecordCount(), 1);
}

TEST_F(OrvikWindowTest, TwoSavesIntoANewFileListTwoGenerations)
{
    const QString file = TempFile("twice.ga");
    ui.fileAnswers = {file};
    window->BSaveGenClick();
    EvolveOneGeneration(window);
    EvolveOneGeneration(window);
    ui.fileAnswers = {file};
    window->BSaveGenClick();

    int listed = 0;
    ui.fileAnswers = {file};
    ui.onExec = Choose(1, 0, &listed);
    window->BLoadProgramClick();
    EXPECT_EQ(listed, 2);
    EXPECT_EQ(window->Population.GetGeneration(), 1);
    EXPECT_EQ(window->Population.History().size(), 2u);
}

TEST_F(OrvikWindowTest, CancellingLeavesEverythingAsItWas)
{
    const Individual first = window->Population.At(0);
    window->BSaveGenClick();     // file dialog cancelled
    window->BLoadProgramClick(); // file dialog cancelled
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(window->Population.At(0) == first);

    const QString file = TempFile("cancel.ga");
    ui.fileAnswers = {file};
    window->BSaveGenClick();
    ui.fileAnswers = {file};
    ui.onExec = {}; // the chooser is cancelled
    window->BLoadProgramClick();
    EXPECT_TRUE(window->Population.At(0) == first);
    EXPECT_FALSE(window->Population.IsEvaluated());
}

TEST_F(OrvikWindowTest, ARefusedFileShowsTheReasonAndChangesNothing)
{
    const QString file = TempFile("bad.ga");
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("Generation 0\n4000000000 4000000000\n0101 1.0\n");
    out.close();

    const Individual first = window->Population.At(0);
    bool chooserOpened = false;
    ui.onExec = [&](QDialog* d) {
        chooserOpened = true;
        d->reject();
        return d->result();
    };
    ui.fileAnswers = {file};
    window->BLoadProgramClick();
    EXPECT_FALSE(chooserOpened);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Error");
    EXPECT_FALSE(ui.messages[0].text.isEmpty());
    EXPECT_TRUE(window->Population.At(0) == first);
    EXPECT_EQ(window->Population.GetPopulationSize(), 100u);
}

TEST_F(OrvikWindowTest, SaveFailureIsReported)
{
    ui.fileAnswers = {TempFile("no/such/folder/x.ga")};
    window->BSaveGenClick();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Error");
}

TEST_F(OrvikWindowTest, ProgramIndividualOffersTheLastGeneration)
{
    bool opened = false;
    ui.onExec = [&](QDialog* d) {
        opened = true;
        d->reject();
        return d->result();
    };
    window->BProgramIndividualClick(); // nothing evaluated yet: nothing shown
    EXPECT_FALSE(opened);

    EvolveOneGeneration(window);
    EvolveOneGeneration(window);
    int listed = 0;
    ui.onExec = Choose(0, 42, &listed);
    const GA before = window->Population;
    window->BProgramIndividualClick();
    EXPECT_EQ(listed, 1);
    EXPECT_EQ(window->CurrentIndividual, 42);
    EXPECT_TRUE(window->CurrentChromosome == before.At(42));
    EXPECT_TRUE(window->Viewer->Fuses == before.At(42));
    EXPECT_TRUE(window->Population.At(0) == before.At(0)); // the population is not changed
}

TEST_F(OrvikWindowTest, AGenerationOfAnotherPalIsRefusedBeforeAnythingChanges)
{
    window->SetPalSize(4, 2, 4); // 64-bit chromosomes
    EvolveOneGeneration(window);
    const QString file = TempFile("other.ga");
    WriteFile(file, Block(3, 10, {1.0, 2.0}) + Block(4, 64, {5.0, 6.0}));
    const WindowState before(window);

    ui.fileAnswers = {file};
    ui.onExec = Choose(0, 1);
    window->BLoadProgramClick();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Error");
    EXPECT_EQ(ui.messages[0].text,
              "The file's chromosomes have 10 bits; the PAL needs 64 (4 inputs, 2 AND terms, 4 outputs).");
    EXPECT_TRUE(WindowState(window) == before);

    // The program stays usable, and a block of the PAL's size still loads.
    window->BResetPopClick();
    EvolveOneGeneration(window);
    ui.fileAnswers = {file};
    ui.onExec = Choose(1, 1);
    window->BLoadProgramClick();
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(window->Population.GetGeneration(), 4);
    EXPECT_EQ(window->CurrentIndividual, 1);
    EvolveOneGeneration(window);
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(OrvikWindowTest, ProgramIndividualRefusesAPopulationOfAnotherPal)
{
    window->Population.SetSizes(100, 10); // the PAL needs 48 bits
    window->Population.RecordGeneration();
    bool opened = false;
    ui.onExec = [&](QDialog* d) {
        opened = true;
        return FakeUiSeam::PressOk(d);
    };
    window->BProgramIndividualClick();
    EXPECT_FALSE(opened);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Error");
    EXPECT_EQ(ui.messages[0].text,
              "The population's chromosomes have 10 bits; the PAL needs 48 (4 inputs, 2 AND terms, 3 outputs).");
    EXPECT_EQ(window->CurrentIndividual, 0);
}

TEST_F(OrvikWindowTest, CtrlClickInTheChooserLoadsTheGenerationShown)
{
    const QString file = TempFile("two.ga");
    WriteFile(file, Block(0, 48, {1.0, 2.0, 3.0}) + Block(1, 48, {4.0, 5.0}));
    ui.fileAnswers = {file};
    ui.onExec = Choose(1, 1);
    window->BLoadProgramClick();
    ASSERT_EQ(window->Population.GetGeneration(), 1);

    // The generation line highlighted at opening is Ctrl+clicked, and so is
    // the individual line: generation 0, individual 0 are meant.
    window->CurrentIndividual = 2;
    ui.fileAnswers = {file};
    ui.onExec = [](QDialog* d) {
        auto* chooser = static_cast<TFGAChooser*>(d);
        d->show();
        CtrlClickLine(chooser->LBIndividuals, 0);
        CtrlClickLine(chooser->LBGenerations, 0);
        return FakeUiSeam::PressOk(d);
    };
    window->BLoadProgramClick();
    EXPECT_TRUE(ui.messages.empty()) << ui.Lines().front().toStdString();
    EXPECT_EQ(window->Population.GetGeneration(), 0);
    EXPECT_EQ(window->Population.GetPopulationSize(), 3u);
    EXPECT_EQ(window->CurrentIndividual, 0);

    // "Program Individual" likewise programs individual 0.
    window->SetCurrentIndividual(2);
    ui.onExec = [](QDialog* d) {
        auto* chooser = static_cast<TFGAChooser*>(d);
        d->show();
        chooser->LBIndividuals->setCurrentRow(1);
        CtrlClickLine(chooser->LBIndividuals, 1);
        return FakeUiSeam::PressOk(d);
    };
    window->BProgramIndividualClick();
    EXPECT_EQ(window->CurrentIndividual, 0);
}

TEST_F(OrvikWindowTest, AHistoryThatOnlyLooksLikeAnExtensionIsRedrawn)
{
    for (int k = 0; k < 3; ++k)
        EvolveOneGeneration(window);
    const std::vector<GAData> evolved = window->Population.History();
    ASSERT_EQ(FFitnessDisplay->PlotModel().RecordCount(), 3);

    // The file's history shares the first and third records with the chart
    // and differs in the second: [A, X, C, D] after [A, B, C].
    const QString file = TempFile("lookalike.ga");
    WriteFile(file, Block(0, 48, evolved[0].values) + Block(1, 48, std::vector<double>(100, 7.0)) +
                        Block(2, 48, evolved[2].values) + Block(3, 48, std::vector<double>(100, 9.0)));
    ui.fileAnswers = {file};
    ui.onExec = Choose(3, 0);
    window->BLoadProgramClick();
    ASSERT_TRUE(ui.messages.empty());

    const std::vector<GAFitInfo>& plotted = FFitnessDisplay->PlotModel().Records();
    const std::vector<GAFitInfo> loaded = window->Population.GetFitInfo();
    ASSERT_EQ(plotted.size(), 4u);
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(plotted[k].max, loaded[k].max) << k;
        EXPECT_EQ(plotted[k].min, loaded[k].min) << k;
    }
    EXPECT_EQ(plotted[1].max, 7.0);
}

TEST_F(OrvikWindowTest, ResetAndANewPalClearTheChart)
{
    EvolveOneGeneration(window);
    ASSERT_EQ(FFitnessDisplay->PlotModel().RecordCount(), 1);
    window->BResetPopClick();
    EXPECT_EQ(FFitnessDisplay->PlotModel().RecordCount(), 0);
    EXPECT_TRUE(FFitnessDisplay->EMaxFitness->text().isEmpty());

    EvolveOneGeneration(window);
    ASSERT_EQ(FFitnessDisplay->PlotModel().RecordCount(), 1);
    window->SetPalSize(3, 2, 3);
    EXPECT_EQ(FFitnessDisplay->PlotModel().RecordCount(), 0);
    FFitnessDisplay->RefreshChartNow();
    EXPECT_EQ(FFitnessDisplay->Series1->count(), 0);
}

TEST_F(OrvikWindowTest, AFileWithADamagedLastBlockOffersItsCompleteBlocks)
{
    const QString file = TempFile("cut.ga");
    QByteArray text = Block(0, 48, {1.0, 2.0}) + Block(1, 48, {3.0, 4.0}) + Block(2, 48, {5.0, 6.0});
    text.chop(30); // a copy cut short inside the last block
    WriteFile(file, text);

    int listed = 0;
    QString notice;
    ui.fileAnswers = {file};
    ui.onExec = [&](QDialog* d) {
        auto* chooser = static_cast<TFGAChooser*>(d);
        listed = chooser->LBGenerations->count();
        for (QLabel* label : d->findChildren<QLabel*>())
            if (!label->isHidden())
                notice += label->text();
        return Choose(1, 1)(d);
    };
    window->BLoadProgramClick();
    EXPECT_EQ(listed, 2);
    EXPECT_NE(notice.indexOf("\"Generation 2\""), -1) << notice.toStdString();
    EXPECT_TRUE(ui.messages.empty()); // said once, in the chooser
    EXPECT_EQ(window->Population.GetGeneration(), 1);
    EXPECT_EQ(window->CurrentIndividual, 1);
    EXPECT_EQ(window->Population.History().size(), 2u);
}

// The maximum of the default table (all 0) is reached at once; saved at
// generations 2 and 4 and loaded, the history has no generations 0 and 1,
// and the chart says so instead of "first reached at generation 2".
TEST_F(OrvikWindowTest, TheMaximumReachedIsToldFromTheHistoryLoaded)
{
    const QString path = TempFile("saved.ga");
    ui.fileAnswer = path;
    for (int g = 0; g <= 4; ++g) {
        EvolveOneGeneration(window);
        if (g == 2 || g == 4)
            window->BSaveGenClick();
    }
    ASSERT_EQ(window->Population.History().front().values.size(), 100u);
    window->BResetPopClick();
    ui.onExec = Choose(1, 0);
    window->BLoadProgramClick();
    ASSERT_EQ(window->Population.GetGeneration(), 4);
    ASSERT_GE(window->Population.FitInfo().front().max, 48.0) << "the default table is matched at once";
    EXPECT_EQ(FFitnessDisplay->LMaxReached->text(),
              "Maximum 48 reached by generation 2 (generations 0 to 1 are not in the history)");
}
