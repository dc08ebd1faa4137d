#pragma once

#include "service/json/cstringbuilder.h"
#include "service/json/jsonvalue.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace kivo::json {

/// @brief Parses JSON text leniently into a Dictionary or a Collection, or nothing when the text
/// does not start with "{" or "[". Never throws: problems go to the error log (JsonErrors) and
/// the tree built up to the break is returned. Single-quoted strings and keys, unquoted keys,
/// missing commas, comments, parentheses as blanks and a leading "+" are accepted.
JsonValue JsonParse(std::u16string_view text);

/// @brief The error log of the most recent JsonParse: entries ending in CR LF, or "Invalid JSON".
const std::u16string& JsonErrors();

/// @brief One parse: the text, the position and the log. JsonParse runs one of these and keeps
/// its log as the module's error log.
class JsonParser {
public:
    /// Containers nested deeper than this end the parse, so hostile input cannot exhaust the stack.
    static constexpr int kMaxDepth = 512;
    /// The log stops taking entries beyond this many characters: each entry may quote the whole
    /// rest of the text, and a broken answer must not turn that into unbounded memory.
    static constexpr size_t kMaxLog = 1 << 20;

    explicit JsonParser(std::u16string_view text) : text_(text) {}

    JsonValue parse();
    std::u16string takeLog() { return std::move(log_); }

private:
    int at(size_t pos) const { return pos < text_.size() ? text_[pos] : -1; }
    bool atEnd() const { return pos_ >= text_.size(); }

    void skipFiller();
    JsonValue readValue();
    std::shared_ptr<Dictionary> readObject();
    std::shared_ptr<Collection> readArray();
    std::u16string readKey();
    std::u16string readString();
    JsonValue readNumber();
    JsonValue readBoolean();
    JsonValue readNull();

    std::u16string_view rest() const;
    std::u16string_view next20() const;
    std::u16string_view last20() const;
    void log(std::initializer_list<std::u16string_view> parts);
    static std::u16string positionText(size_t pos);

    std::u16string_view text_;
    size_t pos_ = 0;
    std::u16string log_;
    int depth_ = 0;
    bool stopped_ = false;
    cStringBuilder strings_; // reused by every escaped string of this parse
};

} // namespace kivo::json
