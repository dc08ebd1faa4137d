#include "service/json/runtimeerror.h"

namespace kivo::json {

RuntimeError::RuntimeError(int number, const std::string& description)
    : std::runtime_error(description), number_(number) {}

RuntimeError RuntimeError::invalidArgument() {
    return {5, "Invalid procedure call or argument"};
}
RuntimeError RuntimeError::overflow() {
    return {6, "Overflow"};
}
RuntimeError RuntimeError::outOfMemory() {
    return {7, "Out of memory"};
}
RuntimeError RuntimeError::subscriptOutOfRange() {
    return {9, "Subscript out of range"};
}
RuntimeError RuntimeError::typeMismatch() {
    return {13, "Type mismatch"};
}
RuntimeError RuntimeError::duplicateKey() {
    return {457, "This key is already associated with an element of this collection"};
}

} // namespace kivo::json
