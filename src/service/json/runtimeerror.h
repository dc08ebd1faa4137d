#pragma once

#include <stdexcept>
#include <string>

namespace kivo::json {

/// @brief A run-time failure carrying the error number the client's code tables use
/// (5 invalid argument, 6 overflow, 7 out of memory, 9 subscript out of range, 13 type mismatch,
/// 457 duplicate key).
class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int number, const std::string& description);

    int number() const noexcept { return number_; }

    static RuntimeError invalidArgument();
    static RuntimeError overflow();
    static RuntimeError outOfMemory();
    static RuntimeError subscriptOutOfRange();
    static RuntimeError typeMismatch();
    static RuntimeError duplicateKey();

private:
    int number_;
};

} // namespace kivo::json
