#include "platform/web/browserengine.h"

#include "platform/process/programmodule.h"
#include "platform/desktop/screenreader.h"
#include "platform/net/servicetrust.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QLoggingCategory>
#include <QOpenGLContext>

// Qt's own, exported from its GUI library though not in its public headers.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

Q_LOGGING_CATEGORY(lcEngine, "kivo.platform.browserengine")

namespace kivo::platform {

namespace {

struct Module {
    Browser* (*makeBrowser)(QWidget*) = nullptr;
    CookieStore* (*makeCookieStore)() = nullptr;
};

// The browser engine draws with a graphics context shared with the windows'. Made when the
// application starts (the usual way), it would make the first window wait for the graphics
// driver; it is made here instead, just before the engine loads.
void shareGraphicsContext() {
    if (QOpenGLContext::globalShareContext() != nullptr) {
        return;
    }
    auto* context = new QOpenGLContext(QCoreApplication::instance());
    if (!context->create()) {
        qCWarning(lcEngine) << "no shared graphics context; the browser draws without one";
    }
    qt_gl_set_global_share_context(context);
}

// The module beside the program (a build folder) or in the library folder of an installation.
const Module& module() {
    static const Module loaded = [] {
        Module m;
        PrepareEngineForScreenReader(); // the engine reads its switches once, when it starts
        BrowserEngine::ChooseComposition();
        shareGraphicsContext(); // the engine needs it either way
        if (QLibrary* library = LoadProgramModule("kivo-webengine")) {
            auto registerSchemes = reinterpret_cast<void (*)()>(library->resolve("kivo_webengine_register_schemes"));
            auto trustHost =
                reinterpret_cast<void (*)(const QString&)>(library->resolve("kivo_webengine_trust_service_host"));
            m.makeBrowser = reinterpret_cast<Browser* (*)(QWidget*)>(library->resolve("kivo_webengine_make_browser"));
            m.makeCookieStore =
                reinterpret_cast<CookieStore* (*)()>(library->resolve("kivo_webengine_make_cookie_store"));
            if (registerSchemes && trustHost && m.makeBrowser && m.makeCookieStore) {
                registerSchemes(); // before the engine makes anything
                trustHost(ServiceTrust::ServiceHost());
                return m;
            }
            qCWarning(lcEngine) << library->fileName() << "is no browser module";
            return Module{};
        }
        qCWarning(lcEngine) << "no browser module beside" << QCoreApplication::applicationDirPath()
                            << "; the windows show no pages";
        return m;
    }();
    return loaded;
}

} // namespace

// With the engine's GPU switched off (--disable-gpu, as where there is no graphics driver) the
// engine draws its pages in software; composing them into the windows with OpenGL as well would
// only add a software OpenGL renderer: some 35 MB and its time.
void BrowserEngine::ChooseComposition() {
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND") &&
        qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").split(' ').contains("--disable-gpu")) {
        qputenv("QT_QUICK_BACKEND", "software");
    }
}

namespace {

class CookieStoreOnDemandImpl : public CookieStore {
public:
    void setCookie(const std::string& url, const std::string& name, const std::string& value) override {
        if (!store_ && module().makeCookieStore) {
            store_.reset(module().makeCookieStore());
        }
        if (store_) {
            store_->setCookie(url, name, value);
        }
    }

private:
    std::unique_ptr<CookieStore> store_;
};

} // namespace

std::unique_ptr<Browser> BrowserEngine::MakeBrowser(QWidget* parent) {
    return std::unique_ptr<Browser>(module().makeBrowser ? module().makeBrowser(parent) : nullptr);
}

std::shared_ptr<CookieStore> BrowserEngine::CookieStoreOnDemand() {
    return std::make_shared<CookieStoreOnDemandImpl>();
}

} // namespace kivo::platform
