#pragma once
// The listeners every test program runs its tests under: a fresh data folder and the process-wide
// state of a fresh program before each test, and a fresh strict ScriptedUi around it. Each test
// main appends them once, before any listener of its own.

#include <gtest/gtest.h>

void AppendSharedTestListeners(testing::TestEventListeners& listeners);
