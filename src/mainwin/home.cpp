#include "mainwin/home.h"

#include "bridge/bridgeorigins.h"
#include "bridge/hacmd.h"
#include "chrome/failurepanel.h"
#include "chrome/fonts.h"
#include "chrome/formregistry.h"
#include "chrome/keyboardaccess.h"
#include "chrome/loadingoverlay.h"
#include "chrome/windowhelpers.h"
#include "mainwin/downloadstrip.h"
#include "mainwin/findbar.h"
#include "mainwin/pagecontrols.h"
#include "mainwin/pagenotices.h"
#include "platform/process/freememory.h"
#include "platform/desktop/trayicon.h"
#include "platform/desktop/twips.h"
#include "platform/desktop/urlopener.h"
#include "service/httprequest.h"
#include "service/json/collection.h"
#include "service/json/dictionary.h"
#include "service/json/jsonparser.h"
#include "service/json/textcodec.h"
#include "service/sessioncookies.h"
#include "startup/configuration.h"
#include "startup/runparameters.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QResizeEvent>
#include <QShortcut>
#include <QTimer>
#include <QUrl>

Q_LOGGING_CATEGORY(lcHome, "kivo.mainwin.home")

namespace kivo::mainwin {

using chrome::ImageControl;
using chrome::WindowFont;
using platform::MoveTwips;
using platform::PixelsToTwips;
using platform::TwipsToPixels;

namespace {

using chrome::kYaHei;

QPointer<home>& instance() {
    static QPointer<home> window;
    return window;
}

std::function<void(const QString&)>& messageBox() {
    static std::function<void(const QString&)> show;
    return show;
}

std::function<void(QWidget*)>& showSettings() {
    static std::function<void(QWidget*)> show;
    return show;
}

std::function<void(const QPoint&)>& showMainMenu() {
    static std::function<void(const QPoint&)> show;
    return show;
}

std::function<void(int)>& unreadCount() {
    static std::function<void(int)> show;
    return show;
}

// The header's right-hand group, each control's Left counted from the window's right edge.
constexpr int kMenuButtonFromRight = 1670;
constexpr int kMinimiseFromRight = 1235;
constexpr int kMaximiseFromRight = 780;
constexpr int kCloseFromRight = 400;

std::function<bool(const QString&, const QString&)>& announcer() {
    static std::function<bool(const QString&, const QString&)> announce;
    return announce;
}

// A cached menu array; absent or unreadable text (a first run whose download failed) reads as
// an empty array, so the window opens with its start page.
json::JsonValue cachedMenu(const char* key) {
    const std::string text = startup::ReadIniValue(startup::RunParameterFile(), startup::kRunParameterSection, key);
    json::JsonValue parsed = json::JsonParse(json::Utf8ToUtf16(text));
    if (!parsed.isCollection()) {
        if (!text.empty()) {
            qCWarning(lcHome) << "the cached" << key << "menu does not parse; showing no menu";
        }
        return json::JsonValue(std::make_shared<json::Collection>());
    }
    return parsed;
}

QString field(const char16_t* name) {
    return QString::fromStdU16String(service::FieldText(service::Field(startup::State().UserData, name)));
}

} // namespace

home* home::Instance() {
    if (!instance()) {
        auto* window = new home;
        instance() = window;
        window->Load();
    }
    return instance();
}

home* home::Existing() {
    return instance();
}

void home::SetMessageBox(std::function<void(const QString&)> show) {
    messageBox() = std::move(show);
}

void home::SetShowSettings(std::function<void(QWidget*)> show) {
    showSettings() = std::move(show);
}

void home::SetShowMainMenu(std::function<void(const QPoint&)> show) {
    showMainMenu() = std::move(show);
}

void home::SetAnnounce(std::function<bool(const QString&, const QString&)> announce) {
    announcer() = std::move(announce);
}

void home::SetUnreadCount(std::function<void(int)> show) {
    unreadCount() = std::move(show);
}

void home::SetFallbackScreen(QScreen* screen) {
    FallbackScreen() = screen;
}

home::home() : Form("home") {
    setWindowTitle("Velmora 工作台");
    resize(TwipsToPixels(MenuModel::kDesignWidth), TwipsToPixels(MenuModel::kDesignHeight));
    setMinimumSize(size()); // the design size is the least the header and menus fit in
    placeWrite_ = new QTimer(this);
    placeWrite_->setObjectName("placeWrite");
    placeWrite_->setSingleShot(true);
    placeWrite_->setInterval(kPlaceWriteDelayMs);
    connect(placeWrite_, &QTimer::timeout, this, &home::RememberPlace);
    build();
}

home::~home() = default;

void home::build() {
    header_ = chrome::LoadResourceImage(107);
    auto image = [this](int l, int t, int w, int h, const QImage& picture = {}) {
        auto* control = new ImageControl(this);
        MoveTwips(control, l, t, w, h);
        control->setPicture(picture);
        return control;
    };
    auto label = [this](int l, int t, int w, int h, double points, Qt::Alignment align) {
        auto* text = new QLabel(this);
        MoveTwips(text, l, t, w, h);
        text->setFont(WindowFont(kYaHei, points));
        text->setStyleSheet("color: white; background: transparent;");
        text->setAlignment(align | Qt::AlignVCenter);
        return text;
    };

    aicAlphaImage1 = image(240, 150, 1065, 195, chrome::LoadPicture("logo"));
    aicAlphaImage1->setCursor(Qt::ArrowCursor);
    connect(aicAlphaImage1, &ImageControl::MouseDown, this, [this] { StartDrag(); });
    avatar_bg = image(400, 465, 1410, 1410, chrome::LoadPicture("avatar_frame"));
    avatar = image(405, 465, 1410, 1410);
    avatar->setRound(true);
    for (auto* picture : {avatar_bg, avatar}) {
        picture->setCursor(Qt::ArrowCursor);
    }
    avatar_bg->raise();
    username = label(2160, 480, 2055, 375, 14.25, Qt::AlignLeft);
    signature = label(2160, 960, 6375, 375, 10.5, Qt::AlignLeft);
    companyname = label(9155, 960, 4695, 375, 12, Qt::AlignRight);

    const int W = MenuModel::kDesignWidth;
    aicAlphaImage2 = image(W - kMenuButtonFromRight, 120, 180, 180, chrome::LoadPicture("menu_white"));
    connect(aicAlphaImage2, &ImageControl::Click, this, [this] {
        if (showMainMenu()) {
            showMainMenu()(aicAlphaImage2->mapToGlobal(QPoint(0, aicAlphaImage2->height() + 4)));
        }
    });
    home_min = new chrome::ClickLabel("-", this);
    MoveTwips(home_min, W - kMinimiseFromRight, 120, 255, 195);
    home_min->setFont(WindowFont("黑体", 14.25, true));
    home_min->setStyleSheet("color: white; background: transparent;");
    home_min->setAlignment(Qt::AlignCenter);
    home_min->setInkCentred(true); // the font's line box is higher than the label
    home_min->setCursor(Qt::PointingHandCursor);
    connect(home_min, &chrome::ClickLabel::Click, this, &home::Minimise);
    home_max = image(W - kMaximiseFromRight, 120, 180, 180, chrome::LoadPicture("max_white"));
    connect(home_max, &ImageControl::Click, this, &home::ToggleMaximised);
    home_close = image(W - kCloseFromRight, 120, 180, 180, chrome::LoadPicture("close_white"));
    connect(home_close, &ImageControl::Click, this, &home::Close);

    bars_ = new MenuBars(
        this, [this](const std::string& iconPath) { return icons_ ? icons_->FetchMenuIcon(iconPath) : std::string(); });
    leftMenuBox = bars_->leftMenuBox();
    connect(bars_, &MenuBars::TopItemClicked, this, [this](int index) {
        menus_.SelectTopItem(index);
        ApplyMenus();
    });
    connect(bars_, &MenuBars::LeftItemClicked, this, [this](int index) {
        menus_.ClickLeftItem(index);
        ApplyMenus();
    });
    connect(bars_, &MenuBars::LeftMenuHovered, this, [this] {
        if (!menus_.unfoldVisible()) {
            menus_.HoverLeftMenu();
            ApplyMenus();
        }
    });
    connect(bars_, &MenuBars::FoldClicked, this, [this] {
        menus_.ToggleLeftMenu();
        ApplyMenus();
    });

    webArea = new QWidget(this);
    MoveTwips(webArea, MenuModel::kFoldedLeft, MenuModel::kWebTop, 7335, 5295);
    if (platform::Browsers()) {
        web = platform::Browsers()(this);
    }
    if (web) {
        MoveTwips(web->widget(), MenuModel::kFoldedLeft, MenuModel::kWebTop, 7335, 5295);
        // The workbench pages are the service's own: no browser context menu over them.
        web->widget()->setContextMenuPolicy(Qt::NoContextMenu);
    }
    buildCover();
    if (web) {
        web->setLoadFinished([this](const platform::LoadOutcome& outcome) { PageLoadFinished(outcome); });
        pageControls_ = new PageControls(this, *web, service::Service().BaseUrl,
                                         [this](const platform::LoadOutcome& outcome) { PageLoadFinished(outcome); });
        downloads_ = new DownloadStrip(this);
        downloads_->setAnnounce(
            [](const QString& title, const QString& text) { return announcer() && announcer()(title, text); });
        connect(downloads_, &DownloadStrip::shownChanged, this, [this] { placeBrowser(); });
        web->setDownloadRequested(
            [this](const std::shared_ptr<platform::Download>& download) { downloads_->start(download); });
        notices_ = new PageNotices(this, *web, bridge::BridgeOrigins::ForService(service::Service().BaseUrl),
                                   [](const QString& title, const QString& text) {
                                       return announcer() && announcer()(title, text);
                                   });
        connect(notices_, &PageNotices::clicked, this, [this] { BringUp(); });
        connect(notices_, &PageNotices::unreadChanged, this, [](int count) {
            if (unreadCount()) {
                unreadCount()(count);
            }
        });
    }
    // Every control by its name, as the window code names it.
    const std::pair<QObject*, const char*> names[] = {
        {aicAlphaImage1, "aicAlphaImage1"},
        {avatar_bg, "avatar_bg"},
        {avatar, "avatar"},
        {username, "username"},
        {signature, "signature"},
        {companyname, "companyname"},
        {aicAlphaImage2, "aicAlphaImage2"},
        {home_min, "home_min"},
        {home_max, "home_max"},
        {home_close, "home_close"},
        {webArea, "webArea"},
        {web ? web->widget() : nullptr, "web"},
        {loadingWeb, "loadingWeb"},
        {failure_, "failurePanel"},
    };
    for (const auto& [control, name] : names) {
        if (control != nullptr) {
            control->setObjectName(name);
        }
    }
    // Made last, so that the edges lie over every other control.
    resizeFrame_ = new chrome::ResizeFrame(this);
    makeKeyboardUsable();
}

QWidget* home::webWidget() const {
    return web ? web->widget() : webArea;
}

// ---- creation ----

void home::onLoad() {
    // The menus come from the cache, which the download at start may still be filling.
    startup::AwaitConfiguration();
    topMenuItems = cachedMenu("topMenu");
    leftMenuItems = cachedMenu("leftMenu");
    const std::string& baseUrl = service::Service().BaseUrl;
    menus_ = MenuModel(ReadMenuItems(topMenuItems), ReadMenuItems(leftMenuItems), baseUrl, KIVO_FORUM_URL);
    icons_ = std::make_unique<MenuIconCache>(startup::State().options.cacheFolder(), baseUrl);

    ApplyStick(startup::State().stick);
    shadow_ = chrome::aShadow::ForWindow(this);
    LayoutWindow();
    service::CopySessionCookies();
    menus_.ShowStartPage();
    ApplyMenus();
    bridge_ = std::make_unique<bridge::HyperApp>();
    if (!bridge_->Init(web.get())) {
        if (messageBox()) {
            messageBox()("初始化失败！");
        } else {
            QMessageBox::information(this, windowTitle(), "初始化失败！", QMessageBox::Ok);
        }
    } else {
        bridge_->AllowOrigins(bridge::BridgeOrigins::ForService(service::Service().BaseUrl));
        bridge_->AddObject(u"MyCMD", std::make_shared<bridge::HACMD>());
        FillProfile();
    }
    menus_.BuildMenus();
    ApplyMenus();
    RestorePlace();
}

void home::FillProfile() {
    username->setText(field(u"nickname"));
    signature->setText(field(u"signature"));
    companyname->setText(field(u"companyname"));
    // Over the service's client: its session cookies (for its own host only) and certificates.
    avatar->setPicture(chrome::LoadPictureFromPath(field(u"avatar"), service::Service().HttpClient.get()));
}

// ---- layout ----

void home::LayoutWindow() {
    const int W = PixelsToTwips(width());
    const int H = PixelsToTwips(height());
    menus_.setWindowSize(W, H);
    menus_.LayoutWindow();
    placeBrowser();
    bars_->Draw(menus_);
    companyname->move(TwipsToPixels(W - platform::WidthTwips(companyname) - 400), companyname->y());
    for (const auto& [control, fromRight] : {std::pair<QWidget*, int>{aicAlphaImage2, kMenuButtonFromRight},
                                             {home_min, kMinimiseFromRight},
                                             {home_max, kMaximiseFromRight},
                                             {home_close, kCloseFromRight}}) {
        control->move(TwipsToPixels(W - fromRight), control->y());
    }
    update(); // the header and the border lines are painted for the new size
}

void home::placeBrowser() {
    const MenuModel::Rect& area = menus_.web();
    MoveTwips(webWidget(), area.left, area.top, area.width, area.height);
    if (downloads_ && downloads_->isVisible()) {
        // The download strip takes the bottom of the page's place.
        QRect page = webWidget()->geometry();
        page.setBottom(page.bottom() - DownloadStrip::kHeight);
        webWidget()->setGeometry(page);
        downloads_->setGeometry(page.left(), page.bottom() + 1, page.width(), DownloadStrip::kHeight);
        downloads_->raise();
    }
    if (webWidget() != webArea) {
        webArea->setGeometry(webWidget()->geometry());
    }
    failure_->setGeometry(webWidget()->geometry());
    loadingWeb->setGeometry(webWidget()->geometry());
    if (pageControls_) {
        const QRect page = webWidget()->geometry();
        FindBar* bar = pageControls_->findBar();
        bar->move(page.right() - bar->width() - 16, page.top() + 8);
        bar->raise();
    }
    resizeFrame_->place();
}

void home::ApplyMenus() {
    placeBrowser();
    bars_->Draw(menus_);
    for (const MenuModel::Effect& effect : menus_.TakeEffects()) {
        const QString url = QString::fromStdString(effect.url);
        switch (effect.kind) {
        case MenuModel::EffectKind::Navigate:
            openPage_ = url;
            failure_->Clear(); // going elsewhere replaces the failed page
            if (web) {
                web->navigate(url);
            }
            break;
        case MenuModel::EffectKind::Open:
            platform::UrlOpener::open(url);
            break;
        case MenuModel::EffectKind::Overlay:
            ShowLoadingOverlay();
            break;
        case MenuModel::EffectKind::Settings:
            if (showSettings()) {
                showSettings()(this);
            } else {
                qCInfo(lcHome) << "no settings window to show";
            }
            break;
        }
    }
    bars_->Raise();
    resizeFrame_->place();
    UpdateTabOrder();
}

void home::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(QRect(0, 0, width(), TwipsToPixels(kHeaderHeight)), header_);
    const int W = PixelsToTwips(width());
    const int H = PixelsToTwips(height());
    painter.setPen(QColor(0xE0, 0xE0, 0xE0));
    painter.drawLine(0, TwipsToPixels(1960), 0, TwipsToPixels(H)); // border_left
    painter.drawLine(TwipsToPixels(W - 20), TwipsToPixels(1960), TwipsToPixels(W - 20), TwipsToPixels(H)); // right
    painter.drawLine(0, TwipsToPixels(H - 10), TwipsToPixels(W), TwipsToPixels(H - 10));                   // bottom
}

void home::resizeEvent(QResizeEvent* event) {
    Form::resizeEvent(event);
    followNormalPlace();
    if (!isMinimized()) {
        LayoutWindow();
    }
}

// ---- header buttons ----

void home::mousePressEvent(QMouseEvent*) {
    StartDrag();
}

void home::PutAway(bool minimised) {
    if (!platform::NotificationAreaAvailable()()) {
        // Hidden without a notification area, the window could not be found again.
        static bool told = false;
        if (!told) {
            told = true;
            qCInfo(lcHome) << "the desktop has no notification area; the main window goes to the task bar";
        }
        showMinimized();
        return;
    }
    hide();
    if (minimised) {
        setWindowState(windowState() | Qt::WindowMinimized);
    }
}

void home::Minimise() {
    PutAway(true);
}

void home::Close() {
    if (startup::State().endStatus == "1") {
        chrome::UnloadAllForms();
    } else {
        PutAway(false);
    }
}

// ---- page commands ----

void home::CMD(const std::u16string& Action, const std::u16string& A, const std::u16string&, const std::u16string&,
               const std::u16string&, const std::u16string&) {
    if (Action == u"loading") {
        qCInfo(lcHome) << "the page has loaded";
        if (loadingWeb->isVisible()) {
            // What loading the page needed for a moment goes back to the system.
            QTimer::singleShot(0, &platform::ReturnFreeMemory);
        }
        loadingGrace_->stop();
        loadingWeb->hide();
        return;
    }
    if (Action == u"sessionEnded") {
        qCInfo(lcHome) << "the service's session is over: the page says so";
        EndSession();
        return;
    }
    const int dropped = menus_.DroppedOpens();
    menus_.CMD(json::Utf16ToUtf8(Action), json::Utf16ToUtf8(A));
    if (menus_.DroppedOpens() > dropped) {
        qCInfo(lcHome) << "a page asked for the browser again within a second; dropped";
    }
    ApplyMenus();
}

// ---- unload ----

void home::onUnload() {
    RememberPlace();
    service::HttpRequest(service::Service().BaseUrl + "/desktop/site/logout", "");
    service::CopySessionCookies();
    shadow_.reset();
    if (bridge_) {
        bridge_.reset();
    }
}

} // namespace kivo::mainwin
