#include "demo/DemoProgram.h"
#include "demo/ShadowMappingTest/ShadowMappingTest.h"

int main(int argc, char** argv) {
    return Demo::runProgram(argc, argv, "", Demo::withoutArguments<Demo::ShadowMappingTest>());
}
