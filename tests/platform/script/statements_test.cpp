// The statement interpreter, driven by tests/data/script/statements.cases.
#include "bridge/hacmd.h"
#include "platform/script/scriptengine.h"
#include "service/json/jsonwriter.h"
#include "service/json/textcodec.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace kivo::bridge {
namespace {

struct Step {
    std::string statement;
    std::vector<std::string> expected;
};
struct StatementCase {
    std::string name;
    std::vector<Step> steps;
};

void PrintTo(const StatementCase& c, std::ostream* os) {
    *os << c.name;
}

std::vector<StatementCase> loadCases() {
    std::ifstream file(KIVO_TEST_DATA_DIR "/script/statements.cases");
    std::vector<StatementCase> cases;
    std::string line;
    while (std::getline(file, line)) {
        if (line.rfind("=== ", 0) == 0) {
            cases.push_back({line.substr(4), {}});
        } else if (cases.empty() || line.empty() || line[0] == '#') {
            continue;
        } else if (line.rfind("> ", 0) == 0 || line == ">") {
            cases.back().steps.push_back({line.size() > 2 ? line.substr(2) : "", {}});
        } else if (!cases.back().steps.empty()) {
            cases.back().steps.back().expected.push_back(line);
        }
    }
    return cases;
}

class Statements : public ::testing::TestWithParam<StatementCase> {};

TEST_P(Statements, ProduceTheirCallsOrErrors) {
    script::ScriptEngine engine;
    std::vector<std::string> output;
    HACMD::SetCommandHandler([&](const HACMD::Arguments& args) {
        std::string line = "CMD";
        for (const auto& a : args) {
            line += " " + json::Utf16ToUtf8(json::JsonText(json::JsonValue(a)));
        }
        output.push_back(line);
    });
    engine.AddObject(u"MyCMD", std::make_shared<HACMD>(), true);
    for (const Step& step : GetParam().steps) {
        output.clear();
        if (engine.ExecuteStatement(json::Utf8ToUtf16(step.statement))) {
            output.push_back("ok");
        } else {
            output.push_back("error " + std::to_string(engine.Error()->number()) + ": " +
                             json::Utf16ToUtf8(engine.Error()->description()));
        }
        EXPECT_EQ(output, step.expected) << "statement: " << step.statement;
    }
    HACMD::SetCommandHandler({});
}

INSTANTIATE_TEST_SUITE_P(DataFile, Statements, ::testing::ValuesIn(loadCases()), [](const auto& info) {
    std::string name;
    for (char ch : info.param.name) {
        name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    }
    return name;
});

TEST(ScriptEngine, HostileStatementsHitTheLimits) {
    script::ScriptEngine engine;
    // Nesting beyond the parser's limit.
    EXPECT_FALSE(engine.ExecuteStatement(u"x = " + std::u16string(5000, u'(') + u"1" + std::u16string(5000, u')')));
    EXPECT_EQ(engine.Error()->number(), 28);
    // A string doubled past the size limit.
    std::u16string grow = u"x = \"aaaaaaaaaaaaaaaa\"";
    EXPECT_TRUE(engine.ExecuteStatement(grow));
    bool failed = false;
    for (int i = 0; i < 20 && !failed; ++i) {
        failed = !engine.ExecuteStatement(u"x = x & x & x & x");
    }
    EXPECT_TRUE(failed);
    EXPECT_EQ(engine.Error()->number(), 14);
    // Statements beyond the length limit.
    EXPECT_FALSE(engine.ExecuteStatement(std::u16string(script::ScriptEngine::kMaxStatement + 1, u' ')));
}

TEST(ScriptEngine, ErrorEventCarriesNumberSourceAndStatement) {
    script::ScriptEngine engine;
    std::u16string seen;
    engine.onError = [&](const script::ScriptError& e, std::u16string_view statement) {
        seen = e.source() + u"|" + std::u16string(statement);
    };
    EXPECT_FALSE(engine.ExecuteStatement(u"CMD \"x"));
    EXPECT_EQ(seen, u"Microsoft VBScript compilation error|CMD \"x");
    EXPECT_FALSE(engine.ExecuteStatement(u"y = 1 / 0"));
    EXPECT_EQ(seen, u"Microsoft VBScript runtime error|y = 1 / 0");
    EXPECT_TRUE(engine.ExecuteStatement(u"y = 2"));
    EXPECT_FALSE(engine.Error().has_value());
}

TEST(ScriptEngine, CompilationErrorsSayWhereTheyWereFound) {
    script::ScriptEngine engine;
    std::size_t at = 0;
    engine.onError = [&](const script::ScriptError& e, std::u16string_view) { at = e.position(); };
    engine.ExecuteStatement(u"CMD \"x");
    EXPECT_EQ(at, 4u) << "the unterminated string begins at its quote";
    engine.ExecuteStatement(u"x = 1 @ 2");
    EXPECT_EQ(at, 6u) << "the invalid character";
    engine.ExecuteStatement(u"x = (1 + 2");
    EXPECT_EQ(at, 10u) << "the end where ')' was expected";
    engine.ExecuteStatement(u"y = 1 / 0");
    EXPECT_EQ(at, script::ScriptError::kNoPosition) << "a runtime error has no place in the text";
}

TEST(ScriptEngine, MsgBoxGoesThroughTheOwnersDialog) {
    script::ScriptEngine engine;
    std::u16string shown;
    engine.msgBox = [&](const std::u16string& prompt, int buttons, const std::u16string& title) {
        shown = prompt + u"|" + title;
        return buttons == 4 ? 6 : 1;
    };
    EXPECT_TRUE(engine.ExecuteStatement(u"r = MsgBox(\"保存?\", 4, \"Kivo\")"));
    EXPECT_EQ(shown, u"保存?|Kivo");
    EXPECT_EQ(engine.variable(u"R").asLong(), 6);
}

} // namespace
} // namespace kivo::bridge
