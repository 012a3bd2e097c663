#pragma once
// A UiSeam for tests: records every message box, answers questions and file
// dialogs from queues, and runs modal dialogs through a handler instead of
// an event loop, so no test ever blocks.
#include "uiseam.h"

#include <QDialog>
#include <QUrl>

#include <deque>
#include <ostream>
#include <functional>
#include <vector>

// Readable QStrings in test failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

struct FakeUiSeam : UiSeam {
    struct Shown {
        QString caption;
        QString text;
    };
    std::vector<Shown> messages;
    std::deque<bool> yesNoAnswers;      // empty: answer No
    std::deque<SaveChoice> saveAnswers; // empty: answer Discard
    std::deque<QString> fileAnswers;    // answered first, one per dialog
    QString fileAnswer;                 // then this, every time; empty: cancel
    std::vector<FileDialogRequest> fileRequests;
    // Called instead of exec(); returns the dialog's result. The default
    // presses Cancel.
    std::function<int(QDialog*)> onExec;
    std::vector<QUrl> openedUrls;       // nothing is really opened
    bool openUrlSucceeds = true;

    FakeUiSeam() { SetUiSeam(this); }
    ~FakeUiSeam() override { SetUiSeam(nullptr); }

    void Message(QWidget*, const QString& caption, const QString& text) override
    {
        messages.push_back({caption, text});
    }
    bool AskYesNo(QWidget*, const QString& caption, const QString& text) override
    {
        messages.push_back({caption, text});
        if (yesNoAnswers.empty())
            return false;
        const bool answer = yesNoAnswers.front();
        yesNoAnswers.pop_front();
        return answer;
    }
    SaveChoice AskSaveDiscardCancel(QWidget*, const QString& caption, const QString& text) override
    {
        messages.push_back({caption, text});
        if (saveAnswers.empty())
            return SaveChoice::Discard;
        const SaveChoice answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }
    QString NextFile(const FileDialogRequest& request)
    {
        fileRequests.push_back(request);
        if (fileAnswers.empty())
            return fileAnswer;
        QString answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
    QString OpenFileName(QWidget*, const FileDialogRequest& request) override { return NextFile(request); }
    QString SaveFileName(QWidget*, const FileDialogRequest& request) override { return NextFile(request); }
    int Exec(QDialog* dialog) override
    {
        if (onExec)
            return onExec(dialog);
        dialog->reject();
        return QDialog::Rejected;
    }
    bool OpenUrl(const QUrl& url) override
    {
        openedUrls.push_back(url);
        return openUrlSucceeds;
    }

    // The messages as "caption | text" lines.
    std::vector<QString> Lines() const
    {
        std::vector<QString> lines;
        for (const Shown& m : messages)
            lines.push_back(m.caption + " | " + m.text);
        return lines;
    }

    // Presses OK on a dialog: accept() runs its close query; the result says
    // whether it closed.
    static int PressOk(QDialog* dialog)
    {
        dialog->setResult(0);
        dialog->accept();
        return dialog->result();
    }
};
