// The Help menu: "About Orvik" and "README", through the fake UI seam (no
// box is shown, no viewer is started).
#include "orvikfixture.h"

#include "orvikbuildinfo.h"
#include "orvikhelp.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>

TEST_F(OrvikWindowTest, HelpMenuFollowsDebugAndLeavesTheOtherMenusAlone)
{
    QStringList titles;
    for (QAction* menu : window->menuBar()->actions())
        titles << menu->text();
    const qsizetype debug = titles.indexOf("&Debug");
    ASSERT_GE(debug, 0);
    ASSERT_EQ(titles.indexOf("&Help"), debug + 1);
    EXPECT_EQ(titles.mid(0, 3), (QStringList{"&File", "&Setup", "&Debug"}));

    const QList<QAction*> items = window->menuBar()->actions().at(debug + 1)->menu()->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->text(), "&About Orvik");
    EXPECT_EQ(items[1]->text(), "&README");
}

TEST_F(OrvikWindowTest, AboutShowsVersionLicenseAndTheRunningQt)
{
    window->About1->trigger();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "About Orvik");
    const QString text = ui.messages[0].text;
    EXPECT_TRUE(text.startsWith(QString("Orvik %1\n").arg(OrvikBuildInfo::Version))) << text.toStdString();
    EXPECT_FALSE(QString(OrvikBuildInfo::Version).isEmpty());
    EXPECT_TRUE(text.contains("MIT License")) << text.toStdString();
    EXPECT_TRUE(text.contains(QString("Qt %1 ").arg(qVersion()))) << text.toStdString();
}

TEST_F(OrvikWindowTest, ReadmeOpensTheReadmeBesideTheProgram)
{
    // The test programs sit in build/bin, where the build tree's
    // documentation folder links to the checkout's README.
    window->Readme1->trigger();
    ASSERT_EQ(ui.openedUrls.size(), 1u);
    const QUrl url = ui.openedUrls[0];
    ASSERT_TRUE(url.isLocalFile()) << url.toString().toStdString();
    QFile readme(url.toLocalFile());
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly)) << url.toLocalFile().toStdString();
    EXPECT_TRUE(readme.readLine().startsWith("# Orvik"));
    EXPECT_TRUE(ui.messages.empty());

    // No viewer on the desktop: say so instead of doing nothing.
    ui.openUrlSucceeds = false;
    window->Readme1->trigger();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Error");
    EXPECT_TRUE(ui.messages[0].text.contains(url.toLocalFile()));
}

TEST(OrvikHelp, NoReadmeBesideAProgramFolderWithoutDocumentation)
{
    QTemporaryDir prefix;
    ASSERT_TRUE(QDir(prefix.path()).mkpath("bin"));
    EXPECT_TRUE(OrvikReadmePath(prefix.filePath("bin")).isEmpty());

    ASSERT_TRUE(QDir(prefix.path()).mkpath("share/doc/orvik"));
    QFile readme(prefix.filePath("share/doc/orvik/README.md"));
    ASSERT_TRUE(readme.open(QIODevice::WriteOnly));
    readme.close();
    EXPECT_EQ(OrvikReadmePath(prefix.filePath("bin")), prefix.filePath("share/doc/orvik/README.md"));
}
