#include "platform/script/scriptengine.h"

#include "platform/script/scriptevaluator.h"
#include "platform/script/scriptparser.h"
#include "platform/script/scriptscanner.h"
#include "platform/script/scripttext.h"

#include <algorithm>

namespace kivo::script {

void ScriptEngine::AddObject(const std::u16string& name, std::shared_ptr<ScriptObject> object, bool addMembers) {
    objects_[LowerCase(name)] = object;
    if (addMembers) {
        memberObjects_.push_back(std::move(object));
    }
}

Value ScriptEngine::variable(const std::u16string& name) const {
    const auto it = globals_.find(LowerCase(name));
    return it == globals_.end() ? Value() : it->second;
}

bool ScriptEngine::ExecuteStatement(std::u16string_view statement) {
    try {
        if (statement.size() > kMaxStatement) {
            throw ScriptError::runtime(ErrorNumber::OutOfStringSpace);
        }
        const auto statements = Parse(Scan(statement));
        Evaluator(*this).run(statements);
        error_.reset();
        return true;
    } catch (const ScriptError& e) {
        error_ = e;
    } catch (const std::bad_alloc&) {
        error_ = ScriptError::runtime(ErrorNumber::OutOfMemory);
    } catch (const std::exception&) {
        error_ = ScriptError::runtime(ErrorNumber::InvalidProcedureCall);
    }
    if (onError) {
        onError(*error_, statement);
    }
    return false;
}

} // namespace kivo::script
