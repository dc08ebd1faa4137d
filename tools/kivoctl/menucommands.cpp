#include "menucommands.h"

#include "mainwin/menuiconcache.h"
#include "mainwin/menumodel.h"
#include "service/httprequest.h"
#include "service/json/jsonparser.h"
#include "service/json/textcodec.h"
#include "startup/runoptions.h"

#include <fstream>
#include <optional>
#include <sstream>

namespace kivo::tools {

namespace {

using mainwin::MenuModel;

// "W,H" as two numbers, or nothing.
std::optional<std::pair<int, int>> size(const std::string& text) {
    std::istringstream in(text);
    int w = 0;
    int h = 0;
    char comma = 0;
    if (in >> w >> comma >> h && comma == ',' && in.peek() == EOF && w > 0 && h > 0) {
        return std::make_pair(w, h);
    }
    return std::nullopt;
}

std::optional<int> number(const std::string& text) {
    try {
        size_t used = 0;
        const int value = std::stoi(text, &used);
        return used == text.size() ? std::optional<int>(value) : std::nullopt;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// Runs one step; false when it is not a step.
bool runStep(MenuModel& model, const std::string& step) {
    const auto colon = step.find(':');
    const std::string verb = step.substr(0, colon);
    const std::string rest = colon == std::string::npos ? std::string() : step.substr(colon + 1);
    if (step == "build") {
        model.LayoutWindow();
        model.ShowStartPage();
        model.BuildMenus();
        model.LayoutWindow(); // the first showing lays the window out again
    } else if (step == "hover") {
        model.HoverLeftMenu();
    } else if (step == "toggle") {
        model.ToggleLeftMenu();
    } else if (verb == "top" && number(rest)) {
        model.SelectTopItem(*number(rest));
    } else if (verb == "left" && number(rest)) {
        model.ClickLeftItem(*number(rest));
    } else if (verb == "cmd" && colon != std::string::npos) {
        const auto argument = rest.find(':');
        model.CMD(rest.substr(0, argument), argument == std::string::npos ? std::string() : rest.substr(argument + 1));
    } else if (verb == "resize" && size(rest)) {
        model.setWindowSize(size(rest)->first, size(rest)->second);
        model.LayoutWindow();
    } else {
        return false;
    }
    return true;
}

void printEffects(MenuModel& model, std::ostream& out) {
    for (const MenuModel::Effect& effect : model.TakeEffects()) {
        switch (effect.kind) {
        case MenuModel::EffectKind::Navigate:
            out << "navigate " << effect.url << '\n';
            break;
        case MenuModel::EffectKind::Open:
            out << "open " << effect.url << '\n';
            break;
        case MenuModel::EffectKind::Overlay:
            out << "overlay\n";
            break;
        case MenuModel::EffectKind::Settings:
            out << "settings\n";
            break;
        }
    }
}

} // namespace

int runMenuCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    constexpr const char* usage = "usage: kivoctl menu --config FILE [--base-url URL] [--size W,H] STEP...\n"
                                  "steps: build top:I left:I hover toggle cmd:WORD[:ARG] resize:W,H\n";
    const startup::RunOptions options = startup::RunOptions::FromArguments(args);
    std::string configFile;
    std::pair<int, int> window{MenuModel::kDesignWidth, MenuModel::kDesignHeight};
    std::vector<std::string> steps;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--config" && i + 1 < args.size()) {
            configFile = args[++i];
        } else if (args[i] == "--size" && i + 1 < args.size() && size(args[i + 1])) {
            window = *size(args[++i]);
        } else if (args[i] == "--base-url" && i + 1 < args.size()) {
            ++i;
        } else {
            steps.push_back(args[i]);
        }
    }
    if (configFile.empty() || !options.error.empty()) {
        err << usage;
        return 2;
    }
    std::ifstream file(configFile, std::ios::binary);
    if (!file) {
        err << "kivoctl: cannot read " << configFile << '\n';
        return 1;
    }
    std::ostringstream text;
    text << file.rdbuf();
    const json::JsonValue config = json::JsonParse(json::Utf8ToUtf16(text.str()));
    if (!config.isDictionary()) {
        err << "kivoctl: " << configFile << " holds no JSON object\n";
        return 1;
    }
    MenuModel model(mainwin::ReadMenuItems(service::Field(config, u"topMenu")),
                    mainwin::ReadMenuItems(service::Field(config, u"leftMenu")), options.baseUrl, KIVO_FORUM_URL);
    model.setWindowSize(window.first, window.second);
    for (const std::string& step : steps) {
        if (!runStep(model, step)) {
            err << "kivoctl: unknown step '" << step << "'\n" << usage;
            return 2;
        }
        printEffects(model, out);
        out << model.StateLine() << '\n';
    }
    return 0;
}

int runIconCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const startup::RunOptions options = startup::RunOptions::FromArguments(args);
    std::vector<std::string> paths;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--base-url" || args[i] == "--app-dir") {
            ++i;
        } else if (args[i].rfind("--", 0) != 0) {
            paths.push_back(args[i]);
        }
    }
    if (!options.error.empty() || paths.empty()) {
        err << "usage: kivoctl icon [--base-url URL] [--app-dir DIR] PATH...\n";
        return 2;
    }
    mainwin::MenuIconCache cache(options.appDir, options.baseUrl);
    for (const std::string& path : paths) {
        const std::string local = cache.FetchMenuIcon(path);
        out << mainwin::MenuIconCache::OutcomeName(cache.lastOutcome()) << '\t' << local << '\n';
    }
    return 0;
}

} // namespace kivo::tools
