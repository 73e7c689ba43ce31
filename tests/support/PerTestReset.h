#pragma once
// Process-wide state that the test main puts back before every test. A test support library
// whose code keeps such state registers its reset once, from a namespace-scope constant; the
// test main runs every registered reset when a test starts, so no test sees what an earlier one
// changed, whatever the order the tests run in.

using StateReset = void (*)();

// Adds the reset to those run before every test; returns true (for the constant's initialiser).
bool RegisterPerTestReset(StateReset reset);
