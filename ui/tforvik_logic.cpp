// Logic-synthesis files and the minimum solution: File > "Import PLA...",
// "Export individual..." (PLA, BLIF or Verilog by the file's extension; the
// GAL files .jed and .pld in tforvik_gal.cpp),
// "Export truth table as PLA...", and "Program minimum solution".
#include "tforvik.h"

#include "circuitexport.h"
#include "console.h"
#include "minimumtermstask.h"
#include "palterms.h"
#include "palviewer.h"
#include "plafile.h"
#include "tablefile.h"
#include "uiseam.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace {
FileDialogRequest LogicFileRequest(const QString& caption, const QString& defaultName, const QString& filter,
                                   bool mustExist)
{
    FileDialogRequest request;
    request.caption = caption;
    request.defaultName = defaultName;
    request.defaultSuffix = QFileInfo(defaultName).suffix();
    request.filter = filter;
    request.mustExist = mustExist;
    return request;
}

const QString PlaFilter = QStringLiteral("PLA files (*.pla);;All files (*)");

std::vector<std::string> ToStdStrings(const QStringList& list)
{
    std::vector<std::string> strings;
    for (const QString& text : list)
        strings.push_back(text.toStdString());
    return strings;
}

QStringList ToQStrings(const std::vector<std::string>& strings)
{
    QStringList list;
    for (const std::string& text : strings)
        list << QString::fromStdString(text);
    return list;
}
} // namespace

void TFOrvik::TableChanged()
{
    TableMinimum->Start(Table, Pal.NumInputs, Pal.NumOutputs);
}

void TFOrvik::ImportPla1Click()
{
    const QString path = Ui().OpenFileName(this, LogicFileRequest("Import PLA", QString(), PlaFilter, true));
    if (path.isEmpty())
        return;
    const QString name = QFileInfo(path).fileName();
    QString reason;
    const std::optional<QByteArray> text = ReadTextFile(path, PlaFileMaxBytes, &reason);
    if (!text) {
        ShowError(QString("%1 cannot be read: %2.").arg(name, reason));
        return;
    }
    const PlaReadResult read = ReadPla(std::string_view(text->constData(), static_cast<std::size_t>(text->size())));
    if (!read) {
        ShowError(QString("%1 was not imported.\n%2").arg(name, QString::fromStdString(read.message)));
        return;
    }

    // The PAL takes the file's inputs and outputs as if set in the PAL
    // dialog, keeping its AND terms; then the table and its names.
    const PlaTable& table = read.table;
    const PalConfig chosen{table.numInputs, Pal.NumAndTerms, table.numOutputs};
    if (chosen != Pal && !MayReplaceEvolvedPopulation())
        return; // No: nothing is imported
    ApplyPalSize(chosen);
    Table = table.cells;
    InputLabels = ToQStrings(table.inputLabels);
    OutputLabels = ToQStrings(table.outputLabels);
    Viewer->SetLabels(InputLabels, OutputLabels);
    fastFitnessStale_ = true;
    TableChanged();
    RescorePopulation();
    UpdateStatusBar();
    ConsolePrintf("Imported %s: %d inputs, %d outputs\n", path.toLocal8Bit().constData(), table.numInputs,
                  table.numOutputs);
}

SumOfProducts TFOrvik::IndividualCircuit() const
{
    SumOfProducts circuit;
    circuit.numInputs = Pal.NumInputs;
    circuit.terms = PalTerms(Pal, CurrentChromosome);
    circuit.inputLabels = ToStdStrings(InputLabels);
    circuit.outputLabels = ToStdStrings(OutputLabels);
    return circuit;
}

void TFOrvik::ExportIndividual1Click()
{
    const QString path = Ui().SaveFileName(
        this, LogicFileRequest("Export individual", "orvik_pal.v",
                               "Verilog files (*.v);;BLIF files (*.blif);;PLA files (*.pla);;"
                               "JEDEC fuse maps for a GAL22V10 or GAL16V8 (*.jed);;GAL assembler sources (*.pld)",
                               false));
    if (path.isEmpty())
        return;
    if (IsGalPath(path)) {
        ExportGal(path, IndividualCircuit());
        return;
    }
    const std::optional<CircuitFormat> format = CircuitFormatOfPath(path.toStdString());
    if (!format) {
        ShowError("Choose a file name ending in .v (Verilog), .blif (BLIF), .pla (PLA), "
                  ".jed (JEDEC) or .pld (GAL assembler).");
        return;
    }
    if (!WriteTextFile(path, QByteArray::fromStdString(FormatCircuit(IndividualCircuit(), *format))))
        ShowError(QString("Error writing %1").arg(QFileInfo(path).fileName()));
    else
        ShowNote(QString("Individual %1 written to %2").arg(CurrentIndividual).arg(ShownPath(path)));
}

void TFOrvik::ExportTablePla1Click()
{
    const QString path = Ui().SaveFileName(this, LogicFileRequest("Export truth table as PLA", "table.pla", PlaFilter, false));
    if (path.isEmpty())
        return;
    PlaTable table;
    table.numInputs = Pal.NumInputs;
    table.numOutputs = Pal.NumOutputs;
    table.inputLabels = ToStdStrings(InputLabels);
    table.outputLabels = ToStdStrings(OutputLabels);
    table.cells = Table;
    if (!WriteTextFile(path, QByteArray::fromStdString(FormatPlaTable(table))))
        ShowError(QString("Error writing %1").arg(QFileInfo(path).fileName()));
    else
        ShowNote(QString("Truth table written to %1").arg(ShownPath(path)));
}

const TableCover* TFOrvik::WaitForTableMinimum()
{
    if (TableMinimum->Result())
        return &*TableMinimum->Result();
    if (!TableMinimum->Busy())
        TableChanged();

    // A small modal window with a busy bar and "Cancel", closed by the result.
    QDialog wait(this);
    wait.setObjectName("MinimumWait");
    wait.setWindowTitle("Orvik");
    auto* layout = new QVBoxLayout(&wait);
    layout->addWidget(new QLabel("Computing the minimum solution...", &wait));
    auto* busy = new QProgressBar(&wait);
    busy->setRange(0, 0);
    layout->addWidget(busy);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, &wait);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, &wait, &QDialog::reject);
    connect(TableMinimum, &MinimumTermsTask::Finished, &wait, &QDialog::accept);
    Ui().Exec(&wait);
    return TableMinimum->Result() ? &*TableMinimum->Result() : nullptr;
}

void TFOrvik::BProgramMinimumClick()
{
    const TableCover* cover = WaitForTableMinimum();
    if (!cover)
        return;
    if (cover->Terms() > Pal.NumAndTerms) {
        ShowError(QString("The minimum solution needs %1 AND terms per output; the PAL has %2. Set at least %1 "
                          "AND terms with Setup > PAL... first.")
                      .arg(cover->Terms())
                      .arg(Pal.NumAndTerms));
        return;
    }
    std::vector<std::vector<Cube>> terms;
    for (const OutputCover& output : cover->outputs)
        terms.push_back(output.terms);
    CurrentChromosome = ProgramTerms(Pal, terms);
    Viewer->Fuses = CurrentChromosome;
    UpdateSimulation();
    Viewer->Paint();
    ConsolePrintf("Programmed the minimum solution. %s\n", DescribeTableCover(*cover).c_str());
}
