#include "service/json/jsonwriter.h"

#include "service/json/collection.h"
#include "service/json/cstringbuilder.h"
#include "service/json/dictionary.h"
#include "service/json/valuearray.h"

#include <vector>

namespace kivo::json {

namespace {

// All writers append into one builder, so nested values are never copied level by level.
class Writer {
public:
    explicit Writer(cStringBuilder& out) : out_(out) {}

    void value(const JsonValue& v);
    void escaped(std::u16string_view text);
    void array(const ValueArray& a, int dimension, std::vector<int>& index);

private:
    cStringBuilder& out_;
};

void Writer::value(const JsonValue& v) {
    switch (v.kind()) {
    case JsonValue::Kind::Null:
        out_.Append(u"null");
        break;
    case JsonValue::Kind::Boolean:
        out_.Append(v.boolean() ? u"true" : u"false");
        break;
    case JsonValue::Kind::Number: {
        char16_t digits[Decimal::kMaxTextLength];
        out_.Append(std::u16string_view(digits, v.number().render(digits)));
        break;
    }
    case JsonValue::Kind::Text:
        out_.Append(u'"');
        escaped(v.text());
        out_.Append(u'"');
        break;
    case JsonValue::Kind::Dictionary: {
        out_.Append(u'{');
        bool first = true;
        for (const auto& [key, item] : *v.asDictionary()) {
            if (!first) {
                out_.Append(u',');
            }
            first = false;
            out_.Append(u'"');
            out_.Append(key);
            out_.Append(u"\":");
            value(item);
        }
        out_.Append(u'}');
        break;
    }
    case JsonValue::Kind::Collection: {
        out_.Append(u'[');
        bool first = true;
        for (const auto& item : *v.asCollection()) {
            if (!first) {
                out_.Append(u',');
            }
            first = false;
            value(item);
        }
        out_.Append(u']');
        break;
    }
    case JsonValue::Kind::Array: {
        std::vector<int> index;
        array(*v.array(), 0, index);
        break;
    }
    case JsonValue::Kind::Empty:
    case JsonValue::Kind::Nothing:
        break;
    }
}

void Writer::escaped(std::u16string_view text) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    size_t run = 0; // start of the pending run of characters written unchanged
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        char16_t simple = 0;
        switch (c) {
        case u'"':
            simple = u'"';
            break;
        case u'\\':
            simple = u'\\';
            break;
        case u'/':
            simple = u'/';
            break;
        case u'\b':
            simple = u'b';
            break;
        case u'\f':
            simple = u'f';
            break;
        case u'\n':
            simple = u'n';
            break;
        case u'\r':
            simple = u'r';
            break;
        case u'\t':
            simple = u't';
            break;
        default:
            if (c >= 32 && c <= 126) {
                continue;
            }
        }
        out_.Append(text.substr(run, i - run));
        run = i + 1;
        if (simple != 0) {
            const char16_t pair[2] = {u'\\', simple};
            out_.Append(std::u16string_view(pair, 2));
        } else {
            const char16_t escape[6] = {u'\\',       u'u', kHex[c >> 12], kHex[(c >> 8) & 15], kHex[(c >> 4) & 15],
                                        kHex[c & 15]};
            out_.Append(std::u16string_view(escape, 6));
        }
    }
    out_.Append(text.substr(run));
}

void Writer::array(const ValueArray& a, int dimension, std::vector<int>& index) {
    if (a.dimensions() == 0) {
        out_.Append(u"[]");
        return;
    }
    const auto [lower, upper] = a.bounds(dimension);
    out_.Append(u'[');
    index.push_back(lower);
    for (int i = lower; i <= upper; ++i) {
        if (i != lower) {
            out_.Append(u',');
        }
        index.back() = i;
        if (dimension + 1 < a.dimensions()) {
            array(a, dimension + 1, index);
        } else {
            value(a.at(index));
        }
    }
    index.pop_back();
    out_.Append(u']');
}

} // namespace

std::u16string JsonText(const JsonValue& value) {
    cStringBuilder out;
    Writer(out).value(value);
    return std::move(out).toString();
}

std::u16string EscapeText(std::u16string_view text) {
    cStringBuilder out;
    Writer(out).escaped(text);
    return std::move(out).toString();
}

std::u16string ArrayText(const ValueArray& array) {
    cStringBuilder out;
    std::vector<int> index;
    Writer(out).array(array, 0, index);
    return std::move(out).toString();
}

} // namespace kivo::json
