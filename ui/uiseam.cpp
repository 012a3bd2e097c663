#include "uiseam.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

#include <memory>

namespace {
UiSeam realSeam;
UiSeam* current = &realSeam;

} // namespace

QString ProposedFile(const FileDialogRequest& request)
{
    return QDir::current().absoluteFilePath(request.defaultName.isEmpty() ? QString(".") : request.defaultName);
}

QString ShownPath(const QString& path) { return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()); }

QFileDialog* MakeFileDialog(QWidget* parent, const FileDialogRequest& request)
{
    auto* dialog = new QFileDialog(parent, request.caption);
    dialog->setNameFilter(request.filter);
    dialog->setDefaultSuffix(request.defaultSuffix);
    // Not the folder the last file dialog of the program was in, which Qt
    // would propose: a relative name is proposed in the current folder.
    const QFileInfo proposed(ProposedFile(request));
    dialog->setDirectory(request.defaultName.isEmpty() ? proposed.absoluteFilePath() : proposed.absolutePath());
    if (!request.defaultName.isEmpty())
        dialog->selectFile(proposed.fileName());
    return dialog;
}

void UiSeam::Message(QWidget* parent, const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

bool UiSeam::AskYesNo(QWidget* parent, const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Yes | QMessageBox::No, parent);
    return box.exec() == QMessageBox::Yes;
}

UiSeam::SaveChoice UiSeam::AskSaveDiscardCancel(QWidget* parent, const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, caption, text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save: return SaveChoice::Save;
    case QMessageBox::Discard: return SaveChoice::Discard;
    default: return SaveChoice::Cancel;
    }
}

QString UiSeam::OpenFileName(QWidget* parent, const FileDialogRequest& request)
{
    std::unique_ptr<QFileDialog> dialog(MakeFileDialog(parent, request));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return {};
    return dialog->selectedFiles().first();
}

QString UiSeam::SaveFileName(QWidget* parent, const FileDialogRequest& request)
{
    std::unique_ptr<QFileDialog> dialog(MakeFileDialog(parent, request));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    // Saving appends to population files, so an existing file is the normal case.
    dialog->setOption(QFileDialog::DontConfirmOverwrite, true);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return {};
    return dialog->selectedFiles().first();
}

int UiSeam::Exec(QDialog* dialog) { return dialog->exec(); }

bool UiSeam::OpenUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

UiSeam& Ui() { return *current; }

void SetUiSeam(UiSeam* seam) { current = seam ? seam : &realSeam; }
