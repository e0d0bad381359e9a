#pragma once

// What a fuzz target holds the program to: a promise that breaks says which, on the target's behalf,
// and stops the run, so that libFuzzer keeps the input that broke it.

#include <cstdio>
#include <cstdlib>

namespace orvanta::fuzz {

struct Promises {
    const char* target;

    void operator()(bool kept, const char* what) const
    {
        if (!kept) {
            std::fprintf(stderr, "%s: %s\n", target, what);
            std::abort();
        }
    }
};

} // namespace orvanta::fuzz
