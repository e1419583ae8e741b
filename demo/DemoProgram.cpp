#include "demo/DemoProgram.h"

#include "System/File.h"
#include "Tool/LogListener.h"
#include "Tool/LogManager.h"

#include <charconv>
#include <filesystem>
#include <iostream>

namespace Demo {
namespace {

// The log's warnings and errors, on standard error.
class ProblemConsole : public Tool::LogListener {
public:
    void process(const Tool::LogCommand& command) override {
        if (command.kind == Tool::LC_MESSAGE && command.message.getType() >= Tool::MT_WARNING)
            std::cerr << formatMessage(command.message, 0) << std::endl;
    }
};

bool parseCount(const std::string& text, unsigned& value) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end && value > 0;
}

// Takes the common options out of the command line; false, with the reason, when
// they are malformed.
bool parseOptions(int argc, char** argv, DemoOptions& options, std::vector<std::string>& rest,
                  std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--frames" || argument == "--save-frame") {
            if (i + 1 == argc) {
                error = argument + " needs a value";
                return false;
            }
            const std::string value = argv[++i];
            if (argument == "--save-frame") {
                options.saveFrame = value;
            } else if (!parseCount(value, options.frames)) {
                error = "--frames needs a whole number above 0, not \"" + value + "\"";
                return false;
            }
        } else {
            rest.push_back(argument);
        }
    }
    if (!options.saveFrame.empty() && options.frames == 0) {
        error = "--save-frame needs --frames: the last of those frames is saved";
        return false;
    }
    return true;
}

} // namespace

int runProgram(int argc, char** argv, const std::string& usage, const DemoFactory& make) {
    const std::string name = argc > 0 ? std::filesystem::path(argv[0]).filename().string() : "demo";
    const std::string help = "usage: " + name + " " + usage +
                             " [--frames N [--save-frame FILE.png]]\n"
                             "  --frames N           end by itself after N frames\n"
                             "  --save-frame FILE    write the last of them as a PNG picture\n";
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--help" || std::string(argv[i]) == "-h") {
            std::cout << help;
            return 0;
        }
    }
    DemoOptions options;
    std::vector<std::string> arguments;
    std::string error;
    if (!parseOptions(argc, argv, options, arguments, error)) {
        std::cerr << name << ": " << error << "\n" << help;
        return 2;
    }

    System::File::init(argc, argv);
    ProblemConsole console;
    Tool::LogManager& log = Tool::LogManager::getInstance();
    log.setEnabled(true);
    log.attachLogListener(&console, false);

    int status = 0;
    std::unique_ptr<DemoApplication> demo = make(options, arguments, error);
    if (!demo) {
        std::cerr << name << ": " << error << "\n";
        status = 1;
    } else if (!demo->hasWindow()) {
        std::cerr << name << ": the window could not be opened\n";
        status = 1;
    } else {
        demo->run();
        if (!demo->succeeded()) {
            std::cerr << name << ": could not write the frame to " << options.saveFrame << "\n";
            status = 1;
        }
    }
    demo.reset();
    log.detachLogListener(&console);
    return status;
}

} // namespace Demo
