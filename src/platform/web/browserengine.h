#pragma once

#include "platform/web/browser.h"
#include "platform/net/cookiestore.h"

#include <memory>

namespace kivo::platform {

/// @brief The embedded browser engine, loaded from its module on first use: the browsers of the
/// windows and the engine's cookie store. Without the module there are no browsers (null) and
/// cookies go nowhere, with a log line.
class BrowserEngine {
public:
    static std::unique_ptr<Browser> MakeBrowser(QWidget* parent);
    /// @brief How the windows compose the engine's pages, before it starts: in software when
    /// the engine's GPU is off (--disable-gpu), unless QT_QUICK_BACKEND says otherwise.
    static void ChooseComposition();
    /// @brief A cookie store that loads the engine only when the first cookie comes.
    static std::shared_ptr<CookieStore> CookieStoreOnDemand();
};

} // namespace kivo::platform
