#pragma once
// What a person watching orvik-batch sees on standard error: on a terminal a
// progress bar rewritten in place (runs finished, best fitness so far,
// estimated time left); otherwise plain lines, one per finished run and a
// progress line every ten seconds, which log files and pipes keep readable.
#include "batchexperiment.h"

#include <chrono>
#include <cstdio>
#include <string>

class ProgressDisplay {
public:
    // `terminalColumns`: the width of the terminal `stream` writes to, or 0
    // when it is no terminal.
    ProgressDisplay(std::FILE* stream, int terminalColumns, double maxFitness);

    void RunFinished(const RunResult& result);
    void Tick(const ExperimentProgress& progress);
    // Ends the bar's line so that what follows starts on a new one.
    void Finish();

    // The texts, without line ends.
    static std::string BarText(const ExperimentProgress& progress, double maxFitness);
    static std::string RunText(const RunResult& result);
    // "0:42", "12:05", "3:02:10"; "?" when unknown.
    static std::string TimeLeft(const ExperimentProgress& progress);

private:
    std::FILE* stream_;
    int columns_;
    double maxFitness_;
    bool barShown_ = false;
    std::chrono::steady_clock::time_point lastLine_;
};
