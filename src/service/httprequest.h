#pragma once

#include "platform/net/cookiestore.h"
#include "platform/net/httpsession.h"
#include "service/json/jsonvalue.h"

#include <memory>
#include <string>

namespace kivo::service {

/// @brief The process-wide service connection: the base address every path is appended to, the
/// one HTTP client of the run, and the browser's cookie store that session cookies go to.
struct ServiceState {
    std::string BaseUrl;
    std::shared_ptr<platform::HttpSession> HttpClient;
    std::shared_ptr<platform::CookieStore> cookieStore;
    platform::HttpNetwork network;
};

ServiceState& Service();

/// @brief Creates the run's HTTP client with the service settings (time-outs, certificate checks,
/// no redirects, cookie engine on), trusting and reaching the service as `network` says; the menu
/// icons' session takes the same network from the service state.
void CreateHttpClient(const platform::HttpNetwork& network = {});

/// @brief Sends `method` ("" means POST) with an empty body to `url` over the one client and
/// parses the answer: a Dictionary, a Collection or nothing. Never throws; every transport
/// failure, non-JSON answer and bare code answer ("-1" to "-10") gives nothing.
json::JsonValue HttpRequest(const std::string& url, const std::string& method = {});

/// @brief The has-value test: false for null, for whole numbers of 0 or less, for the empty text
/// and for a reference to nothing; true otherwise.
bool HasValue(const json::JsonValue& value);

/// @brief True when the envelope's `status` equals 1 as a number (a numeric text counts).
bool IsSuccess(const json::JsonValue& envelope);

/// @brief A member of a response object, or the empty value when `envelope` is not an object.
const json::JsonValue& Field(const json::JsonValue& envelope, std::u16string_view name);

/// @brief A field as the text it stands for: a text itself, a number's decimal text, "True" or
/// "False"; empty for anything else (a missing field, null, an object).
std::u16string FieldText(const json::JsonValue& value);

/// @brief The message the service's bare code answers carry; empty for other texts.
std::u16string BareCodeMessage(std::u16string_view answer);

} // namespace kivo::service
