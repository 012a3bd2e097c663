#pragma once
// The debug console: a text window that receives the ConsolePrintf log while
// it is open (Debug > Console). Logging must stay cheap even with one line per
// individual, so Write only appends to a pending buffer; the buffer reaches the
// window on a short timer or as soon as it grows past PendingLimitBytes, and
// the window keeps only the last MaxLines lines.
#include "console.h"

#include <QByteArray>
#include <QTimer>
#include <QWidget>

class QPlainTextEdit;

class TFDebugConsole : public QWidget, public ConsoleSink {
    Q_OBJECT
public:
    static constexpr int MaxLines = 5000;
    static constexpr int PendingLimitBytes = 64 * 1024;
    static constexpr int FlushIntervalMs = 50;

    explicit TFDebugConsole(QWidget* parent = nullptr);
    ~TFDebugConsole() override;

    // ConsoleSink: 8-bit text (UTF-8, or Latin-1 where it is not valid UTF-8)
    // in chunks that need not end at a line end. "\r\n" and a lone "\r" end a line.
    void Write(const char* text, std::size_t length) override;

    // Moves the pending text into the window now.
    void FlushPending();
    // Empties the window and drops the pending text.
    void Clear();
    // The window's text after a flush, lines separated by "\n".
    QString Text();

    QPlainTextEdit* MLog = nullptr;

signals:
    // The user closed the window with its close box; the console is off now
    // and the owner should uncheck its menu item.
    void closedByUser();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QByteArray pending_;
    QTimer flushTimer_;
};

// Debug > Console on: a fresh, empty console window is shown and receives the log.
void OpenDebugConsole();
// Debug > Console off: the log is dropped from now on and the window hidden.
// Returns true (kept for callers that check it).
bool CloseDebugConsole();
// The one console window of the program, created on first use (never null).
TFDebugConsole* DebugConsoleWindow();
