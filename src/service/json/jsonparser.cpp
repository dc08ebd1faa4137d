#include "service/json/jsonparser.h"

#include "service/json/collection.h"
#include "service/json/dictionary.h"
#include "service/json/runtimeerror.h"
#include "service/json/textcodec.h"

#include <new>

namespace kivo::json {

namespace {

std::u16string& errorLog() {
    thread_local std::u16string log; // each thread reads the log of its own last parse
    return log;
}

std::u16string describe(const std::exception& e) {
    return Utf8ToUtf16(e.what());
}

} // namespace

JsonValue JsonParse(std::u16string_view text) {
    JsonParser parser(text);
    JsonValue result;
    try {
        result = parser.parse();
    } catch (...) {
        result = JsonValue::nothing();
    }
    errorLog() = parser.takeLog();
    return result;
}

const std::u16string& JsonErrors() {
    return errorLog();
}

JsonValue JsonParser::parse() {
    log_.clear();
    pos_ = 0;
    skipFiller();
    const int c = at(pos_);
    if (c == '{') {
        return JsonValue(readObject());
    }
    if (c == '[') {
        return JsonValue(readArray());
    }
    log_ = u"Invalid JSON";
    return JsonValue::nothing();
}

void JsonParser::skipFiller() {
    bool pending = false;
    bool inComment = false;
    bool inBlock = false;
    const size_t n = text_.size();
    for (; pos_ < n; ++pos_) {
        switch (text_[pos_]) {
        case u'\r':
        case u'\n':
            if (!inBlock) {
                pending = false;
                inComment = false;
            }
            break;
        case u'\t':
        case u' ':
        case u'(':
        case u')':
            break;
        case u'/':
            if (inBlock) {
                if (pending) {
                    inBlock = inComment = pending = false;
                }
            } else if (pending) {
                inComment = true;
                pending = false;
            } else {
                pending = true;
                inComment = inBlock = false;
            }
            break;
        case u'*':
            if (pending) {
                inComment = inBlock = true;
                pending = false;
            } else {
                pending = true;
            }
            break;
        default:
            if (!inComment) {
                return;
            }
        }
    }
}

JsonValue JsonParser::readValue() {
    skipFiller();
    switch (at(pos_)) {
    case u'{':
    case u'[':
        if (depth_ >= kMaxDepth) {
            log({u"Nesting deeper than 512 levels at position ", positionText(pos_), u"\r\n"});
            stopped_ = true;
            return {};
        }
        if (at(pos_) == u'{') {
            return JsonValue(readObject());
        }
        return JsonValue(readArray());
    case u'"':
    case u'\'':
        return JsonValue(readString());
    case u't':
    case u'f':
        return readBoolean();
    case u'n':
        return readNull();
    default:
        return readNumber();
    }
}

namespace {
struct DepthGuard {
    explicit DepthGuard(int& depth) : depth_(depth) { ++depth_; }
    ~DepthGuard() { --depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;
    int& depth_;
};
} // namespace

std::shared_ptr<Dictionary> JsonParser::readObject() {
    auto dict = std::make_shared<Dictionary>();
    skipFiller();
    if (at(pos_) != u'{') {
        log({u"Invalid Object at position ", positionText(pos_), u" : ", rest(), u"\r\n"});
        return dict;
    }
    ++pos_;
    DepthGuard guard(depth_);
    for (;;) {
        skipFiller();
        const int c = at(pos_);
        if (c == u'}') {
            ++pos_;
            return dict;
        }
        if (c == u',') {
            ++pos_;
            skipFiller();
        } else if (atEnd()) {
            log({u"Missing '}': ", last20(), u"\r\n"});
            return dict;
        }
        std::u16string key = readKey();
        try {
            JsonValue value = readValue();
            if (stopped_) { // keep the tree built so far, then unwind
                if (!value.isEmpty()) {
                    dict->Add(std::move(key), std::move(value));
                }
                return dict;
            }
            dict->Add(std::move(key), std::move(value));
        } catch (const std::bad_alloc&) {
            log({u"Out of memory: ", key, u"\r\n"});
            return dict;
        } catch (const std::exception& e) {
            log({describe(e), u": ", key, u"\r\n"});
            return dict;
        }
    }
}

std::shared_ptr<Collection> JsonParser::readArray() {
    auto list = std::make_shared<Collection>();
    skipFiller();
    if (at(pos_) != u'[') {
        log({u"Invalid Array at position ", positionText(pos_), u" : ", next20(), u"\r\n"});
        return list;
    }
    ++pos_;
    DepthGuard guard(depth_);
    for (;;) {
        skipFiller();
        const int c = at(pos_);
        if (c == u']') {
            ++pos_;
            return list;
        }
        if (c == u',') {
            ++pos_;
            skipFiller();
        } else if (atEnd()) {
            log({u"Missing ']': ", last20(), u"\r\n"});
            return list;
        }
        const size_t before = pos_;
        try {
            JsonValue value = readValue();
            if (stopped_) { // keep the tree built so far, then unwind
                if (!value.isEmpty()) {
                    list->Add(std::move(value));
                }
                return list;
            }
            // A failed literal consumes nothing; reading it again would never end, so the array
            // ends here as for any other failed element.
            if (pos_ == before && !atEnd()) {
                return list;
            }
            list->Add(std::move(value));
        } catch (const std::bad_alloc&) {
            log({u"Out of memory: ", next20(), u"\r\n"});
            return list;
        } catch (const std::exception& e) {
            log({describe(e), u": ", next20(), u"\r\n"});
            return list;
        }
    }
}

std::u16string JsonParser::readKey() {
    skipFiller();
    const size_t n = text_.size();
    // The usual "name": a double-quoted key without blanks or apostrophes, then the colon.
    if (pos_ < n && text_[pos_] == u'"') {
        size_t i = pos_ + 1;
        while (i < n && text_[i] != u'"' && text_[i] != u'\'' && text_[i] != u' ' && text_[i] != u'\t' &&
               text_[i] != u'\r' && text_[i] != u'\n' && text_[i] != u':') {
            ++i;
        }
        if (i + 1 < n && text_[i] == u'"' && text_[i + 1] == u':') {
            std::u16string key(text_.substr(pos_ + 1, i - pos_ - 1));
            pos_ = i + 2;
            return key;
        }
    }
    std::u16string key;
    bool inDouble = false;
    bool inSingle = false;
    while (pos_ < n) {
        const char16_t c = text_[pos_];
        if (c == u'"' || c == u'\'') {
            bool& flag = c == u'"' ? inDouble : inSingle;
            flag = !flag;
            ++pos_;
            if (!flag) {
                skipFiller();
                if (at(pos_) != u':') {
                    log({u"Invalid Key at position ", positionText(pos_), u" : ", key, u"\r\n"});
                    return key;
                }
            }
        } else if (c == u':') {
            ++pos_;
            if (!inDouble && !inSingle) {
                return key;
            }
            key.push_back(c);
        } else if (c == u'\r' || c == u'\n' || c == u'\t' || c == u' ') {
            ++pos_;
        } else {
            key.push_back(c);
            ++pos_;
        }
    }
    return key;
}

namespace {
int hexValue(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}
} // namespace

std::u16string JsonParser::readString() {
    skipFiller();
    const char16_t quote = text_[pos_];
    ++pos_;
    const size_t n = text_.size();
    // Most strings hold no escape: take them straight from the text.
    size_t i = pos_;
    while (i < n && text_[i] != quote && text_[i] != u'\\') {
        ++i;
    }
    if (i >= n || text_[i] == quote) {
        std::u16string result(text_.substr(pos_, i - pos_));
        pos_ = i < n ? i + 1 : n;
        return result;
    }
    strings_.Remove(0, strings_.Length());
    strings_.Append(text_.substr(pos_, i - pos_));
    pos_ = i;
    while (pos_ < n) {
        const char16_t c = text_[pos_];
        if (c == u'\\') {
            ++pos_;
            const int e = at(pos_);
            switch (e) {
            case u'"':
            case u'\\':
            case u'/':
            case u'\'':
                strings_.Append(static_cast<char16_t>(e));
                ++pos_;
                break;
            case u'b':
                strings_.Append(u'\b');
                ++pos_;
                break;
            case u'f':
                strings_.Append(u'\f');
                ++pos_;
                break;
            case u'n':
                strings_.Append(u'\n');
                ++pos_;
                break;
            case u'r':
                strings_.Append(u'\r');
                ++pos_;
                break;
            case u't':
                strings_.Append(u'\t');
                ++pos_;
                break;
            case u'u': {
                ++pos_;
                unsigned value = 0;
                for (size_t k = 0; k < 4 && pos_ + k < n; ++k) {
                    const int digit = hexValue(text_[pos_ + k]);
                    if (digit < 0) {
                        break;
                    }
                    value = value * 16 + static_cast<unsigned>(digit);
                }
                strings_.Append(static_cast<char16_t>(value));
                pos_ += 4; // even past the end of the text
                break;
            }
            default:
                break; // read again as an ordinary character: "\x" gives "x"
            }
        } else if (c == quote) {
            ++pos_;
            return strings_.toString();
        } else {
            strings_.Append(c);
            ++pos_;
        }
    }
    return strings_.toString();
}

JsonValue JsonParser::readNumber() {
    skipFiller();
    const size_t start = pos_;
    const size_t n = text_.size();
    while (pos_ < n) {
        const char16_t c = text_[pos_];
        if ((c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.' || c == u'e' || c == u'E') {
            ++pos_;
        } else {
            return JsonValue(Decimal::FromText(text_.substr(start, pos_ - start)));
        }
    }
    return {}; // the text ended inside the number
}

JsonValue JsonParser::readBoolean() {
    skipFiller();
    if (text_.substr(pos_, 4) == u"true") {
        pos_ += 4;
        return JsonValue(true);
    }
    if (text_.substr(pos_, 5) == u"false") {
        pos_ += 5;
        return JsonValue(false);
    }
    log({u"Invalid Boolean at position ", positionText(pos_), u" : ", rest(), u"\r\n"});
    return JsonValue(false);
}

JsonValue JsonParser::readNull() {
    skipFiller();
    if (text_.substr(pos_, 4) == u"null") {
        pos_ += 4;
        return JsonValue::null();
    }
    log({u"Invalid null value at position ", positionText(pos_), u" : ", rest(), u"\r\n"});
    return {};
}

std::u16string_view JsonParser::rest() const {
    return pos_ < text_.size() ? text_.substr(pos_) : std::u16string_view{};
}

std::u16string_view JsonParser::next20() const {
    return pos_ < text_.size() ? text_.substr(pos_, 20) : std::u16string_view{};
}

std::u16string_view JsonParser::last20() const {
    return text_.size() <= 20 ? text_ : text_.substr(text_.size() - 20);
}

void JsonParser::log(std::initializer_list<std::u16string_view> parts) {
    if (log_.size() >= kMaxLog) {
        return;
    }
    for (const auto part : parts) {
        log_.append(part);
    }
}

std::u16string JsonParser::positionText(size_t pos) {
    const std::string digits = std::to_string(pos + 1);
    return {digits.begin(), digits.end()};
}

} // namespace kivo::json
