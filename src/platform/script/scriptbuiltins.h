#pragma once

#include "platform/script/scriptvalue.h"

#include <string_view>
#include <vector>

namespace kivo::script {

class ScriptEngine;

/// @brief A built-in function: its name in lower case, its least and most arguments, and what
/// it does with arguments whose count was checked.
struct Builtin {
    std::u16string_view name;
    size_t least;
    size_t most;
    Value (*run)(std::vector<Value>& args, ScriptEngine& engine);
};

/// @brief The built-in function of that (lower-case) name, or null.
const Builtin* FindBuiltin(std::u16string_view name);

} // namespace kivo::script
