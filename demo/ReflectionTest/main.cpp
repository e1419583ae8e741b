#include "demo/DemoProgram.h"
#include "demo/ReflectionTest/ReflectionTest.h"

int main(int argc, char** argv) {
    return Demo::runProgram(argc, argv, "", Demo::withoutArguments<Demo::ReflectionTest>());
}
