// Failures of the tool: each carries the one line it reports on standard error.
#pragma once

#include <stdexcept>
#include <string>

namespace vxmconv {

// The command line itself is wrong (exit status 2).
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file could not be read, converted or written (exit status 1).
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace vxmconv
