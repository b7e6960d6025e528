#pragma once

// Simulated deaths between the system calls that change files (pwrite, ftruncate, unlink) of this process, and
// failures of one of them.
namespace crashpoints {

// Exit status of a process ended by a crash point.
constexpr int kCrashed = 77;

// From now on, let writes calls through and end the process (with kCrashed) before the next one.
void arm(int writes);
// From now on, let writes calls through and fail the next one with error (ENOSPC: the disk is full); the calls
// after it go through again.
void failAt(int writes, int error);
void disarm();

}  // namespace crashpoints
