#pragma once
// Helpers for robot-fitness tests: a robot-mode PAL whose outputs ignore the
// inputs, a view that records what a run shows, and a scripted robot that
// remembers the speeds it was given.
#include "bitstring.h"
#include "palconfig.h"
#include "ptyrobot.h"
#include "robotrunview.h"

#include <QStringList>

#include <array>
#include <cstdio>
#include <functional>
#include <memory>

inline PalConfig RobotPalConfig()
{
    PalConfig config;
    config.NumInputs = 4;
    config.NumAndTerms = 2;
    config.NumOutputs = 4;
    return config;
}

// With no fuse blown an AND term is true; a term needing input 0 both true
// and false is false. So an output is 1 with all its fuses clear and 0 when
// every term holds that contradiction.
inline BitString ConstantOutputsChromosome(const PalConfig& config, const std::array<int, 4>& outputs)
{
    BitString chromosome(static_cast<uint32_t>(config.ChromosomeSize()));
    for (int o = 0; o < 4; ++o) {
        if (outputs[o])
            continue;
        for (int t = 0; t < config.NumAndTerms; ++t) {
            chromosome[static_cast<uint32_t>(config.FuseIndex(o, t, 0, 0))] = 1;
            chromosome[static_cast<uint32_t>(config.FuseIndex(o, t, 0, 1))] = 1;
        }
    }
    return chromosome;
}

class RecordingRunView : public RobotRunView {
public:
    void ShowProximityIndicators(const std::array<bool, 4>& white) override { indicators.push_back(white); }
    void SetCurrentFitnessText(const QString& text) override { fitnessTexts << text; }
    void SetCurrentSpeedText(const QString& text) override { speedTexts << text; }
    void ProcessEvents() override { ++eventRounds; }

    std::vector<std::array<bool, 4>> indicators;
    QStringList fitnessTexts;
    QStringList speedTexts;
    int eventRounds = 0;
};

// A recording view that hands each event round (1, 2, ...) to `act`: the run
// blocks the thread, so this is where a test acts during it. It asks for a
// stop from round `stopAtRound` on (0: never).
class ActingRunView : public RecordingRunView {
public:
    void ProcessEvents() override
    {
        RecordingRunView::ProcessEvents();
        if (act)
            act(eventRounds);
    }
    bool RunStopRequested() const override { return stopAtRound > 0 && eventRounds >= stopAtRound; }
    std::function<void(int round)> act;
    int stopAtRound = 0;
};

// A robot that reports the wheel speeds it was last told and fixed sensor
// readings. Runs on the responder thread; the state is its own.
inline PtyRobot::Responder ObedientRobot(const std::array<uint32_t, 8>& readings)
{
    auto speeds = std::make_shared<std::array<int, 2>>(std::array<int, 2>{0, 0});
    return [speeds, readings](const std::string& line) -> std::string {
        char reply[128];
        if (line.empty())
            return "z\r\n";
        switch (line[0]) {
        case 'D':
            std::sscanf(line.c_str(), "D,%d,%d", &(*speeds)[0], &(*speeds)[1]);
            return "d\r\n";
        case 'E':
            std::snprintf(reply, sizeof reply, "e,%d,%d\r\n", (*speeds)[0], (*speeds)[1]);
            return reply;
        case 'N':
            std::snprintf(reply, sizeof reply, "n,%u,%u,%u,%u,%u,%u,%u,%u\r\n", readings[0],
                          readings[1], readings[2], readings[3], readings[4], readings[5],
                          readings[6], readings[7]);
            return reply;
        default:
            return "z\r\n";
        }
    };
}
