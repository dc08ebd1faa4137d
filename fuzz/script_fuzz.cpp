// Runs arbitrary statements through the interpreter (scanner, parser, evaluator): nothing may
// crash, hang past the step limit or grow past the string limit; every failure is a ScriptError.
#include "platform/script/scriptengine.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static kivo::script::ScriptEngine engine;
    std::u16string statement;
    statement.reserve(size);
    for (size_t i = 0; i < size; ++i) {
        statement.push_back(static_cast<char16_t>(data[i])); // Latin-1 covers the language's own text
    }
    engine.ExecuteStatement(statement);
    return 0;
}
