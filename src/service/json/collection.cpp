#include "service/json/collection.h"

#include "service/json/runtimeerror.h"

namespace kivo::json {

const JsonValue& Collection::Item(int index) const {
    if (index < 1 || index > Count()) {
        throw RuntimeError::subscriptOutOfRange();
    }
    return items_[static_cast<size_t>(index - 1)];
}

} // namespace kivo::json
