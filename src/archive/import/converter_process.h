// Runs an outside program with an argument vector (no shell, so no quoting of paths) and waits for
// it at most a given time.
#pragma once

#include <string>
#include <vector>

inline constexpr int kProgramNotStarted = -1;
inline constexpr int kProgramTimedOut = -2;
inline constexpr int kProgramKilled = -3;  // ended by a signal

// Starts argv[0] (found through PATH when it has no '/') with the arguments argv[1..] and waits at
// most `timeoutMs` milliseconds: its exit status 0..255, or one of the codes above. A program that
// outlives its time is killed and waited for.
int RunProgram(const std::vector<std::string>& argv, int timeoutMs);
