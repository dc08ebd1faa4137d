// The embedded browser as a module of its own: the program loads it once its first window has
// painted, so that the browser engine's start-up costs the first window nothing.
#include "platform/net/servicetrust.h"
#include "platform/web/webenginebrowser.h"
#include "platform/web/webenginecookiestore.h"

#include <QtGlobal>

extern "C" {

Q_DECL_EXPORT void kivo_webengine_register_schemes() {
    kivo::platform::WebEngineBrowser::RegisterSchemes();
}

// The module judges certificates with its own copy of the program's service host.
Q_DECL_EXPORT void kivo_webengine_trust_service_host(const QString& host) {
    kivo::platform::ServiceTrust::SetServiceHost(host);
}

Q_DECL_EXPORT kivo::platform::Browser* kivo_webengine_make_browser(QWidget* parent) {
    return new kivo::platform::WebEngineBrowser(parent);
}

Q_DECL_EXPORT kivo::platform::CookieStore* kivo_webengine_make_cookie_store() {
    return new kivo::platform::WebEngineCookieStore;
}
}
