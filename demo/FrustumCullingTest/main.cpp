#include "demo/DemoProgram.h"
#include "demo/FrustumCullingTest/FrustumCullingTest.h"

int main(int argc, char** argv) {
    return Demo::runProgram(
        argc, argv, "[--culling on|off]",
        [](const Demo::DemoOptions& options, const std::vector<std::string>& arguments,
           std::string& error) -> std::unique_ptr<Demo::DemoApplication> {
            bool culling = true;
            for (std::size_t i = 0; i < arguments.size(); ++i) {
                if (arguments[i] == "--culling" && i + 1 < arguments.size() &&
                    (arguments[i + 1] == "on" || arguments[i + 1] == "off")) {
                    culling = arguments[++i] == "on";
                } else {
                    error = "unknown argument " + arguments[i] + " (--culling takes on or off)";
                    return nullptr;
                }
            }
            return std::make_unique<Demo::FrustumCullingTest>(options, culling);
        });
}
