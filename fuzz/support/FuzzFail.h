// How a fuzz target reports a broken invariant: the reason on standard error, then an abort that libFuzzer
// records with the input that caused it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

[[noreturn]] inline void Fail(const std::string& what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::abort();
}
