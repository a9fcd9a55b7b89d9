#pragma once

#include "bench/measure.h"

#include <string>
#include <utility>
#include <vector>

// One line of the report: a measured figure, what the plain floor routine did, and its target.
struct Figure {
    enum class Target { None, TimesFloor, AtMost, Under };

    Figure(std::string name, std::string unit, Target target = Target::None, double limit = 0)
        : name(std::move(name)), unit(std::move(unit)), target(target), limit(limit) {}

    std::string name;
    std::string unit; // "ms" or "MB"
    Samples measured;
    Samples floor; // empty when there is no floor
    Target target = Target::None;
    double limit = 0; // a factor of the floor, or a value in `unit`

    bool met() const;
};

// Prints the aligned table and a line saying which targets were missed; returns how many were.
int printReport(const std::vector<Figure>& figures);
