#include "happcommand.h"

#include "bridge/hacmd.h"
#include "bridge/hyperapp.h"
#include "service/json/jsonwriter.h"
#include "service/json/textcodec.h"

#include <ostream>

namespace kivo::tools {

int runHappCommand(const std::vector<std::string>& urls, std::ostream& out) {
    bridge::HyperApp bridge;
    bridge.engine().msgBox = [&out](const std::u16string& prompt, int, const std::u16string&) {
        out << "MsgBox\t" << json::Utf16ToUtf8(json::JsonText(json::JsonValue(prompt))) << '\n';
        return 1;
    };
    bridge::HACMD::SetCommandHandler([&out](const bridge::HACMD::Arguments& args) {
        out << "CMD";
        for (const auto& a : args) {
            out << '\t' << json::Utf16ToUtf8(json::JsonText(json::JsonValue(a)));
        }
        out << '\n';
    });
    bridge.AddObject(u"MyCMD", std::make_shared<bridge::HACMD>());
    for (const std::string& url : urls) {
        bool cancel = false;
        bridge.MainIE_Sink_BeforeNavigate2(QString::fromStdString(url), {}, {}, cancel);
        if (!cancel) {
            out << "pass\n";
        } else if (bridge.lastError()) {
            out << "error " << bridge.lastError()->number() << ": "
                << json::Utf16ToUtf8(bridge.lastError()->description()) << '\n';
        } else {
            out << "ok\n";
        }
    }
    bridge::HACMD::SetCommandHandler({});
    return 0;
}

} // namespace kivo::tools
