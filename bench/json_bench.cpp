// Parse and serialize speed of our JSON module against nlohmann::ordered_json (the baseline:
// an insertion-ordered DOM like ours), measured in the same run on the same documents.
#include "benchdocuments.h"

#include "service/json/jsonparser.h"
#include "service/json/jsonwriter.h"
#include "service/json/textcodec.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

namespace {

constexpr size_t kSize = 1 << 20;

const std::string& document(const std::string& name) {
    static const std::string menu = kivo::bench::menuDocument(kSize);
    static const std::string mixed = kivo::bench::mixedDocument(kSize);
    return name == "menu" ? menu : mixed;
}

// Our parser reads UTF-16 text; the decoding from the UTF-8 bytes is timed with it, so both
// sides start from the same bytes.
void parseKivo(benchmark::State& state, const std::string& name) {
    const std::string& text = document(name);
    for (auto _ : state) {
        auto root = kivo::json::JsonParse(kivo::json::Utf8ToUtf16(text));
        benchmark::DoNotOptimize(root);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void parseNlohmann(benchmark::State& state, const std::string& name) {
    const std::string& text = document(name);
    for (auto _ : state) {
        auto root = nlohmann::ordered_json::parse(text);
        benchmark::DoNotOptimize(root);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

// Each side writes its own compact text: ours escapes every non-ASCII character.
void serializeKivo(benchmark::State& state, const std::string& name) {
    const auto root = kivo::json::JsonParse(kivo::json::Utf8ToUtf16(document(name)));
    for (auto _ : state) {
        auto text = kivo::json::JsonText(root);
        benchmark::DoNotOptimize(text);
    }
}

void serializeNlohmann(benchmark::State& state, const std::string& name) {
    const auto root = nlohmann::ordered_json::parse(document(name));
    for (auto _ : state) {
        auto text = root.dump();
        benchmark::DoNotOptimize(text);
    }
}

const bool registered = [] {
    for (const std::string name : {"menu", "mixed"}) {
        benchmark::RegisterBenchmark(("parse/kivo/" + name).c_str(), parseKivo, name)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("parse/nlohmann/" + name).c_str(), parseNlohmann, name)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("serialize/kivo/" + name).c_str(), serializeKivo, name)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("serialize/nlohmann/" + name).c_str(), serializeNlohmann, name)
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

} // namespace

BENCHMARK_MAIN();
