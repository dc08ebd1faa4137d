// Kivo: wires the subsystems together and runs the start-up sequence.
#include "bridge/hacmd.h"
#include "chrome/fonts.h"
#include "chrome/formregistry.h"
#include "chrome/language.h"
#include "chrome/pagedialogs.h"
#include "chrome/windowpreparation.h"
#include "chrome/windowhelpers.h"
#include "mainwin/home.h"
#include "platform/web/browserengine.h"
#include "platform/desktop/desktopnotifier.h"
#include "platform/process/freememory.h"
#include "platform/process/guardedapplication.h"
#include "platform/process/terminationsignals.h"
#include "platform/desktop/qttrayicon.h"
#include "platform/desktop/singleinstance.h"
#include "service/httprequest.h"
#include "settings/sys.h"
#include "settings/updatereminder.h"
#include "settings/version.h"
#include "signin/login.h"
#include "startup/configuration.h"
#include "startup/firstframe.h"
#include "startup/networksetup.h"
#include "startup/platformchoice.h"
#include "startup/programend.h"
#include "startup/runparameters.h"
#include "startup/startuptrace.h"
#include "tray/menu.h"
#include "tray/trayform.h"

#include <QApplication>
#include <QIcon>
#include <QPointer>
#include <QSessionManager>
#include <QTimer>

#include <iostream>
#include <unistd.h>

using namespace kivo;

namespace {

// Brings the window the user is working with to the front (a second copy asked for it).
void comeForward() {
    qInfo("kivo: another copy asked for the window");
    for (chrome::Form* form : chrome::FormRegistry::instance().forms()) {
        if (form->name() == "tray_form" || form->name() == "menu") {
            continue; // the windows that only own menus are never shown
        }
        form->showNormal();
        form->raise();
        form->activateWindow();
    }
}

} // namespace

int main(int argc, char** argv) {
    startup::Trace("main");
    std::vector<std::string> arguments(argv + 1, argv + argc);
    startup::RunOptions options = startup::RunOptions::FromArguments(arguments);
    if (options.version) {
        std::cout << "kivo " << startup::RunOptions::Version() << "\n";
        return 0;
    }
    if (options.help || !options.error.empty()) {
        (options.help ? std::cout : std::cerr)
            << (options.error.empty() ? "" : "kivo: " + options.error + "\n") << "usage: kivo [OPTIONS]\n"
            << startup::RunOptions::Usage();
        return options.help ? 0 : 2;
    }

    const startup::PlatformChoice platform = startup::ChoosePlatform(QProcessEnvironment::systemEnvironment());
    if (!platform.platform.isEmpty()) {
        qputenv("QT_QPA_PLATFORM", platform.platform.toUtf8());
    }
    if (!platform.why.isEmpty()) {
        qInfo("kivo: %s", qPrintable(platform.why));
    }
    platform::GuardedApplication app(argc, argv);
    startup::Trace("application");
    // What can wait (the configuration download, the icons) waits for the first window's first
    // frame.
    startup::FirstFrame::Expect();
    QApplication::setApplicationName("Kivo"); // the windows' class, as the desktop entry says
    QGuiApplication::setDesktopFileName("kivo");
    QApplication::setQuitOnLastWindowClosed(false);
    chrome::InstallFontSubstitutes();
    chrome::SpeakChinese();
    // The sign-in window's pictures are decoded on a worker thread meanwhile (not before
    // the application exists: decoding then can crash).
    chrome::WindowPreparation preparation(signin::login::Artwork());
    startup::State().options = options;

    // 1. One copy per user.
    platform::SingleInstance single("kivo");
    if (single.anotherIsRunning()) {
        return 0;
    }
    QObject::connect(&single, &platform::SingleInstance::activationRequested, &comeForward);
    startup::Trace("single instance");

    // Both of the service's clients trust and reach it alike; the browser engine reads this when it starts.
    startup::NetworkSetup::ForThisRun();
    startup::Trace("network");
    // Every browser, wherever it is shown, answers its pages' dialogs with Kivo's own.
    platform::Browsers() = [](QWidget* parent) {
        std::unique_ptr<platform::Browser> browser = platform::BrowserEngine::MakeBrowser(parent);
        if (browser) {
            chrome::InstallPageDialogs(*browser);
        }
        return browser;
    };
    // A sign-in opens the main window; page commands reach it, creating it when needed.
    signin::login::SetShowMainWindow(&mainwin::home::ShowAfterSignIn);
    // When the service's session is over the sign-in window comes again, as at start.
    mainwin::home::SetSignInAgain(&signin::login::OpenAgain);
    mainwin::home::SetShowSettings([](QWidget* owner) { settings::sys::Show(owner); });
    // The menus reach the windows they open through these.
    platform::TrayIcons() = [] { return std::make_unique<platform::QtTrayIcon>(); };
    mainwin::home::SetShowMainMenu([](const QPoint& position) { tray::menu::Instance()->Popup(position); });
    mainwin::home::SetAnnounce(&tray::Announce);
    mainwin::home::SetUnreadCount(&tray::ShowUnread);
    // The pages' notifications go to the desktop's notification service, made with the main window.
    platform::DesktopNotifiers() = [] { return platform::MakeFreedesktopNotifier("VelmoraKivo"); };
    tray::menu::SetShowSettings([](QWidget* owner) { settings::sys::Show(owner); });
    tray::menu::SetShowAbout([](QWidget* owner) { settings::version::Show(owner); });
    tray::TrayForm::SetShowAbout([] { settings::version::Show(); });
    bridge::HACMD::SetCommandHandler(
        [](const bridge::HACMD::Arguments& a) { mainwin::home::Instance()->CMD(a[0], a[1], a[2], a[3], a[4], a[5]); });
    service::Service().cookieStore = platform::BrowserEngine::CookieStoreOnDemand();

    // 2. Run parameters, the service address and the menu configuration (downloaded while the
    // sign-in window is up).
    startup::LoadRunParameters(true);
    startup::Trace("run parameters");

    // 3. The hidden window that keeps the program alive.
    auto* trayForm = new tray::TrayForm;
    trayForm->Load();
    startup::Trace("tray");
    // The desktop ends the program (the session's end, Ctrl+C, the terminal closed) as the menus'
    // exit does.
    startup::ProgramEnd end({
        .orderly = [tray = QPointer<tray::TrayForm>(trayForm)] { tray ? tray->Exit() : chrome::UnloadAllForms(); },
        .rememberPlace =
            [] {
                if (mainwin::home* window = mainwin::home::Existing()) {
                    window->RememberPlace();
                }
            },
        .abortRequests =
            [] {
                if (const auto client = service::Service().HttpClient) {
                    client->abort();
                }
            },
        .exitNow = [] { _exit(0); },
        .sleep = {},
    });
    platform::TerminationSignals endSignals;
    QObject::connect(&endSignals, &platform::TerminationSignals::received, [&end](int signal) { end.Begin(signal); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, [&end](QSessionManager&) { end.SaveSession(); });

    // 4-7. The sign-in window, dressed, with the cookies handed to the browser.
    auto* signIn = new signin::login;
    signIn->Load();
    preparation.Release();
    startup::Trace("sign-in window made");
    // The sign-in window's pictures and browser page are gone for good once it is.
    QObject::connect(signIn, &QObject::destroyed, [] { QTimer::singleShot(0, &platform::ReturnFreeMemory); });
    signIn->show();
    startup::Trace("sign-in window shown");
    // Reading the icon's picture would hold the first window back; the windows take it when it
    // comes.
    startup::FirstFrame::Then(&app, [] { QApplication::setWindowIcon(chrome::ProgramIcon()); });
    // Without a Chinese font every text is boxes; the log says what to install.
    startup::FirstFrame::Then(&app, [] { chrome::CheckChineseFont(); });
    // The update setting "remind me" looks at start, once the first window is up, and every day.
    startup::FirstFrame::Then(&app, [&app] {
        (new settings::UpdateReminder([] { settings::version::Show(); }, &app))->Check();
    });
    const int status = QApplication::exec();
    // A download still waiting for the service ends now, not at its time-out.
    service::Service().HttpClient->abort();
    startup::AwaitConfiguration();
    return status;
}
