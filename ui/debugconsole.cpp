#include "debugconsole.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {
// Text of `bytes`: UTF-8 when it is valid, Latin-1 otherwise.
QString Decode(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError())
        return QString::fromLatin1(bytes);
    return text;
}

// "\r\n" and a lone "\r" become "\n".
void NormaliseLineEnds(QByteArray& bytes)
{
    bytes.replace("\r\n", "\n");
    bytes.replace('\r', '\n');
}

// Byte offset where the last `lines` complete lines of `bytes` begin (0 when
// it holds no more than that).
qsizetype StartOfLastLines(const QByteArray& bytes, int lines)
{
    qsizetype pos = bytes.size();
    if (pos > 0 && bytes[pos - 1] == '\n')
        --pos; // the final line end belongs to the last line
    for (int n = 0; n < lines; ++n) {
        if (pos == 0)
            return 0;
        pos = bytes.lastIndexOf('\n', pos - 1);
        if (pos < 0)
            return 0;
    }
    return pos + 1;
}

TFDebugConsole* instance = nullptr;
} // namespace

TFDebugConsole::TFDebugConsole(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setWindowTitle("Debug console");
    // A side window: it must not keep the program running once the main window is closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    MLog = new QPlainTextEdit;
    MLog->setReadOnly(true);
    MLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    MLog->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    MLog->setMaximumBlockCount(MaxLines);
    MLog->setUndoRedoEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(MLog);
    resize(640, 400);

    flushTimer_.setSingleShot(true);
    flushTimer_.setInterval(FlushIntervalMs);
    connect(&flushTimer_, &QTimer::timeout, this, &TFDebugConsole::FlushPending);
}

TFDebugConsole::~TFDebugConsole()
{
    if (CurrentConsoleSink() == this)
        SetConsoleSink(nullptr);
    if (instance == this)
        instance = nullptr;
}

void TFDebugConsole::Write(const char* text, std::size_t length)
{
    pending_.append(text, static_cast<qsizetype>(length));
    if (pending_.size() >= PendingLimitBytes)
        FlushPending();
    else if (!flushTimer_.isActive())
        flushTimer_.start();
}

void TFDebugConsole::FlushPending()
{
    flushTimer_.stop();
    if (pending_.isEmpty())
        return;
    QByteArray bytes;
    bytes.swap(pending_);
    // A "\r" at the very end may be the first half of "\r\n": keep it back.
    if (bytes.endsWith('\r')) {
        pending_ = "\r";
        bytes.chop(1);
    }
    NormaliseLineEnds(bytes);

    QTextDocument* document = MLog->document();
    // More lines than the window keeps would push everything shown out anyway.
    const qsizetype start = StartOfLastLines(bytes, MaxLines);
    if (start > 0) {
        bytes.remove(0, start);
        MLog->clear();
    }

    QScrollBar* bar = MLog->verticalScrollBar();
    const bool followEnd = bar->value() == bar->maximum();
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(Decode(bytes)); // each "\n" starts a new block
    if (followEnd)
        bar->setValue(bar->maximum());
}

void TFDebugConsole::Clear()
{
    flushTimer_.stop();
    pending_.clear();
    MLog->clear();
}

QString TFDebugConsole::Text()
{
    FlushPending();
    return MLog->toPlainText();
}

void TFDebugConsole::closeEvent(QCloseEvent* event)
{
    CloseDebugConsole();
    event->accept();
    emit closedByUser();
}

TFDebugConsole* DebugConsoleWindow()
{
    // Created on first use and kept for the rest of the run.
    if (!instance)
        instance = new TFDebugConsole;
    return instance;
}

void OpenDebugConsole()
{
    TFDebugConsole* console = DebugConsoleWindow();
    console->Clear();
    SetConsoleSink(console);
    console->show();
    console->raise();
}

bool CloseDebugConsole()
{
    SetConsoleSink(nullptr);
    if (instance) {
        instance->Clear();
        instance->hide();
    }
    return true;
}
