// File > "Export individual..." for a real chip: the JEDEC fuse map (.jed)
// that a device programmer burns into a GAL22V10 or GAL16V8, or the GAL
// assembler source (.pld) of the same design.
#include "tforvik.h"

#include "galfit.h"
#include "galsource.h"
#include "jedecfile.h"
#include "minimumcover.h"
#include "tfgalexport.h"
#include "uiseam.h"

#include <QApplication>
#include <QFileInfo>
#include <QSaveFile>

namespace {
// Written beside the final name and renamed over it, so a failed write
// leaves nothing half-written there. Bytes as they are (the JEDEC
// transmission checksum counts every one).
bool WriteFileWhole(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

QString TermsList(const SumOfProducts& circuit)
{
    QStringList counts;
    for (const std::vector<Cube>& terms : circuit.terms)
        counts << QString::number(terms.size());
    return counts.join(", ");
}
} // namespace

bool TFOrvik::IsGalPath(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == "jed" || suffix == "pld";
}

void TFOrvik::ExportGal(const QString& path, const SumOfProducts& circuit)
{
    TFGalExport dialog(this);
    dialog.Device = galDevice_;
    dialog.Signature = galSignature_;
    dialog.Circuit = circuit;
    if (dialog.ShowDialog() != QDialog::Accepted)
        return;
    galDevice_ = dialog.Device;
    galSignature_ = dialog.Signature;
    const std::string signature = galSignature_.toStdString();

    GalFit fit = FitGal(galDevice_, circuit, signature);
    if (!fit && fit.tooManyTerms) {
        // Seconds at most (a time limit per output); usually far less.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const SumOfProducts minimum =
            MinimumSumOfProducts(circuit, {DefaultCoverNodeBudget, DefaultCoverTimeLimit, nullptr});
        QApplication::restoreOverrideCursor();
        GalFit minimumFit = FitGal(galDevice_, minimum, signature);
        if (!minimumFit) {
            const QString still = minimumFit.problem == fit.problem
                                      ? QString(".")
                                      : ": " + QString::fromStdString(minimumFit.problem);
            ShowError(QString("%1\nIts minimum sum of products (%2 AND terms per output) does not fit either%3\n"
                              "Nothing was written.")
                          .arg(QString::fromStdString(fit.problem), TermsList(minimum), still));
            return;
        }
        const QString question =
            QString("%1\nThe same function as a minimum sum of products needs %2 AND terms per output and fits "
                    "the %3. Export that instead?")
                .arg(QString::fromStdString(fit.problem), TermsList(minimum), GalName(galDevice_));
        if (!Ui().AskYesNo(this, "Export individual", question))
            return;
        fit = std::move(minimumFit);
    }
    if (!fit) {
        ShowError(QString::fromStdString(fit.problem) + "\nNothing was written.");
        return;
    }
    const bool jedec = QFileInfo(path).suffix().toLower() == "jed";
    const std::string text = jedec ? FormatGalJedec(*fit.design) : FormatGalSource(*fit.design);
    if (!WriteFileWhole(path, QByteArray::fromStdString(text))) {
        ShowError(QString("Error writing %1").arg(QFileInfo(path).fileName()));
        return;
    }
    ShowNote(QString("Individual %1 for the %2 written to %3").arg(CurrentIndividual).arg(GalName(galDevice_), ShownPath(path)));
}
