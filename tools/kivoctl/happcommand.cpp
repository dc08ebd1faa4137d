#include "happcommand.h"

#include "bridge/hacmd.h"
#include "bridge/hyperapp.h"
#include "service/json/jsonwriter.h"
#include "service/json/textcodec.h"

#include "startup/runoptions.h"

#include <optional>
#include <ostream>

namespace kivo::tools {

int runHappCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string baseUrl = startup::RunOptions::BuiltInBaseUrl();
    std::optional<std::string> origin;
    std::vector<std::string> urls;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--base-url" && i + 1 < args.size()) {
            baseUrl = args[++i];
        } else if (args[i] == "--origin" && i + 1 < args.size()) {
            origin = args[++i];
        } else if (args[i] == "--base-url" || args[i] == "--origin") {
            err << "kivoctl happ: " << args[i] << " needs a value\n";
            return 2;
        } else {
            urls.push_back(args[i]);
        }
    }
    bridge::HyperApp bridge;
    bridge.AllowOrigins(bridge::BridgeOrigins::ForService(baseUrl));
    const QString from =
        origin ? QString::fromStdString(*origin) : bridge::BridgeOrigins::OriginOf(QString::fromStdString(baseUrl));
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
        bridge.MainIE_Sink_BeforeNavigate2(QString::fromStdString(url), from, {}, {}, cancel);
        if (!cancel) {
            out << "pass\n";
        } else if (bridge.refused()) {
            out << "refused\n";
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
