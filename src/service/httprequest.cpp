#include "service/httprequest.h"

#include "platform/net/curlhttpsession.h"
#include "platform/net/logaddress.h"
#include "platform/files/textdecoder.h"
#include "service/json/decimal.h"
#include "service/json/dictionary.h"
#include "service/json/jsonparser.h"
#include "service/json/textcodec.h"

#include <QLoggingCategory>
#include <QString>

#include <array>
#include <charconv>
#include <utility>

Q_LOGGING_CATEGORY(lcRequest, "kivo.service.httprequest")

namespace kivo::service {

using json::JsonValue;

ServiceState& Service() {
    static ServiceState state;
    return state;
}

void CreateHttpClient(const platform::HttpNetwork& network) {
    Service().network = network;
    Service().HttpClient = std::make_shared<platform::CurlHttpSession>(platform::HttpTimeouts{}, network);
}

std::u16string BareCodeMessage(std::u16string_view answer) {
    static const std::array<std::pair<std::u16string_view, std::u16string_view>, 10> codes{{
        {u"-1", u"机构ID、用户名或密码错误"},
        {u"-2", u"用户已停用"},
        {u"-3", u"账户已过期"},
        {u"-4", u"余额不足"},
        {u"-5", u"非法的短信内容"},
        {u"-6", u"非法的手机号码"},
        {u"-7", u"短信包含敏感关键字"},
        {u"-8", u"批次号错误"},
        {u"-9", u"其它错误"},
        {u"-10", u"通道错误"},
    }};
    const auto first = answer.find_first_not_of(u" \t\r\n");
    const auto last = answer.find_last_not_of(u" \t\r\n");
    if (first == std::u16string_view::npos) {
        return {};
    }
    const std::u16string_view code = answer.substr(first, last - first + 1);
    for (const auto& [key, message] : codes) {
        if (code == key) {
            return std::u16string(message);
        }
    }
    return {};
}

JsonValue HttpRequest(const std::string& url, const std::string& method) {
    try {
        auto& client = Service().HttpClient;
        if (!client) {
            qCWarning(lcRequest) << "no HTTP client for" << platform::AddressForLog(url).c_str();
            return JsonValue::nothing();
        }
        const auto response = client->send(method.empty() ? "POST" : method, url);
        if (!response) {
            return JsonValue::nothing();
        }
        const std::u16string text = platform::DecodeResponseText(response->body, response->contentType);
        const std::u16string message = BareCodeMessage(text);
        if (!message.empty()) {
            qCWarning(lcRequest) << "service answered" << platform::AddressForLog(url).c_str()
                                 << "with a code:" << QString::fromStdU16String(message);
            return JsonValue::nothing();
        }
        JsonValue root = json::JsonParse(text);
        if (root.isNothing()) {
            qCInfo(lcRequest) << platform::AddressForLog(url).c_str() << "answered HTTP" << response->status
                              << "without JSON";
        } else if (!json::JsonErrors().empty()) {
            // A cut or broken answer parses partly; what it seems to say is not what was sent.
            qCWarning(lcRequest) << platform::AddressForLog(url).c_str() << "answered broken JSON";
            return JsonValue::nothing();
        }
        return root;
    } catch (const std::exception& e) {
        qCWarning(lcRequest) << platform::AddressForLog(url).c_str() << "failed:" << e.what();
        return JsonValue::nothing();
    }
}

namespace {

// A whole number within the 32-bit range counts as an integer, as the service's numbers do.
bool isWholeInt32(const json::Decimal& d, long long& value) {
    const std::string text = d.toString();
    if (text.find('.') != std::string::npos || text.size() > 11) {
        return false;
    }
    // The whole text, or it is no integer (no exception for a text that is none).
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= INT32_MIN && value <= INT32_MAX;
}

} // namespace

bool HasValue(const JsonValue& value) {
    switch (value.kind()) {
    case JsonValue::Kind::Null:
    case JsonValue::Kind::Nothing:
        return false;
    case JsonValue::Kind::Text:
        return !value.text().empty();
    case JsonValue::Kind::Number: {
        long long whole = 0;
        return !isWholeInt32(value.number(), whole) || whole > 0;
    }
    case JsonValue::Kind::Dictionary:
    case JsonValue::Kind::Collection:
    case JsonValue::Kind::Array:
    case JsonValue::Kind::Empty:
    case JsonValue::Kind::Boolean:
        return true;
    }
    return true;
}

const JsonValue& Field(const JsonValue& envelope, std::u16string_view name) {
    static const JsonValue empty;
    const json::Dictionary* dict = envelope.asDictionary();
    return dict != nullptr ? dict->Item(name) : empty;
}

std::u16string FieldText(const JsonValue& value) {
    switch (value.kind()) {
    case JsonValue::Kind::Text:
        return value.text();
    case JsonValue::Kind::Number:
        return json::Utf8ToUtf16(value.number().toString());
    case JsonValue::Kind::Boolean:
        return value.boolean() ? u"True" : u"False";
    default:
        return {};
    }
}

bool IsSuccess(const JsonValue& envelope) {
    const JsonValue& status = Field(envelope, u"status");
    try {
        if (status.isNumber()) {
            return status.number() == json::Decimal(1);
        }
        if (status.isText()) {
            const std::u16string& text = status.text();
            const auto first = text.find_first_not_of(u" \t");
            const auto last = text.find_last_not_of(u" \t");
            if (first == std::u16string::npos) {
                return false;
            }
            return json::Decimal::FromText(std::u16string_view(text).substr(first, last - first + 1)) ==
                   json::Decimal(1);
        }
    } catch (const std::exception&) {
        // a status that is no number is a failure, never a crash
    }
    return false;
}

} // namespace kivo::service
