#pragma once

#include "Tool/Export.h"
#include "demo/DemoApplication.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Demo {

// Builds a demonstration from the common options and the arguments the common
// parser did not take; an empty pointer, with the reason in `error`, when the
// arguments do not make one.
using DemoFactory = std::function<std::unique_ptr<DemoApplication>(
    const DemoOptions& options, const std::vector<std::string>& arguments, std::string& error)>;

// The factory of a demonstration that takes no arguments of its own.
template <class Demonstration> DemoFactory withoutArguments() {
    return [](const DemoOptions& options, const std::vector<std::string>& arguments,
              std::string& error) -> std::unique_ptr<DemoApplication> {
        if (!arguments.empty()) {
            error = "unknown argument " + arguments.front();
            return nullptr;
        }
        return std::make_unique<Demonstration>(options);
    };
}

// The whole of a demonstration program: sets the working directory beside the
// program, passes warnings and errors of the log to standard error, reads the
// common options (--frames N, --save-frame FILE, --help), builds the demonstration
// and runs it. The result is the exit status: 0 after a normal run, 2 for common
// options that make no sense, 1 for every other failure (arguments the factory
// refuses, a demonstration that cannot be built, no window, a frame not saved);
// each failure is explained on standard error.
// `usage` lists the program's own arguments.
BRUMBLY_API int runProgram(int argc, char** argv, const std::string& usage,
                           const DemoFactory& make);

} // namespace Demo
