#include "platform/script/scriptengine.h"

#include "platform/script/scriptevaluator.h"
#include "platform/script/scriptparser.h"
#include "platform/script/scriptscanner.h"

#include <algorithm>

namespace kivo::script {

namespace {
std::u16string lower(std::u16string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; });
    return s;
}
} // namespace

void ScriptEngine::AddObject(const std::u16string& name, std::shared_ptr<ScriptObject> object, bool addMembers) {
    objects_[lower(name)] = object;
    if (addMembers) {
        memberObjects_.push_back(std::move(object));
    }
}

Value ScriptEngine::variable(const std::u16string& name) const {
    const auto it = globals_.find(lower(name));
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
