#pragma once

// Marks the classes and functions that libGame.so exports; everything else is
// hidden (the library is compiled with hidden default visibility).
#define BRUMBLY_API __attribute__((visibility("default")))
