// The one failure type of the core: a platform operation that did not succeed, carrying the
// platform's own description of why (for example Windows' text for "access denied").
#pragma once
#include <stdexcept>
#include <string>

class Failure : public std::runtime_error {
public:
    explicit Failure(const std::string& description) : std::runtime_error(description) {}
};
