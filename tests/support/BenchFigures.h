#pragma once
// The figures a benchmark prints from its runs' times.

#include <algorithm>
#include <vector>

// The value below which a share p (0 to 1) of the values lie; 0 for none.
inline double Percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    std::size_t index = static_cast<std::size_t>(p * double(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

// The middle value (the upper one of an even count).
inline double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
