#include "platform/web/browser.h"

namespace kivo::platform {

BrowserFactory& Browsers() {
    static BrowserFactory factory;
    return factory;
}

} // namespace kivo::platform
