#include "Summary.h"

#include <cstdio>

namespace {
double ToMs(double value, benchmark::TimeUnit unit) {
    switch (unit) {
    case benchmark::kNanosecond:
        return value / 1e6;
    case benchmark::kMicrosecond:
        return value / 1e3;
    case benchmark::kMillisecond:
        return value;
    case benchmark::kSecond:
        return value * 1e3;
    }
    return value;
}

std::string TargetText(const Figure& f) {
    std::string text;
    char buffer[64];
    if (f.maxRatio > 0) {
        std::snprintf(buffer, sizeof buffer, "<= %.1fx floor", f.maxRatio);
        text += buffer;
    }
    if (f.maxValue > 0) {
        std::snprintf(buffer, sizeof buffer, "%s< %g %s", text.empty() ? "" : ", ", f.maxValue,
                      f.unit.c_str());
        text += buffer;
    }
    return text;
}
} // namespace

void SummaryReporter::ReportRuns(const std::vector<Run>& reports) {
    for (const Run& run : reports) {
        if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
            m_medians[run.run_name.function_name] = run;
        }
    }
    ConsoleReporter::ReportRuns(reports);
}

double SummaryReporter::medianMs(const std::string& name) const {
    const auto found = m_medians.find(name);
    if (found == m_medians.end() || found->second.error_occurred) {
        return -1;
    }
    return ToMs(found->second.GetAdjustedRealTime(), found->second.time_unit);
}

double SummaryReporter::medianCounter(const std::string& name, const std::string& counter) const {
    const auto found = m_medians.find(name);
    if (found == m_medians.end() || found->second.error_occurred) {
        return -1;
    }
    const auto value = found->second.counters.find(counter);
    return value == found->second.counters.end() ? -1 : double(value->second);
}

int PrintFigures(const std::vector<Figure>& figures) {
    int missed = 0;
    std::printf("\n%-30s %12s %12s %8s  %-28s %s\n", "Figure (median)", "measured", "floor", "ratio",
                "target", "verdict");
    std::printf("%s\n", std::string(104, '-').c_str());
    for (const Figure& f : figures) {
        if (f.value < 0) {
            std::printf("%-30s %12s %12s %8s  %-28s %s\n", f.name.c_str(), "n/a", "", "",
                        TargetText(f).c_str(), "NOT MEASURED");
            ++missed;
            continue;
        }
        const bool hasFloor = f.floor > 0;
        const double ratio = hasFloor ? f.value / f.floor : 0;
        bool ok = true;
        if (f.maxRatio > 0 && (!hasFloor || ratio > f.maxRatio)) {
            ok = false;
        }
        if (f.maxValue > 0 && f.value >= f.maxValue) {
            ok = false;
        }
        missed += ok ? 0 : 1;
        char value[32];
        char floor[32] = "";
        char ratioText[16] = "";
        std::snprintf(value, sizeof value, "%.3f %s", f.value, f.unit.c_str());
        if (hasFloor) {
            std::snprintf(floor, sizeof floor, "%.3f %s", f.floor, f.unit.c_str());
            std::snprintf(ratioText, sizeof ratioText, "%.2fx", ratio);
        }
        std::printf("%-30s %12s %12s %8s  %-28s %s\n", f.name.c_str(), value, floor, ratioText,
                    TargetText(f).c_str(), ok ? "ok" : "MISSED");
    }
    return missed;
}
