#pragma once
// Helpers for the graphics tests: test data files, colour comparison with a tolerance and
// small picture files built in memory.
#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/Graphic.h"

#include <gtest/gtest.h>

#include <string>

// A file of tests/data, as a path the Windows side can open.
std::string TestDataPath(const std::string& name);

// Each of red, green and blue within `tolerance` of the expected value.
testing::AssertionResult ColorNear(TColor actual, TColor expected, int tolerance);

std::string BytesToString(const TBytes& bytes);

// An .ico file with one 32-bit entry of size x size pixels, all of one opaque colour.
std::string SolidIconFile(int size, TColor color);
