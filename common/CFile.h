// A C stream that is closed exactly once: when the owner lets go of it, on
// whichever path the operation ends.
#pragma once

#include <cstdio>
#include <memory>

struct TFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

using TCFile = std::unique_ptr<std::FILE, TFileCloser>;

inline TCFile OpenCFile(const char* path, const char* mode)
{
    return TCFile(std::fopen(path, mode));
}
