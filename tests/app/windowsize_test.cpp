// The main window keeps its width whatever the status bar says, and the PAL
// schematic's scroll area holds just the drawing.
#include "elidedlabel.h"
#include "orvikfixture.h"
#include "palpaintbox.h"
#include "palviewer.h"

#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>
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

    // Cut at this width, the note shows whole on hover.
    auto* note = static_cast<ElidedLabel*>(window->LRunNote);
    note->setText(note->text().repeated(3));
    ASSERT_TRUE(note->IsElided());
    QHelpEvent hover(QEvent::ToolTip, QPoint(5, 5), note->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(note, &hover);
    EXPECT_EQ(QToolTip::text(), note->text());
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
