#pragma once

#include "bridge/hacmd.h"
#include "chrome/formregistry.h"
#include "e2esupport.h"
#include "mainwin/home.h"
#include "signin/login.h"

#include <gtest/gtest.h>

#include <functional>

namespace kivo::test {

// The client wired as the program wires it: a sign-in opens the main window, page commands reach it,
// and the program's end calls `programEnd` instead of ending the tests.
inline void WireClient(std::function<void()> programEnd) {
    chrome::FormRegistry::instance().setProgramEnd(std::move(programEnd));
    signin::login::SetShowMainWindow(&mainwin::home::ShowAfterSignIn);
    mainwin::home::SetSignInAgain(&signin::login::OpenAgain);
    bridge::HACMD::SetCommandHandler(
        [](const bridge::HACMD::Arguments& a) { mainwin::home::Instance()->CMD(a[0], a[1], a[2], a[3], a[4], a[5]); });
}

// Closes every window and undoes WireClient.
inline void UnwireClient() {
    chrome::UnloadAllForms();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    bridge::HACMD::SetCommandHandler({});
    signin::login::SetShowMainWindow({});
    mainwin::home::SetSignInAgain({});
    chrome::FormRegistry::instance().setProgramEnd({});
}

// The wired client against a fresh stand-in service; the program's end is counted, not carried out.
class ClientEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        PrepareClient(service.url(), appDir);
        WireClient([this] { ++ends; });
    }
    void TearDown() override { UnwireClient(); }

    StandInService service;
    QTemporaryDir appDir;
    int ends = 0;
};

} // namespace kivo::test
