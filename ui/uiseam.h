#pragma once
// The one seam through which the program shows message boxes, file dialogs
// and modal dialogs. The program uses the real thing; tests install their own
// UiSeam that answers at once, so no test ever blocks on a modal window.
#include <QMessageBox>
#include <QString>

class QDialog;
class QUrl;
class QWidget;

// What a file dialog is asked for. `filter` uses Qt's syntax
// ("GA files (*.ga);;All files (*)").
struct FileDialogRequest {
    QString caption;
    QString defaultName;      // proposed file, e.g. "default.ga" (in the current folder) or an absolute path
    QString defaultSuffix;    // appended when the user types none, e.g. "ga"
    QString filter;
    bool mustExist = false;   // open dialogs: only existing files
};

class UiSeam {
public:
    virtual ~UiSeam() = default;

    // A message box with one OK button ("Error", "Fitness", or an empty caption).
    virtual void Message(QWidget* parent, const QString& caption, const QString& text);
    // A Yes/No question; true on Yes.
    virtual bool AskYesNo(QWidget* parent, const QString& caption, const QString& text);
    // A question with "Save", "Discard" and "Cancel" (Escape) buttons.
    enum class SaveChoice { Save, Discard, Cancel };
    virtual SaveChoice AskSaveDiscardCancel(QWidget* parent, const QString& caption, const QString& text);
    // Returns the chosen path, or an empty string when cancelled.
    virtual QString OpenFileName(QWidget* parent, const FileDialogRequest& request);
    virtual QString SaveFileName(QWidget* parent, const FileDialogRequest& request);
    // Runs a dialog modally and returns QDialog::Accepted or QDialog::Rejected.
    virtual int Exec(QDialog* dialog);
    // Opens a file or link in the desktop's viewer for it; false when none could.
    virtual bool OpenUrl(const QUrl& url);
};

// Where every file dialog starts: `request.defaultName` made absolute from
// the current folder (an absolute name stays as it is; no name: the current
// folder itself).
QString ProposedFile(const FileDialogRequest& request);
// `path` absolute, with the platform's separators: how the program names a
// file it wrote.
QString ShownPath(const QString& path);
// The real file dialog for `request`, in the folder of ProposedFile.
class QFileDialog;
QFileDialog* MakeFileDialog(QWidget* parent, const FileDialogRequest& request);

// The seam in force (the real one unless a test installed another).
UiSeam& Ui();
// Installs `seam` (not owned); nullptr restores the real one.
void SetUiSeam(UiSeam* seam);
