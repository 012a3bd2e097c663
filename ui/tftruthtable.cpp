#include "tftruthtable.h"

#include "dialogvalidation.h"
#include "minimumtermstask.h"
#include "neededtermslabel.h"
#include "tablefile.h"
#include "uiseam.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace {

const QString DefaultTableName = QStringLiteral("default.tbl");

FileDialogRequest TableFileRequest(const QString& caption, const QString& lastPath, bool mustExist)
{
    FileDialogRequest request;
    request.caption = caption;
    // An absolute proposal makes the dialog open in that folder: the working
    // directory at first, later the folder of the last file chosen.
    request.defaultName = lastPath.isEmpty() ? QDir::current().absoluteFilePath(DefaultTableName) : lastPath;
    request.defaultSuffix = QStringLiteral("tbl");
    request.filter = QStringLiteral("Truth tables (*.tbl)");
    request.mustExist = mustExist;
    return request;
}

bool IsPlainEnter(const QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    return enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// Cell editors whose Enter commits at once and moves down (see TruthTableGrid).
class CellDelegate : public QStyledItemDelegate {
public:
    explicit CellDelegate(TruthTableGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && IsPlainEnter(static_cast<QKeyEvent*>(event))) {
            grid_->EnterPressed();
            return true;
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    TruthTableGrid* grid_;
};

} // namespace

// ---------------------------------------------------------------------------
// TruthTableGrid

TruthTableGrid::TruthTableGrid(QWidget* parent) : QTableWidget(parent)
{
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    // A click on the current cell edits it too (mouseReleaseEvent).
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    setItemDelegate(new CellDelegate(this));
    setShowGrid(true);
    // Arrows move between cells; Tab leaves the grid for the buttons, so the
    // keyboard alone reaches "Ok" (Enter inside the grid moves down instead).
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    // Every row the same height: fast for 1024 rows, and no per-row resizing.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(std::max(24, fontMetrics().height() + 8));
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
}

void TruthTableGrid::CommitEdit()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    // Leaving the current cell commits and closes its editor; then return to it.
    const QModelIndex current = currentIndex();
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
}

QSize TruthTableGrid::sizeHint() const
{
    int width = 2 * frameWidth();
    for (int column = 0; column < columnCount(); ++column)
        width += columnWidth(column);
    // Room for the vertical scroll bar even when every row fits: a dialog cut
    // down to the screen height needs one, and must not then scroll sideways.
    width += verticalScrollBar()->sizeHint().width();
    const int shownRows = std::min(rowCount(), VisibleRows);
    const int height = 2 * frameWidth() + horizontalHeader()->sizeHint().height()
        + shownRows * verticalHeader()->defaultSectionSize();
    return {width, height};
}

void TruthTableGrid::EnterPressed()
{
    // Spreadsheet habit: Enter confirms the cell and goes down, so typing a
    // column of values never closes the dialog by accident.
    CommitEdit();
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.row() + 1 < rowCount())
        setCurrentCell(current.row() + 1, current.column());
}

void TruthTableGrid::keyboardSearch(const QString&)
{
    // Typing is for the cells: it never jumps to a cell that starts with it.
}

void TruthTableGrid::keyPressEvent(QKeyEvent* event)
{
    if (IsPlainEnter(event)) {
        EnterPressed();
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void TruthTableGrid::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex pressed = indexAt(event->position().toPoint());
    pressOnCurrent_ = pressed.isValid() && pressed == currentIndex() && event->button() == Qt::LeftButton;
    QTableWidget::mousePressEvent(event);
}

void TruthTableGrid::mouseReleaseEvent(QMouseEvent* event)
{
    QTableWidget::mouseReleaseEvent(event);
    const QModelIndex released = indexAt(event->position().toPoint());
    if (pressOnCurrent_ && released == currentIndex() && state() != QAbstractItemView::EditingState
        && (model()->flags(released) & Qt::ItemIsEditable))
        edit(released);
    pressOnCurrent_ = false;
}

// ---------------------------------------------------------------------------
// TFTruthTable

TFTruthTable::TFTruthTable(QWidget* parent)
    : QDialog(parent),
      StringGrid1(new TruthTableGrid(this)),
      BOk(new QPushButton(tr("Ok"), this)),
      BCancel(new QPushButton(tr("Cancel"), this)),
      BSave(new QPushButton(tr("Save"), this)),
      BLoad(new QPushButton(tr("Load"), this)),
      Label1(new QLabel(this)),
      Label2(new QLabel(this)),
      LNeededTerms(new NeededTermsLabel(this)),
      MinimumTask(new MinimumTermsTask(this)),
      minimumTimer_(new QTimer(this))
{
    setObjectName(QStringLiteral("FTruthTable"));
    setWindowTitle(QStringLiteral("Truth table edit"));
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    BOk->setObjectName(QStringLiteral("BOk"));
    BCancel->setObjectName(QStringLiteral("BCancel"));
    BSave->setObjectName(QStringLiteral("BSave"));
    BLoad->setObjectName(QStringLiteral("BLoad"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2->setObjectName(QStringLiteral("Label2"));

    Label1->setText(QStringLiteral(
        "Use this grid to edit your truth table. Valid inputs are '0', '1' or 'X'. The fitness is "
        "computed on the '0' and '1' bits, but not on 'X'. Use the 'X' for \"don't care\" bits."));
    Label2->setText(QStringLiteral(
        "Two output bits are used to set the speed of each motor. You can change the way those "
        "output bits are interpreted to set the speed. Valid values are in the range [-5;10]."));
    for (QLabel* label : {Label1, Label2}) {
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
        label->hide();
    }

    BOk->setDefault(true);
    // Return anywhere but in the grid (which moves down) means "Ok", even
    // while another button has the focus: none of them takes the default.
    for (QPushButton* button : {BCancel, BSave, BLoad})
        button->setAutoDefault(false);
    connect(BOk, &QPushButton::clicked, this, &TFTruthTable::accept);
    connect(BCancel, &QPushButton::clicked, this, &TFTruthTable::reject);
    connect(BSave, &QPushButton::clicked, this, &TFTruthTable::BSaveClick);
    connect(BLoad, &QPushButton::clicked, this, &TFTruthTable::BLoadClick);
    SetUpMinimum();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BSave);
    buttons->addWidget(BLoad);
    buttons->addStretch(1);
    buttons->addWidget(BOk);
    buttons->addWidget(BCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addWidget(StringGrid1, 1);
    layout->addWidget(LNeededTerms);
    layout->addLayout(buttons);

    // Wide enough for the help texts to wrap into a few lines, whatever the font.
    setMinimumWidth(fontMetrics().averageCharWidth() * 48);
}

int TFTruthTable::EditTable(int32_t* table, int32_t numIn, bool motorMode, int32_t numOut)
{
    setWindowTitle(motorMode ? QStringLiteral("Output bits -> motor speed assignment")
                             : QStringLiteral("Truth table edit"));
    Label1->setVisible(!motorMode);
    Label2->setVisible(motorMode);
    Table = table;
    MotorMode = motorMode;
    NumIn = numIn;
    NumOut = numOut;
    BuildGrid();
    FillFromTable();
    FitToGrid();
    // Typing goes into the grid at every opening, whichever button had the
    // focus when the dialog last closed.
    FocusCell(0, NumIn);
    StartMinimum();
    const int result = Ui().Exec(this);
    StopMinimum();
    return result;
}

void TFTruthTable::BuildGrid()
{
    const int rows = 1 << NumIn;
    const int columns = NumIn + NumOut;
    StringGrid1->setUpdatesEnabled(false);
    StringGrid1->clear();
    StringGrid1->setRowCount(rows);
    StringGrid1->setColumnCount(columns);

    QStringList headers;
    // Names imported with the table replace "In %d" and "Out %d".
    const bool inputNames = !MotorMode && InputLabels.size() == NumIn;
    const bool outputNames = !MotorMode && OutputLabels.size() == NumOut;
    for (int column = 0; column < NumIn; ++column)
        headers << (inputNames ? InputLabels[column]
                               : (MotorMode ? QStringLiteral("Out %1") : QStringLiteral("In %1")).arg(column));
    for (int j = 0; j < NumOut; ++j)
        headers << (MotorMode ? QStringLiteral("Motor speed")
                              : outputNames ? OutputLabels[j] : QStringLiteral("Out %1").arg(j));
    StringGrid1->setHorizontalHeaderLabels(headers);

    // Key cells: read-only, shaded like the header so they read as labels.
    const QBrush keyBackground = StringGrid1->palette().brush(QPalette::Button);
    const QBrush keyForeground = StringGrid1->palette().brush(QPalette::ButtonText);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < NumIn; ++column) {
            const bool bit = (row >> (NumIn - 1 - column)) & 1;
            auto* key = new QTableWidgetItem(bit ? QStringLiteral("1") : QStringLiteral("0"));
            key->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            key->setTextAlignment(Qt::AlignCenter);
            key->setBackground(keyBackground);
            key->setForeground(keyForeground);
            StringGrid1->setItem(row, column, key);
        }
        for (int column = NumIn; column < columns; ++column) {
            auto* value = new QTableWidgetItem;
            value->setTextAlignment(Qt::AlignCenter);
            StringGrid1->setItem(row, column, value);
        }
    }

    // One width for all key columns and one for all value columns, from the
    // header texts (the cells hold at most two characters).
    const QFontMetrics headerMetrics(StringGrid1->horizontalHeader()->font());
    const int padding = headerMetrics.horizontalAdvance(QLatin1Char('0')) + 12;
    int keyWidth = headerMetrics.horizontalAdvance(QStringLiteral("000"));
    int valueWidth = headerMetrics.horizontalAdvance(QStringLiteral("-000"));
    for (int column = 0; column < columns; ++column) {
        int& width = column < NumIn ? keyWidth : valueWidth;
        width = std::max(width, headerMetrics.horizontalAdvance(headers[column]));
    }
    for (int column = 0; column < columns; ++column)
        StringGrid1->setColumnWidth(column, (column < NumIn ? keyWidth : valueWidth) + padding);

    StringGrid1->setUpdatesEnabled(true);
    if (NumOut > 0)
        StringGrid1->setCurrentCell(0, NumIn);
    StringGrid1->scrollToTop();
}

void TFTruthTable::FillFromTable()
{
    const int rows = 1 << NumIn;
    for (int row = 0; row < rows; ++row) {
        for (int j = 0; j < NumOut; ++j) {
            const int32_t value = Table[j + row * NumOut];
            SetValueText(row, j, MotorMode ? QString::number(value) : TruthValueText(value));
        }
    }
}

void TFTruthTable::FitToGrid()
{
    // The dialog is reused: drop the layout's cached size of the last grid.
    StringGrid1->updateGeometry();
    if (layout())
        layout()->invalidate();
    const QSize wanted = sizeHint();
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QSize available = screen ? screen->availableSize() * 9 / 10 : wanted;
    resize(wanted.boundedTo(available).expandedTo(minimumSizeHint()));
}

QString TFTruthTable::CellText(int row, int column) const
{
    const QTableWidgetItem* item = StringGrid1->item(row, column);
    return item ? item->text() : QString();
}

void TFTruthTable::SetValueText(int row, int valueColumn, const QString& text)
{
    StringGrid1->item(row, NumIn + valueColumn)->setText(text);
}

int32_t TFTruthTable::CellValue(int row, int valueColumn) const
{
    const QString text = CellText(row, NumIn + valueColumn);
    if (!MotorMode)
        return TruthCellValue(text);
    int32_t value = 0;
    ParseMotorCell(text, value);
    return value;
}

bool TFTruthTable::IsValidCell(const QString& text) const
{
    return MotorMode ? IsValidMotorCell(text) : IsValidTruthCell(text);
}

std::pair<int, int> TFTruthTable::FirstInvalidCell() const
{
    const int rows = StringGrid1->rowCount();
    for (int row = 0; row < rows; ++row)
        for (int column = NumIn; column < NumIn + NumOut; ++column)
            if (!IsValidCell(CellText(row, column)))
                return {row, column};
    return {-1, -1};
}

bool TFTruthTable::CheckGrid() const { return FirstInvalidCell().first < 0; }

void TFTruthTable::ShowInvalidMessage()
{
    Ui().Message(this, QStringLiteral("Error"),
                 MotorMode ? QStringLiteral("Invalid fields in the truth table. Valid values are in the range [-5;10]")
                           : QStringLiteral("Invalid fields in the truth table. Valid fields are \"0\", \"1\" or \"X\"...."));
    const auto [row, column] = FirstInvalidCell();
    if (row >= 0)
        FocusCell(row, column);
}

void TFTruthTable::FocusCell(int row, int column)
{
    if (row >= StringGrid1->rowCount() || column >= StringGrid1->columnCount())
        return;
    StringGrid1->setCurrentCell(row, column, QItemSelectionModel::ClearAndSelect);
    StringGrid1->scrollToItem(StringGrid1->item(row, column));
    StringGrid1->setFocus(Qt::OtherFocusReason);
}

int TFTruthTable::ClampSpeed(int v)
{
    return std::clamp(v, static_cast<int>(MinMotorSpeed), static_cast<int>(MaxMotorSpeed));
}

bool TFTruthTable::FormCloseQuery()
{
    StringGrid1->CommitEdit();
    if (!CheckGrid()) {
        ShowInvalidMessage();
        return false;
    }
    const int rows = 1 << NumIn;
    for (int row = 0; row < rows; ++row)
        for (int j = 0; j < NumOut; ++j)
            Table[j + row * NumOut] = CellValue(row, j);
    return true;
}

void TFTruthTable::accept()
{
    if (FormCloseQuery())
        QDialog::accept();
}

void TFTruthTable::BSaveClick()
{
    StringGrid1->CommitEdit();
    if (!CheckGrid()) {
        ShowInvalidMessage();
        return;
    }
    const QString path = Ui().SaveFileName(this, TableFileRequest(tr("Save table"), LastSavePath, false));
    if (path.isEmpty())
        return;
    LastSavePath = path;

    const int rows = 1 << NumIn;
    std::vector<int32_t> values;
    values.reserve(static_cast<size_t>(rows) * static_cast<size_t>(NumOut));
    for (int row = 0; row < rows; ++row)
        for (int j = 0; j < NumOut; ++j)
            values.push_back(CellValue(row, j));
    if (!WriteTextFile(path, FormatTableFile(NumIn, NumOut, values)))
        Ui().Message(this, QStringLiteral("Error"), QStringLiteral("Error saving truth table"));
    else
        emit FileWritten(QStringLiteral("%1 saved to %2")
                             .arg(MotorMode ? QStringLiteral("Motor table") : QStringLiteral("Truth table"),
                                  ShownPath(path)));
}

void TFTruthTable::BLoadClick()
{
    const QString path = Ui().OpenFileName(this, TableFileRequest(tr("Load table"), LastOpenPath, true));
    if (path.isEmpty())
        return;
    LastOpenPath = path;

    QString reason;
    const std::optional<QByteArray> text = ReadTextFile(path, TableFileMaxBytes, &reason);
    if (!text) {
        // A file that is there but refused (a device, a FIFO, too large) says why.
        Ui().Message(this, QStringLiteral("Error"),
                     QFileInfo::exists(path) ? QStringLiteral("Error loading truth table: %1.").arg(reason)
                                             : QStringLiteral("Error loading truth table"));
        return;
    }
    const TableFileContent content = ParseTableFile(*text, NumIn, NumOut);
    switch (content.status) {
    case TableFileContent::Status::HeaderMismatch:
        Ui().Message(this, QStringLiteral("Error"), HeaderMismatchMessage(content.keyBits, content.valueColumns));
        return;
    case TableFileContent::Status::Malformed:
        Ui().Message(this, QStringLiteral("Error"),
                     QStringLiteral("Error loading truth table: %1.").arg(content.problem));
        return;
    case TableFileContent::Status::Ok:
        break;
    }

    // An open editor would write its old text over the loaded cell when it closes.
    StringGrid1->CommitEdit();
    const int rows = 1 << NumIn;
    for (int row = 0; row < rows; ++row) {
        for (int j = 0; j < NumOut; ++j) {
            const int32_t value = content.values[static_cast<size_t>(j + row * NumOut)];
            SetValueText(row, j, MotorMode ? QString::number(ClampSpeed(value)) : TruthValueText(value));
        }
    }
}
