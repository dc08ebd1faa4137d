#include "bridge/hacmd.h"

#include "platform/script/scripterror.h"
#include "platform/script/scriptevaluator.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcHacmd, "kivo.bridge.hacmd")

namespace kivo::bridge {

namespace {
HACMD::Handler& handler() {
    static HACMD::Handler h;
    return h;
}
} // namespace

void HACMD::SetCommandHandler(Handler h) {
    handler() = std::move(h);
}

bool HACMD::hasMember(const std::u16string& lowerName) const {
    return lowerName == u"cmd";
}

script::Value HACMD::call(const std::u16string& lowerName, std::vector<script::Value>& args) {
    if (lowerName != u"cmd") {
        throw script::ScriptError::runtime(script::ErrorNumber::NoSuchMember, lowerName);
    }
    if (args.empty() || args.size() > 6) {
        throw script::ScriptError::runtime(script::ErrorNumber::WrongArguments, u"CMD");
    }
    Arguments text;
    for (size_t i = 0; i < args.size(); ++i) {
        text[i] = script::Evaluator::toString(args[i]);
    }
    if (handler()) {
        handler()(text);
    } else {
        qCWarning(lcHacmd) << "a page command arrived with no main window to take it";
    }
    return {};
}

} // namespace kivo::bridge
