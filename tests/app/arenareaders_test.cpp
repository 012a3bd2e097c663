// The three readers of arena files, orvik-batch --arena, orvik-khepera-sim
// --arena and the window's simulated Khepera, treat every file alike: a
// device, a FIFO, a directory or a huge file is refused at once without
// being read, and a word quoted from the file is cut short and printable.
#include "orvikfixture.h"

#include "../batch/batchtestsupport.h"
#include "tfcomconfigure.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>

#include <filesystem>
#include <sys/stat.h>

namespace {
// orvik-batch's error output for `arguments`; empty when it ran.
std::string BatchErrors(const std::vector<std::string>& arguments)
{
    const batchtest::BatchCall call = batchtest::Call(arguments);
    return call.status == 0 ? std::string() : call.err;
}

#ifdef KHEPERA_SIM_PATH
// orvik-khepera-sim's error output for `--arena path`; empty when it took
// the arena and opened its terminal (it is then ended).
std::string SimulatorErrors(const QString& path)
{
    QProcess simulator;
    simulator.start(QStringLiteral(KHEPERA_SIM_PATH), {QStringLiteral("--arena"), path});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (simulator.state() != QProcess::NotRunning && !simulator.canReadLine()
           && std::chrono::steady_clock::now() < deadline)
        simulator.waitForReadyRead(50);
    if (simulator.state() != QProcess::NotRunning) {
        const bool opened = simulator.canReadLine();
        simulator.kill();
        simulator.waitForFinished(5000);
        return opened ? std::string() : "still running after 20 s";
    }
    EXPECT_EQ(simulator.exitCode(), 2);
    return simulator.readAllStandardError().toStdString();
}
#endif
} // namespace

TEST_F(OrvikWindowTest, EveryArenaReaderRefusesTheSameFilesAlike)
{
    namespace fs = std::filesystem;
    const auto file = [this](const char* name, const std::string& text) {
        const QString path = TempFile(name);
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(text.data(), static_cast<qint64>(text.size()));
        return path;
    };
    const QString fifo = TempFile("fifo.arena");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const QString huge = file("huge.arena", "floor 1000 1000\n");
    fs::resize_file(huge.toStdString(), (1 << 20) + 1);
    const std::string as = std::string(40, 'a') + "\u2026";

    struct Case {
        QString path;
        std::string line; // "" or "line N: "
        std::string what; // "" when the arena is good
    };
    const Case cases[] = {
        {"/dev/zero", "", "not a regular file"},
        {fifo, "", "not a regular file"},
        {tempDir.path(), "", "is a directory"},
        {huge, "", "larger than 1048576 bytes"},
        {file("long.arena", std::string(1 << 19, 'a')), "line 1: ",
            "unknown item \"" + as + "\" (floor, box, cylinder, wall or start)"},
        {file("escape.arena", "floor 600 600\n\x1b[2J 1\n"), "line 2: ",
            "unknown item \"\\x1B[2J\" (floor, box, cylinder, wall or start)"},
        {file("nul.arena", std::string("floor 600 6\0" "0\n", 14)), "line 1: ", "\"6\\x000\" is not a number"},
        {file("far.arena", "floor 60 1e18\n"), "line 1: ",
            "\"1e18\" is out of range: numbers lie within -10000000 and 10000000 (10 km)"},
        // Good arenas last: the window then keeps the simulated robot.
        {file("bom.arena", "\xEF\xBB\xBF# a byte-order mark first\nfloor 600 600\n"), "", ""},
        {file("wide.arena", "floor 10000000 600\n"), "", ""},
    };
    for (const Case& c : cases) {
        const std::string path = c.path.toStdString();
        SCOPED_TRACE(path);
        // "PATH, line N: what" on the command line.
        const std::string where = c.line.empty() ? path : path + ", " + c.line.substr(0, c.line.size() - 2);
        const std::string refusal = c.what.empty() ? "" : "--arena " + where + ": " + c.what + "\n";

        EXPECT_EQ(BatchErrors({"--robot", "--arena", path, "--run-length", "1", "--population", "20", "--generations",
                      "0"}),
            refusal.empty() ? "" : "orvik-batch: " + refusal);
#ifdef KHEPERA_SIM_PATH
        EXPECT_EQ(SimulatorErrors(c.path), refusal.empty() ? "" : "orvik-khepera-sim: " + refusal);
#endif
        // The window: an "Error" box, the dialog stays open, nothing changes.
        ui.messages.clear();
        ui.onExec = [&c](QDialog* d) {
            auto* dialog = static_cast<TFComConfigure*>(d);
            dialog->RBSimulated->setChecked(true);
            dialog->CBArena->setCurrentIndex(static_cast<int>(SimulationSetup::ArenaKind::File));
            dialog->EArenaFile->setText(c.path);
            return FakeUiSeam::PressOk(d) == QDialog::Accepted ? int(QDialog::Accepted) : int(QDialog::Rejected);
        };
        window->Communication1Click();
        if (c.what.empty()) {
            EXPECT_TRUE(ui.messages.empty());
            EXPECT_TRUE(window->SimulatedRobot);
            continue;
        }
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].caption, "Error");
        EXPECT_EQ(ui.messages[0].text.toStdString(), "The arena file " + path + " cannot be used: " + c.line + c.what);
        EXPECT_FALSE(window->SimulatedRobot);
    }
}
