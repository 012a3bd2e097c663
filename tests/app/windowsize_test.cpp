// The main window keeps its width whatever the status bar says, and the PAL
// schematic's scroll area holds just the drawing.
#include "orvikfixture.h"
#include "palpaintbox.h"
#include "palviewer.h"

#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>

TEST_F(OrvikWindowTest, ALongStatusNoteDoesNotWidenTheWindow)
{
    window->show();
    QCoreApplication::processEvents();
    const int width = window->width();
    ui.fileAnswer = TempFile("a-population-file-with-a-rather-long-name-for-this-afternoon.ga");
    window->BSaveGenClick();
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->LRunNote->text().endsWith("/a-population-file-with-a-rather-long-name-for-this-afternoon.ga"));
    EXPECT_EQ(window->width(), width);
    EXPECT_LE(window->minimumSizeHint().width(), width);
}

TEST_F(OrvikWindowTest, TheScrollAreaHoldsJustTheDrawing)
{
    window->resize(1200, 900);
    window->show();
    for (const PalConfig& pal : {PalConfig{4, 2, 3}, PalConfig{2, 1, 1}, PalConfig{10, 40, 10}}) {
        window->SetPalSize(pal.NumInputs, pal.NumAndTerms, pal.NumOutputs);
        QCoreApplication::processEvents();
        EXPECT_EQ(window->PaintBox1->size(), window->Viewer->Layout().ComputedCanvas());
        const bool fits = window->PaintBox1->width() <= window->ScrollBox1->viewport()->width()
            && window->PaintBox1->height() <= window->ScrollBox1->viewport()->height();
        EXPECT_EQ(window->ScrollBox1->verticalScrollBar()->isVisible(), !fits) << pal.NumAndTerms;
    }
}
