#include "bench/report.h"

#include <cstdio>

bool Figure::met() const {
    const double value = measured.median();
    switch (target) {
    case Target::TimesFloor:
        return value <= limit * floor.median();
    case Target::AtMost:
        return value <= limit;
    case Target::Under:
        return value < limit;
    case Target::None:
        break;
    }
    return true;
}

static std::string targetText(const Figure& figure) {
    char text[64];
    switch (figure.target) {
    case Figure::Target::TimesFloor:
        std::snprintf(text, sizeof text, "<= %.1fx floor", figure.limit);
        return text;
    case Figure::Target::AtMost:
        std::snprintf(text, sizeof text, "<= %.0f %s", figure.limit, figure.unit.c_str());
        return text;
    case Figure::Target::Under:
        std::snprintf(text, sizeof text, "< %.0f %s", figure.limit, figure.unit.c_str());
        return text;
    case Figure::Target::None:
        break;
    }
    return "-";
}

int printReport(const std::vector<Figure>& figures) {
    std::printf("\n%-44s %10s %10s %10s %10s %7s  %-15s %s\n", "figure", "median", "min", "max",
                "floor", "ratio", "target", "result");
    int missed = 0;
    for (const Figure& figure : figures) {
        char floorText[32] = "-";
        char ratioText[32] = "-";
        if (!figure.floor.empty()) {
            std::snprintf(floorText, sizeof floorText, "%.1f", figure.floor.median());
            std::snprintf(ratioText, sizeof ratioText, "%.2f",
                          figure.measured.median() / figure.floor.median());
        }
        const bool judged = figure.target != Figure::Target::None;
        missed += judged && !figure.met();
        std::printf("%-44s %7.1f %-2s %10.1f %10.1f %10s %7s  %-15s %s\n", figure.name.c_str(),
                    figure.measured.median(), figure.unit.c_str(), figure.measured.min(),
                    figure.measured.max(), floorText, ratioText, targetText(figure).c_str(),
                    !judged        ? "-"
                    : figure.met() ? "ok"
                                   : "MISSED");
    }
    if (missed)
        std::printf("\nMISSED: %d target(s) not met.\n", missed);
    else
        std::printf("\nEvery target met.\n");
    return missed;
}
