// orvik-batch --seed 1 draws what the window draws: the window started from
// a fresh GA(N, L) on the program's generators and evolved for G generations
// saves exactly the population that the batch tool saves for run 0 of seed 1.
#include "orvikfixture.h"

#include "batchmain.h"
#include "console.h"
#include "processrandom.h"
#include "shufflerandom.h"
#include "tffitnessdisplay.h"
#include "tfgaconfigure.h"

#include <QFile>
#include <QLineEdit>
#include <QRadioButton>

#include <cstdio>

namespace {
// Asks the window to stop once it begins to evaluate generation `last`, so
// that generations 0 .. last are evaluated and recorded.
struct StopAtGeneration : ConsoleSink {
    explicit StopAtGeneration(int last)
        : last(last)
    {
    }
    void Write(const char* text, std::size_t length) override
    {
        int generation = 0;
        if (std::sscanf(std::string(text, length).c_str(), "Testing generation %d", &generation) == 1
            && generation >= last)
            FFitnessDisplay->StopRequested = true;
    }
    int last;
};

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int CallBatch(const std::vector<std::string>& arguments)
{
    std::atomic<bool> stop {false};
    const std::atomic<int> signal {0};
    std::FILE* sink = std::fopen("/dev/null", "w");
    const int status = RunBatch(arguments, stop, signal, BatchStreams {sink, sink, 0});
    std::fclose(sink);
    return status;
}
} // namespace

TEST_F(OrvikWindowTest, BatchSeedOneSavesWhatTheWindowSavesFromTheSameStart)
{
    // O0 = I0 XOR I1, O1 = I2 AND I3, O2 = I0 OR I3 on the default PAL.
    QByteArray table = "4 3\n";
    for (uint32_t r = 0; r < 16; ++r) {
        const int i0 = (r >> 3) & 1, i1 = (r >> 2) & 1, i2 = (r >> 1) & 1, i3 = r & 1;
        window->Table[r * 3 + 0] = i0 ^ i1;
        window->Table[r * 3 + 1] = i2 & i3;
        window->Table[r * 3 + 2] = i0 | i3;
        table += QByteArray::number(i0 ^ i1) + " " + QByteArray::number(i2 & i3) + " "
            + QByteArray::number(i0 | i3) + " \n";
    }
    window->Truthtable1Click(); // Cancel: only refreshes what depends on the table
    const QString tablePath = TempFile("xor.tbl");
    QFile tableFile(tablePath);
    ASSERT_TRUE(tableFile.open(QIODevice::WriteOnly));
    tableFile.write(table);
    tableFile.close();

    struct Case {
        const char* name;
        int generations;
        // The GA dialog's texts; empty: the window's start-up values.
        QStringList dialog; // population, mutation, crossover, rank parents, elitism
        bool roulette;
        std::vector<std::string> options;
    };
    const Case cases[] = {
        {"start-up values", 40, {}, false, {}},
        {"roulette, odd population, no elitism", 25, {"31", "0.05", "0.9", "7", "0"}, true,
            {"--population", "31", "--mutation", "0.05", "--crossover", "0.9", "--rank-parents", "7",
                "--elitism", "0", "--selection", "roulette"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.dialog.isEmpty()) {
            ui.yesNoAnswers = {true}; // the population size changes
            ui.onExec = [&](QDialog* dialog) {
                auto* ga = static_cast<TFGAConfigure*>(dialog);
                ga->EditPopSize->setText(c.dialog[0]);
                ga->EditMutationRate->setText(c.dialog[1]);
                ga->EditCrossoverRate->setText(c.dialog[2]);
                ga->EditRankNumber->setText(c.dialog[3]);
                ga->EElitism->setText(c.dialog[4]);
                (c.roulette ? ga->RBRoulette : ga->RBRank)->setChecked(true);
                return FakeUiSeam::PressOk(dialog);
            };
            window->ConfigureGA();
        }
        // A fresh start: the program's generators at their start-up state,
        // then a population drawn as GA(N, L) draws it.
        ProcessRandom::RestartForTests();
        ShuffleRandom::RestartForTests();
        window->Population.SetSizes(window->Population.GetPopulationSize(), 48);

        StopAtGeneration stopper(c.generations);
        SetConsoleSink(&stopper);
        window->Evolve();
        SetConsoleSink(nullptr);
        ASSERT_EQ(window->Population.GetGeneration(), c.generations);
        const QString windowFile = TempFile(QString("window-%1.ga").arg(c.generations));
        ui.fileAnswer = windowFile;
        window->BSaveGenClick();

        const QString folder = TempFile(QString("batch-%1").arg(c.generations));
        std::vector<std::string> arguments
            = {tablePath.toStdString(), "--seed", "1", "--runs", "1", "--generations",
                std::to_string(c.generations), "--no-stop-at-max", "--save-best", folder.toStdString()};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        ASSERT_EQ(CallBatch(arguments), 0);

        const QByteArray saved = ReadAll(windowFile);
        ASSERT_TRUE(saved.startsWith("Generation " + QByteArray::number(c.generations) + "\n"));
        EXPECT_EQ(ReadAll(folder + "/seed-1.ga"), saved);
    }
}
