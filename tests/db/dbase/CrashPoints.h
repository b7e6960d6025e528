#pragma once

// Simulated deaths between the system calls that change files (pwrite, ftruncate, unlink) of this process.
namespace crashpoints {

// Exit status of a process ended by a crash point.
constexpr int kCrashed = 77;

// From now on, let writes calls through and end the process (with kCrashed) before the next one.
void arm(int writes);
void disarm();

}  // namespace crashpoints
