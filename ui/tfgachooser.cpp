#include "tfgachooser.h"

#include "uiseam.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStringList>
#include <QVBoxLayout>

namespace {
QListWidget* MakeList()
{
    auto* list = new QListWidget;
    // Thousands of lines: uniform sizes spare the view measuring each one.
    list->setUniformItemSizes(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

QGroupBox* Group(const QString& title, QWidget* content)
{
    auto* group = new QGroupBox(title);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(content);
    return group;
}

// The highlighted line of `list`, or -1.
int HighlightedRow(const QListWidget* list)
{
    const int row = list->currentRow();
    if (row < 0 || !list->item(row)->isSelected())
        return -1;
    return row;
}

void Highlight(QListWidget* list, int row)
{
    if (row < list->count())
        list->setCurrentRow(row);
}
} // namespace

TFGAChooser::TFGAChooser(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle("FGAChooser");
    LBGenerations = MakeList();
    LBIndividuals = MakeList();
    LNotice = new QLabel;
    LNotice->setWordWrap(true);
    LNotice->setTextFormat(Qt::PlainText);
    LNotice->hide();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);

    auto* lists = new QHBoxLayout;
    lists->addWidget(Group("Generations", LBGenerations), 1);
    lists->addWidget(Group("Individuals", LBIndividuals), 2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LNotice);
    layout->addLayout(lists, 1);
    layout->addWidget(buttons);
    resize(420, 360);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Selection, not the current row: a mouse press moves the current row
    // before it selects, and only a highlighted line counts.
    connect(LBGenerations, &QListWidget::itemSelectionChanged, this, &TFGAChooser::LBGenerationsClick);
}

QString TFGAChooser::IndividualLine(int index, double fitness)
{
    // QString::asprintf formats numbers in the C locale whatever LC_NUMERIC says.
    return QString::asprintf("%04d   %lf", index, fitness);
}

int TFGAChooser::Choose(const std::vector<GAData>* list, const QString& notice)
{
    LNotice->setText(notice);
    LNotice->setVisible(!notice.isEmpty());
    list_ = list;
    FillGenerations();
    FillIndividuals(0);
    return Ui().Exec(this);
}

void TFGAChooser::FillGenerations()
{
    // Filling is not a click: the caller fills the individuals itself.
    const QSignalBlocker quiet(LBGenerations);
    LBGenerations->clear();
    if (list_) {
        QStringList lines;
        lines.reserve(static_cast<qsizetype>(list_->size()));
        for (const GAData& record : *list_)
            lines.append(QString::number(record.generation));
        LBGenerations->addItems(lines);
    }
    Highlight(LBGenerations, 0);
}

void TFGAChooser::FillIndividuals(int index)
{
    shownRecord_ = index;
    LBIndividuals->clear();
    if (list_ && index >= 0 && index < static_cast<int>(list_->size())) {
        const std::vector<double>& values = (*list_)[static_cast<std::size_t>(index)].values;
        QStringList lines;
        lines.reserve(static_cast<qsizetype>(values.size()));
        for (std::size_t i = 0; i < values.size(); ++i)
            lines.append(IndividualLine(static_cast<int>(i), values[i]));
        LBIndividuals->addItems(lines);
    }
    Highlight(LBIndividuals, 0);
}

void TFGAChooser::LBGenerationsClick()
{
    const int row = HighlightedRow(LBGenerations);
    if (row >= 0) {
        FillIndividuals(row);
    } else if (shownRecord_ >= 0 && shownRecord_ < LBGenerations->count()) {
        // Nothing highlighted would leave OK without a generation to report.
        const QSignalBlocker quiet(LBGenerations);
        LBGenerations->setCurrentRow(shownRecord_, QItemSelectionModel::ClearAndSelect);
    }
}

void TFGAChooser::done(int result)
{
    ChosenIndividual = HighlightedRow(LBIndividuals);
    if (ChosenIndividual < 0 && LBIndividuals->count() > 0)
        ChosenIndividual = 0;
    const int row = HighlightedRow(LBGenerations);
    if (list_ && row >= 0 && row < static_cast<int>(list_->size()))
        ChosenGeneration = (*list_)[static_cast<std::size_t>(row)].generation;
    QDialog::done(result);
}
