// File > "Export individual..." to a GAL: the device dialog, the offer of
// the minimum sum of products, the refusal, and what lands on disk.
#include "orvikfixture.h"

#include "jedecreader.h"
#include "palterms.h"
#include "tfgalexport.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>

namespace {
// All 2^n minterms whose parity is odd: the minimum needs every one of them.
std::vector<Cube> OddParity(int32_t n)
{
    std::vector<Cube> cubes;
    for (uint16_t r = 0; r < (1u << n); ++r)
        if (__builtin_popcount(r) % 2)
            cubes.push_back({static_cast<uint16_t>((1u << n) - 1), r});
    return cubes;
}

class GalExportWindowTest : public OrvikWindowTest {
protected:
    // Programs one output with `terms` and answers the device dialog.
    void Program(int32_t n, const std::vector<Cube>& terms)
    {
        window->SetPalSize(n, static_cast<int32_t>(terms.size()), 1);
        window->CurrentChromosome = ProgramTerms(window->Pal, {terms});
    }
    void AnswerDialog(int deviceIndex, const QString& signature)
    {
        ui.onExec = [=, this](QDialog* dialog) {
            auto* gal = qobject_cast<TFGalExport*>(dialog);
            EXPECT_NE(gal, nullptr);
            gal->CBDevice->setCurrentIndex(deviceIndex);
            gal->ESignature->setText(signature);
            pinOut = gal->LPinOut->text();
            gal->accept();
            return gal->result();
        };
    }
    void Export(const QString& name)
    {
        ui.fileAnswers = {TempFile(name)};
        window->ExportIndividual1->trigger();
    }
    QByteArray ReadBack(const QString& name)
    {
        QFile file(TempFile(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString pinOut;
};
} // namespace

TEST_F(GalExportWindowTest, OffersTheMinimumWhenTheOwnTermsDoNotFit)
{
    // Input 0, as its four minterms three times over: 12 terms, minimum 1.
    std::vector<Cube> terms;
    for (int k = 0; k < 12; ++k)
        terms.push_back({0b111, static_cast<uint16_t>(0b100 | (k % 4))});
    Program(3, terms);
    AnswerDialog(1, "Test");

    ui.yesNoAnswers = {false};
    Export("no.jed");
    ASSERT_EQ(ui.Lines(), (std::vector<QString>{
                              "Export individual | Output 0 needs 12 AND terms; the GAL16V8 allows 8 per output.\n"
                              "The same function as a minimum sum of products needs 1 AND terms per output and "
                              "fits the GAL16V8. Export that instead?"}));
    EXPECT_FALSE(QFile::exists(TempFile("no.jed")));
    EXPECT_TRUE(pinOut.startsWith("Output 0 needs 12 AND terms")) << pinOut.toStdString();

    ui.yesNoAnswers = {true};
    Export("yes.jed");
    const JedecContents read = ReadJedecText(ReadBack("yes.jed").toStdString());
    EXPECT_TRUE(read.fuseChecksumRight && read.transmissionChecksumRight);
    const GalSimulator device("GAL16V8", read.fuses);
    for (int r = 0; r < 8; ++r) {
        PinLevels pins;
        pins.fill(Floating);
        pins[2] = r >> 2, pins[3] = (r >> 1) & 1, pins[4] = r & 1;
        EXPECT_EQ(device.Run(pins)[12], r >> 2) << "pin 12 is input 0, row " << r;
    }
    EXPECT_NE(read.comment.find("Signature: Test"), std::string::npos) << read.comment;
    EXPECT_NE(read.comment.find("Pin 12  O0  output, 1 of 8 product terms"), std::string::npos) << read.comment;
}

TEST_F(GalExportWindowTest, RefusesWhatDoesNotFitAndWritesNothing)
{
    Program(5, OddParity(5)); // 16 terms, all needed
    AnswerDialog(1, "Orvik");
    Export("parity.jed");
    EXPECT_EQ(ui.Lines(), (std::vector<QString>{
                              "Error | Output 0 needs 16 AND terms; the GAL16V8 allows 8 per output.\n"
                              "Its minimum sum of products (16 AND terms per output) does not fit either.\n"
                              "Nothing was written."}));
    EXPECT_FALSE(QFile::exists(TempFile("parity.jed")));

    // The GAL22V10 holds it; the source names the device and signature.
    ui.messages.clear();
    AnswerDialog(0, "Orvik");
    Export("parity.pld");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(ReadBack("parity.pld").startsWith("GAL22V10\nOrvik\n"));
    EXPECT_TRUE(pinOut.contains("Pin 18  O0  output, 16 of 16 product terms")) << pinOut.toStdString();
}

TEST_F(GalExportWindowTest, BadSignatureKeepsTheDialogOpenAndAnUnwritablePathIsAnError)
{
    Program(2, {{0b11, 0b01}});
    AnswerDialog(0, QString::fromUtf8("Orvik\u00e9"));
    Export("x.jed");
    EXPECT_EQ(ui.Lines(), (std::vector<QString>{
                              "Error | A signature holds only letters, digits, spaces and ASCII punctuation."}));
    EXPECT_FALSE(QFile::exists(TempFile("x.jed")));

    ui.messages.clear();
    AnswerDialog(0, "Orvik");
    Export("no such folder/x.jed");
    EXPECT_EQ(ui.Lines(), (std::vector<QString>{"Error | Error writing x.jed"}));
}
