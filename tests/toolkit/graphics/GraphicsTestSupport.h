#pragma once
// Helpers for the graphics tests: test data files, colour comparison with a tolerance and
// small picture files built in memory.
#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/Graphic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// A file of tests/data, as a path the Windows side can open.
std::string TestDataPath(const std::string& name);

// Each of red, green and blue within `tolerance` of the expected value.
testing::AssertionResult ColorNear(TColor actual, TColor expected, int tolerance);

std::string BytesToString(const TBytes& bytes);

// An .ico file with one 32-bit entry of size x size pixels, all of one opaque colour.
std::string SolidIconFile(int size, TColor color);
// An .ico file with these entries in this order: 32-bit images of one colour, or PNG entries
// that claim the signature but hold nothing a decoder takes.
struct TIconEntry {
    int Size;
    TColor Color = clBlack;
    bool Png = false;
};
std::string IconFile(const std::vector<TIconEntry>& entries);
