#pragma once

#include <optional>
#include <vector>

#include "engine/check_param.h"
#include "report/try_chart_svg.h"

// The fastest, median and slowest of a check's tries. With an even number of tries the median is the
// mean of the two middle ones, rounded half up. Nothing for a check that made no tries (the account
// check).
std::optional<TryFigures> try_figures(const std::vector<CheckTry>& tries);
