// Run-time errors of the program. A failure that the forms run time would
// raise (a library or entry that cannot be bound, a printer fault, a push
// beyond the stack) is thrown as a RuntimeError and caught by the handler of
// the screen whose event was running, which takes the common failure path.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace px {

// The run-time error numbers the program raises.
enum RuntimeErrorNumber : int {
    kErrSubscriptOutOfRange = 9,
    kErrInternal = 51,
    kErrFileNotFound = 53,      // also a library that cannot be loaded
    kErrObjectNotSet = 91,
    kErrNoEntryPoint = 453,     // a library without the declared entry
    kErrInvalidPicture = 481,
    kErrPrinter = 482,          // the printer reports an error
    kErrPrinterProperty = 483,  // the printer does not support a setting
    kErrPrinterInfo = 484,      // no printer, or none set up
};

class RuntimeError : public std::runtime_error {
public:
    // step: what failed, as the error log names it ("_VBGetMsg@8", "ErrProc").
    RuntimeError(int number, std::string step)
        : std::runtime_error(step), number_(number), step_(std::move(step)) {}
    int number() const { return number_; }
    const std::string& step() const { return step_; }

private:
    int number_;
    std::string step_;
};

}  // namespace px
