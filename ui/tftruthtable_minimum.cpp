// The table editor's count of the AND terms its grid needs, kept up to date
// in the background while the user edits (truth-table mode only).
#include "tftruthtable.h"

#include "minimumtermstask.h"
#include "neededtermslabel.h"

#include <QTimer>

namespace {
// Edits closer together than this are counted once.
constexpr int EditPauseMs = 300;
} // namespace

void TFTruthTable::SetUpMinimum()
{
    LNeededTerms->hide();
    minimumTimer_->setSingleShot(true);
    minimumTimer_->setInterval(EditPauseMs);
    connect(minimumTimer_, &QTimer::timeout, this, &TFTruthTable::StartMinimum);
    connect(StringGrid1, &QTableWidget::itemChanged, this, [this] {
        if (!MotorMode)
            minimumTimer_->start();
    });
    connect(MinimumTask, &MinimumTermsTask::Finished, this,
            [this] { LNeededTerms->ShowCover(*MinimumTask->Result()); });
}

void TFTruthTable::StartMinimum()
{
    minimumTimer_->stop();
    LNeededTerms->setVisible(!MotorMode);
    if (MotorMode) {
        MinimumTask->Cancel();
        return;
    }
    LNeededTerms->SetAndTerms(PalAndTerms);
    if (!CheckGrid()) {
        MinimumTask->Cancel();
        LNeededTerms->ShowNote(tr("The AND terms the table needs are counted when every cell is 0, 1 or X."));
        return;
    }
    TruthTable cells;
    cells.reserve((std::size_t{1} << NumIn) * static_cast<std::size_t>(NumOut));
    for (int row = 0; row < (1 << NumIn); ++row)
        for (int j = 0; j < NumOut; ++j)
            cells.push_back(CellValue(row, j));
    LNeededTerms->ShowComputing();
    MinimumTask->Start(std::move(cells), NumIn, NumOut);
}

void TFTruthTable::StopMinimum()
{
    minimumTimer_->stop();
    MinimumTask->Cancel();
}
