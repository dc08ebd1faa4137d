#pragma once

#include <stdexcept>
#include <string>

namespace kivo::bridge {

/// @brief A failure of the bridge reported to its caller with a description: no form at an
/// index, a link out of range, no document yet, a page that did not answer in time.
class BridgeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace kivo::bridge
