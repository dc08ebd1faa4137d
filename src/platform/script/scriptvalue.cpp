#include "platform/script/scriptvalue.h"

namespace kivo::script {

Value Value::null() {
    Value v;
    v.data_ = NullTag{};
    return v;
}

Value Value::nothing() {
    Value v;
    v.data_ = NothingTag{};
    return v;
}

Value::Type Value::type() const {
    switch (data_.index()) {
    case 0:
        return Type::Empty;
    case 1:
        return Type::Null;
    case 2:
        return Type::Boolean;
    case 3:
        return Type::Long;
    case 4:
        return Type::Double;
    case 5:
        return Type::String;
    case 6:
        return Type::Object;
    default:
        return Type::Nothing;
    }
}

} // namespace kivo::script
