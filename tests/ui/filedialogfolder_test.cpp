// File dialogs start in the current folder (or the folder of the absolute
// path proposed), not in the folder where the last dialog was left.
#include "uiseam.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

TEST(FileDialogFolder, TheCurrentFolderNotTheLastOneVisited)
{
    QTemporaryDir current, elsewhere;
    ASSERT_TRUE(current.isValid() && elsewhere.isValid());
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(current.path()));
    const QString table = elsewhere.filePath("adder2.tbl");
    QFile(table).open(QIODevice::WriteOnly);

    // A table loaded from elsewhere: Qt remembers that folder.
    FileDialogRequest load{"Load table", table, "tbl", "Table files (*.tbl)", true};
    std::unique_ptr<QFileDialog> loading(MakeFileDialog(nullptr, load));
    loading->setFileMode(QFileDialog::ExistingFile);
    EXPECT_EQ(QDir(loading->directory()).canonicalPath().toStdString(), QDir(elsewhere.path()).canonicalPath().toStdString());
    QMetaObject::invokeMethod(loading.get(), "accept");

    const struct {
        const char* what;
        QString defaultName;
        QString folder;
    } cases[] = {
        {"a default name", "default.ga", current.path()},
        {"no name", QString(), current.path()},
        {"an absolute path", elsewhere.filePath("run.ga"), elsewhere.path()},
    };
    for (const auto& c : cases) {
        const FileDialogRequest request{"Save", c.defaultName, "ga", "GA files (*.ga)", false};
        std::unique_ptr<QFileDialog> dialog(MakeFileDialog(nullptr, request));
        EXPECT_EQ(QDir(dialog->directory()).canonicalPath().toStdString(), QDir(c.folder).canonicalPath().toStdString()) << c.what;
    }
    QDir::setCurrent(previous);
}
