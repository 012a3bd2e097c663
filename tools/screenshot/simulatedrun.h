#pragma once
#include <QDir>

class TFOrvik;

// orvik-screenshot OUTPUT_DIR --simulated GENERATIONS: chooses the simulated
// Khepera in Setup > Communication... (saving simulated-communication.png),
// opens Debug > Robot arena, evolves 30 individuals of a 4 x 2 x 4 PAL in
// virtual time for GENERATIONS generations (saving simulated-arena-midrun.png
// half way, then simulated-window.png and simulated-chart.png), and prints
// each generation's maximum, average and minimum fitness.
int SimulatedRun(TFOrvik* window, const QDir& out, int generations);
