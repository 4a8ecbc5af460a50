// A script for the write-step hook (pxall::set_write_step_hook): it records
// every step a write takes ("<step> <file name>") and, at one step by count,
// ends the process there or makes the step fail. Kill tests run the write in
// a child process under the script, once for every step it takes.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace pxtest {

struct StepScript {
    std::vector<std::string> seen;
    int at = -1;        // the step, by count, at which to act
    bool kill = false;  // end the process there (else fail with `error`)
    int error = 0;
};

// The one script the hook follows.
StepScript& step_script();

// The hook itself: hand it to pxall::set_write_step_hook.
int scripted_step(const char* step, const char* host);

// The place of a step in the steps seen, -1 when it was not taken.
int index_of(const std::vector<std::string>& steps, const std::string& step);

// The steps `write` takes, recorded with none of them acted on.
std::vector<std::string> steps_of(const std::function<void()>& write);

// Runs `write` with step `at` of `steps` failing as it would on a real
// machine: a rename with EIO, any other step as on a full disk (ENOSPC).
void failed_at_step(int at, const std::vector<std::string>& steps, const std::function<void()>& write);

// Runs `write` in a child process that is ended at step `at`: true when the
// child ended there (false when it forked badly or ran past the step).
bool killed_at_step(int at, const std::function<void()>& write);

// The number of a process that has ended, as a dead run's leftovers carry.
pid_t dead_pid();

}  // namespace pxtest
