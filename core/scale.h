// The ticks of a graph's scale: round steps (1, 2 or 5 x 10^k) and their multiples in a range.
#pragma once

#include <cstddef>

// The most steps a scale is divided into; the ticks are one more.
constexpr int SCALE_MAX_STEPS = 50;

struct RoundScale {
    double step;  // 0 when the range gets no ticks
    int count;
    double ticks[SCALE_MAX_STEPS + 1];  // ascending
};

// The multiples of the smallest round step that divides [low, high] into at most `max_steps`
// steps (capped at SCALE_MAX_STEPS), those within the range. An empty, reversed or
// non-finite range, or fewer than one step, gets no ticks.
RoundScale MakeScale(double low, double high, int max_steps);

// A tick's number with the decimals its step needs and no trailing zeros after the separator
// (0; 0,5; 0,25), whatever precision the graph's labels have; cut to `size` bytes.
void FormatTick(double tick, double step, bool comma, char* text, std::size_t size);
