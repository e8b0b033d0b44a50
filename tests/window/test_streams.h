#pragma once
// Small movie streams for the window and plug-in tests: frame n places one
// black 8 x 8 square (group 1) at x = 8 (n - 1) on a white background, so a
// picture tells which frame it is.
#include <cstdint>
#include <vector>

struct TestMovie {
    int frames = 10;
    int rate = 10;
    bool loop = false;
    bool waitForClick = false;
    int width = 0;  // 0: wide enough for every frame's square
    int height = 16;
};

std::vector<uint8_t> makeStream(const TestMovie& movie);

// Where frame n's square lies.
int squareLeft(int frame);
constexpr int kSquareSize = 8;
