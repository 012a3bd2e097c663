#include "logicrun.h"

#include "minimumtermstask.h"
#include "orvikwindows.h"
#include "tffitnessdisplay.h"
#include "tforvik.h"
#include "tfpalsetup.h"
#include "tftruthtable.h"
#include "uiseam.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

#include <cstdio>
#include <deque>
#include <functional>

namespace {
// Answers file dialogs from a list; shows each modal dialog without a loop
// of its own and lets the scenario act on it and close it.
struct ScriptedSeam : UiSeam {
    std::deque<QString> files;
    std::function<int(QDialog*)> onExec;

    void Message(QWidget*, const QString& caption, const QString& text) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
    }
    QString NextFile()
    {
        if (files.empty())
            return {};
        const QString file = files.front();
        files.pop_front();
        return file;
    }
    QString OpenFileName(QWidget*, const FileDialogRequest&) override { return NextFile(); }
    QString SaveFileName(QWidget*, const FileDialogRequest&) override { return NextFile(); }
    int Exec(QDialog* dialog) override
    {
        dialog->show();
        const int result = onExec ? onExec(dialog) : QDialog::Rejected;
        dialog->done(result);
        return result;
    }
};

void Settle(int milliseconds = 200)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

void WaitFor(MinimumTermsTask* task)
{
    while (task->Busy())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    Settle();
}

bool Save(QWidget* widget, const QDir& out, const char* name)
{
    Settle();
    return widget->grab().save(out.filePath(QString::fromLatin1(name)));
}
} // namespace

int LogicRun(TFOrvik* window, const QDir& out, const QString& plaPath)
{
    ScriptedSeam seam;
    SetUiSeam(&seam);
    window->show();
    window->move(40, 40);
    bool ok = true;

    seam.files = {plaPath};
    window->ImportPla1Click();
    WaitFor(window->TableMinimum);
    ok = Save(window, out, "logic-imported.png") && ok;

    seam.onExec = [&](QDialog* dialog) {
        WaitFor(FTruthTable->MinimumTask);
        ok = Save(dialog, out, "logic-table-editor.png") && ok;
        return int(QDialog::Rejected);
    };
    window->Truthtable1Click();

    const int needed = window->TableMinimum->Result()->Terms();
    seam.onExec = [&](QDialog* dialog) {
        ok = Save(dialog, out, "logic-pal-dialog-warning.png") && ok;
        FPalSetup->ENAnd->setText(QString::number(needed));
        ok = Save(dialog, out, "logic-pal-dialog.png") && ok;
        return FPalSetup->FormCloseQuery() ? int(QDialog::Accepted) : int(QDialog::Rejected);
    };
    window->PALparameters1Click();

    window->BProgramMinimumClick();
    ok = Save(window, out, "logic-minimum.png") && ok;

    FFitnessDisplay->move(window->x() + window->width() + 20, window->y());
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (window->Population.GetGeneration() >= 200)
            FFitnessDisplay->BStopClick();
    });
    watch.start(1);
    window->Evolve();
    watch.stop();
    uint32_t fittest = 0;
    for (uint32_t i = 1; i < window->Population.GetPopulationSize(); ++i)
        if (window->Population.At(i).GetFitness() > window->Population.At(fittest).GetFitness())
            fittest = i;
    window->SetCurrentIndividual(static_cast<int32_t>(fittest));
    ok = Save(window, out, "logic-evolved.png") && ok;

    const QString verilog = out.filePath("orvik_pal.v");
    seam.files = {verilog};
    window->ExportIndividual1Click();
    QFile file(verilog);
    ok = file.open(QIODevice::ReadOnly | QIODevice::Text) && ok;
    QPlainTextEdit view;
    view.setWindowTitle("orvik_pal.v");
    view.setPlainText(QString::fromUtf8(file.readAll()));
    view.setFont(QFont("Monospace"));
    view.resize(760, 320);
    view.show();
    ok = Save(&view, out, "logic-verilog.png") && ok;

    SetUiSeam(nullptr);
    DestroyOrvikWindows();
    return ok ? 0 : 1;
}
