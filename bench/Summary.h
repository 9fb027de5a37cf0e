#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// Prints Google Benchmark's own table and keeps the median of every
// benchmark, so that the figures can be set beside their floors at the end.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    SummaryReporter() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& reports) override;

    // Median real time in milliseconds; negative when the benchmark did not run.
    double medianMs(const std::string& name) const;
    // Median of a user counter; negative when absent.
    double medianCounter(const std::string& name, const std::string& counter) const;

private:
    std::map<std::string, Run> m_medians;
};

// One line of the closing table: a figure, its floor and its target.
struct Figure {
    std::string name;
    double value = -1;
    double floor = -1;
    std::string unit;
    // Target as a ratio to the floor (0: none) and as an absolute bound (0: none).
    double maxRatio = 0;
    double maxValue = 0;
};

// Prints the figures as a table; returns the number that miss their target.
int PrintFigures(const std::vector<Figure>& figures);
