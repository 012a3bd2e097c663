#include "galrun.h"

#include "minimumtermstask.h"
#include "palterms.h"
#include "tfgalexport.h"
#include "tforvik.h"
#include "uiseam.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>

#include <deque>
#include <functional>

namespace {
void Settle(int milliseconds = 200)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool Save(QWidget* widget, const QDir& out, const char* name)
{
    Settle();
    return widget->grab().save(out.filePath(QString::fromLatin1(name)));
}

// Answers file dialogs from a list, shows each modal dialog and each message
// box without an event loop of its own, and lets the scenario act on them.
struct GalSeam : UiSeam {
    std::deque<QString> files;
    std::function<int(QDialog*)> onExec;
    std::function<void(QMessageBox*)> onMessage;

    void Message(QWidget* parent, const QString& caption, const QString& text) override
    {
        QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, parent);
        box.show();
        if (onMessage)
            onMessage(&box);
    }
    bool AskYesNo(QWidget*, const QString&, const QString&) override { return false; }
    QString OpenFileName(QWidget* parent, const FileDialogRequest& request) override
    {
        return SaveFileName(parent, request);
    }
    QString SaveFileName(QWidget*, const FileDialogRequest&) override
    {
        if (files.empty())
            return {};
        const QString file = files.front();
        files.pop_front();
        return file;
    }
    int Exec(QDialog* dialog) override
    {
        dialog->show();
        const int result = onExec ? onExec(dialog) : QDialog::Rejected;
        dialog->done(result);
        return result;
    }
};
} // namespace

int GalRun(TFOrvik* window, const QDir& out, const QString& plaPath)
{
    GalSeam seam;
    SetUiSeam(&seam);
    window->show();
    window->move(40, 40);
    bool ok = true;

    seam.files = {plaPath};
    window->ImportPla1Click();
    while (window->TableMinimum->Busy())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    window->SetPalSize(window->Pal.NumInputs, window->TableMinimum->Result()->Terms(), window->Pal.NumOutputs);
    while (window->TableMinimum->Busy())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    window->BProgramMinimumClick();

    const QString jedec = out.filePath("orvik_pal.jed");
    seam.files = {jedec};
    seam.onExec = [&](QDialog* dialog) {
        ok = Save(dialog, out, "gal-export-dialog.png") && ok;
        dialog->accept();
        return dialog->result();
    };
    window->ExportIndividual1Click();
    QFile file(jedec);
    ok = file.open(QIODevice::ReadOnly) && ok;
    QPlainTextEdit view;
    view.setWindowTitle("orvik_pal.jed");
    view.setPlainText(QString::fromLatin1(file.readAll()));
    view.setFont(QFont("Monospace"));
    view.resize(760, 520);
    view.show();
    ok = Save(&view, out, "gal-jedec.png") && ok;

    // Odd parity of five inputs: 16 terms, and no fewer will do.
    window->SetPalSize(5, 16, 1);
    std::vector<Cube> parity;
    for (uint16_t r = 0; r < 32; ++r)
        if (__builtin_popcount(r) % 2)
            parity.push_back({31, r});
    window->CurrentChromosome = ProgramTerms(window->Pal, {parity});
    seam.files = {out.filePath("parity.jed")};
    seam.onExec = [&](QDialog* dialog) {
        static_cast<TFGalExport*>(dialog)->CBDevice->setCurrentIndex(1);
        ok = Save(dialog, out, "gal-export-dialog-16v8.png") && ok;
        dialog->accept();
        return dialog->result();
    };
    seam.onMessage = [&](QMessageBox* box) { ok = Save(box, out, "gal-refusal.png") && ok; };
    window->ExportIndividual1Click();

    SetUiSeam(nullptr);
    return ok ? 0 : 1;
}
