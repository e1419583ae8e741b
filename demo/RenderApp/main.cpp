#include "demo/DemoProgram.h"
#include "demo/RenderApp/RenderApp.h"

int main(int argc, char** argv) {
    return Demo::runProgram(
        argc, argv, "[MODEL_FILE]",
        [](const Demo::DemoOptions& options, const std::vector<std::string>& arguments,
           std::string& error) -> std::unique_ptr<Demo::DemoApplication> {
            if (!arguments.empty() && arguments.front().rfind("-", 0) == 0) {
                error = "unknown option " + arguments.front();
                return nullptr;
            }
            if (arguments.size() > 1) {
                error = "one model file at most, not " + std::to_string(arguments.size());
                return nullptr;
            }
            const std::string path = arguments.empty() ? "" : arguments.front();
            const Data::SGNodePtr model = Demo::RenderApp::loadModel(path, error);
            if (!model)
                return nullptr;
            return std::make_unique<Demo::RenderApp>(options, model,
                                                     path.empty() ? "jeep1_xsi.dae" : path);
        });
}
