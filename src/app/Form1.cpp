#include "app/Form1.h"

#include "app/Accessibility.h"
#include "app/ColourButton.h"
#include "app/NoticeBox.h"
#include "app/QtNegotiatedWindow.h"
#include "app/QueryBox.h"
#include "app/QueryBoxKeys.h"
#include "app/QtText.h"
#include "app/TwipRect.h"
#include "lookup/Categories.h"
#include "lookup/SiteButtons.h"
#include "platform/QtWindowBackend.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QIcon>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <algorithm>
#include <limits>

// The program's resources live in a static library and must be registered by hand,
// outside any namespace.
static void InitResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(app);
        Q_INIT_RESOURCE(maker);
        return true;
    }();
    (void)done;
}

namespace tovrin::app {

using namespace tovrin::lookup;
using namespace tovrin::platform;
using browser::BrowserControl;
using browser::BrowserFactory;
using browser::BrowserRole;

namespace {

// The window's client area at design, in twips.
constexpr int kDesignClientWidth = 11910;
constexpr int kDesignClientHeight = 8085;

// The face to ask for: the design face where it is installed, else the first installed
// one of its substitutes. Asking for a design face that is not here makes the font
// database sort every installed face as a fallback first, once per face and script.
QString InstalledFamily(const QString& designFamily)
{
    // Only the families asked about are looked up; listing every family would read
    // the details of all of them.
    const auto installed = [](const QString& family) {
        return !QFontDatabase::styles(family).isEmpty();
    };
    const QStringList substitutes = QFont::substitutes(designFamily);
    static QHash<QString, QString> chosen;
    const QString key = designFamily + u'|' + substitutes.join(u'|');
    if (const auto it = chosen.constFind(key); it != chosen.cend())
        return *it;
    QString family = designFamily;
    if (!installed(designFamily)) {
        const auto found = std::find_if(substitutes.begin(), substitutes.end(), installed);
        if (found != substitutes.end())
            family = *found;
    }
    chosen.insert(key, family);
    return family;
}

QFont DesignFont(const char* family, double pointSize, bool bold = false)
{
    QFont font(InstalledFamily(QString::fromUtf8(family)));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

// What each browser is for.
constexpr BrowserRole kResultBrowser{.showsStartupProblem = true};
constexpr BrowserRole kAdvertisement{.waitsForFirstPage = true};
constexpr BrowserRole kUpdatePage{};
// 30 by 30 twips: nothing it shows can be seen.
constexpr BrowserRole kContactControl{.launchesMessenger = true, .outOfSight = true};

QPushButton* PlainButton(QWidget* parent, const char* name, const char* caption, QRect twips,
                         double pointSize)
{
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(twips);
    button->setFont(DesignFont("宋体", pointSize));
    button->setAutoDefault(true); // Enter clicks the focused button, as Space does
    return button;
}

} // namespace

Form1::Form1(Form1Config config, Platform platform, QWidget* parent)
    : QWidget(parent), m_config(std::move(config)), m_makerPages(m_config.makerHost),
      m_browsers(std::move(platform.browsers)),
      m_windowBackend(platform.windows(*this))
{
    InitResources();
    InstallAccessibleRoles();
    setObjectName(QStringLiteral("Form1"));
    m_sizedWindow = std::make_unique<QtNegotiatedWindow>(
        *this, *m_windowBackend, [this] { return WindowState(); },
        [this] { m_size->watchFrame(); });
    m_size = std::make_unique<WindowSizeNegotiation>(*m_sizedWindow, SteadyClock());
    m_trayWatch.setInterval(500);
    connect(&m_trayWatch, &QTimer::timeout, this, &Form1::onTrayWatch);
    createControls();
    m_hWnd = CreateWindowHandle(*m_windowBackend, platform.tray);
    Form_Load();
}

Form1::Platform Form1::DesktopPlatform(BrowserFactory browsers, TrayBackend* tray)
{
    return {std::move(browsers),
            [](QWidget& window) { return std::make_unique<QtWindowBackend>(window); }, tray};
}

Form1::~Form1()
{
    Form_Unload();
    DestroyWindowHandle(m_hWnd);
}

void Form1::createControls()
{
    setWindowTitle(Utf8(maker::WindowCaption(m_config.makerNumber)));
    setWindowIcon(QIcon(QStringLiteral(":/app/tovrin.png")));
    setFont(DesignFont("楷体_GB2312", 10.5, true));
    setBackgroundRole(QPalette::Highlight);
    setAutoFillBackground(true);
    resize(TwipsToPixels(kDesignClientWidth), TwipsToPixels(kDesignClientHeight));

    // Created first, so that the contact button and the tiny contact browser lie on top.
    WebBrowser1 = makeBrowser(1, kResultBrowser, "查询结果", TwipRect(m_twips.webBrowser1));
    connect(WebBrowser1, &BrowserControl::gotFocus, this, &Form1::WebBrowser1_GotFocus);
    connect(WebBrowser1, &BrowserControl::loadFinished, this, &Form1::onResultPageLoaded);

    Text1 = new QueryBox(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(TwipRect(0, 0, 7485, 360));
    Text1->setFont(DesignFont("宋体", 12));
    Text1->setText(QStringLiteral("请输入要查询的内容"));
    Text1->setAccessibleName(Text1->text()); // the prompt names the box, as a label would
    Text1->setCursor(Qt::ArrowCursor);
    Text1->setMaxLength(std::numeric_limits<int>::max()); // no limit, as the design has it
    m_queryKeys = new QueryBoxKeys(*this);
    Text1->installEventFilter(m_queryKeys);
    connect(Text1, &QueryBox::clicked, this, &Form1::Text1_Click);
    connect(Text1, &QueryBox::doubleClicked, this, &Form1::Text1_DblClick);

    Command0 = new QPushButton(QStringLiteral("→"), this);
    Command0->setObjectName(QStringLiteral("Command0"));
    Command0->setGeometry(TwipRect(7560, 0, 375, 375));
    Command0->setFont(DesignFont("华文楷体", 10.5, true));
    Command0->setAutoDefault(true);
    Command0->hide();
    connect(Command0, &QPushButton::clicked, this, &Form1::Command0_Click);

    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setGeometry(TwipRect(8040, 0, 3735, 360));
    Combo1->setFont(DesignFont("宋体", 12));
    Combo1->setEditable(true);
    // Assistive technology names an editable selector by its text, the chosen category;
    // the text field inside says what it is for.
    Combo1->lineEdit()->setAccessibleName(QStringLiteral("查询类别"));
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    for (const auto& category : kCategories)
        Combo1->addItem(Utf8(category.item), 0);
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(Utf8(kCategories[0].item));
    connect(Combo1, &QComboBox::currentIndexChanged, this, [this] {
        m_comboTextEdited = false;
        Combo1_Click();
    });
    connect(Combo1, &QComboBox::activated, this, [this](int index) {
        // Choosing the item that was already current after editing the text brings the
        // category back.
        if (m_comboTextEdited && index == Combo1->currentIndex()) {
            m_comboTextEdited = false;
            Combo1->setEditText(Combo1->itemText(index));
            Combo1_Click();
        }
    });
    connect(Combo1->lineEdit(), &QLineEdit::textEdited, this, &Form1::onComboTextEdited);

    createSiteButtons();

    Command1[0] = PlainButton(this, "Command1_0", "与我联系", TwipRect(m_twips.contact), 10.5);
    connect(Command1[0], &QPushButton::clicked, this, [this] { Command1_Click(0); });

    WebBrowser2 = makeBrowser(2, kAdvertisement, "广告", TwipRect(m_twips.webBrowser2));

    Cd_update = PlainButton(this, "Cd_update", "检查更新", TwipRect(m_twips.cdUpdate), 9);
    Cd_AD = PlainButton(this, "Cd_AD", "关闭广告", TwipRect(m_twips.cdAD), 9);
    connect(Cd_update, &QPushButton::clicked, this, &Form1::Cd_update_Click);
    connect(Cd_AD, &QPushButton::clicked, this, &Form1::Cd_AD_Click);

    WebBrowser3 = makeBrowser(3, kUpdatePage, "更新", TwipRect(m_twips.webBrowser3));

    Text2 = new NoticeBox(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setGeometry(TwipRect(m_twips.text2));
    Text2->setAccessibleName(QStringLiteral("通知"));
    Text2->setFont(DesignFont("宋体", 15.75));
    QPalette notice = Text2->palette();
    notice.setColor(QPalette::Text, QColor(0, 0, 128));
    Text2->setPalette(notice);

    WebBrowser4 = makeBrowser(4, kContactControl, "与我联系", TwipRect(5880, 5160, 30, 30));

    createMenu();
    setTabOrder();
}

BrowserControl* Form1::makeBrowser(int number, const BrowserRole& role,
                                   const char* accessibleName, QRect twips)
{
    // The role says what the control does; the name is only for finding it.
    BrowserControl* browser = m_browsers(this, role);
    browser->setObjectName(QStringLiteral("WebBrowser%1").arg(number));
    browser->setGeometry(twips);
    browser->setAccessibleName(QString::fromUtf8(accessibleName));
    return browser;
}

void Form1::createSiteButtons()
{
    const auto makeRow = [this](auto& array, const auto& table, const char* name, bool shown,
                                auto onClick) {
        for (const SiteButton& row : table) {
            auto* button = new ColourButton(Utf8(row.caption),
                                            QColor(row.colour.r, row.colour.g, row.colour.b), this);
            button->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(row.index));
            button->setGeometry(TwipRect(static_cast<float>(row.left), kButtonRowTop,
                                         static_cast<float>(row.width), kButtonRowHeight));
            button->setFont(DesignFont("宋体", 9));
            button->setAutoDefault(true);
            button->setVisible(shown);
            const std::int16_t index = row.index;
            connect(button, &QPushButton::clicked, this,
                    [onClick, this, index] { (this->*onClick)(index); });
            // Within bounds: each row matches its array's size, checked at compile time.
            array[static_cast<std::size_t>(row.index)] = button;
        }
    };
    makeRow(Command1, kDictionaryButtons, "Command1", true, &Form1::Command1_Click);
    makeRow(Command2, kTranslationButtons, "Command2", false, &Form1::Command2_Click);
    makeRow(Command3, kSearchButtons, "Command3", false, &Form1::Command3_Click);
}

void Form1::createMenu()
{
    mnuTray = new QMenu(QStringLiteral("trayMenu"), this);
    mnuTray->setObjectName(QStringLiteral("mnuTray"));
    mnuShow = mnuTray->addAction(QStringLiteral("显示窗口"));
    mnuShow->setObjectName(QStringLiteral("mnuShow"));
    zhiding = mnuTray->addAction(QStringLiteral("取消置顶"));
    zhiding->setObjectName(QStringLiteral("zhiding"));
    connect_ = mnuTray->addAction(QStringLiteral("与我联系"));
    connect_->setObjectName(QStringLiteral("connect"));
    mnuSwp = mnuTray->addSeparator();
    mnuSwp->setObjectName(QStringLiteral("mnuSwp"));
    mnuExit = mnuTray->addAction(QStringLiteral("退出"));
    mnuExit->setObjectName(QStringLiteral("mnuExit"));
    mnuTray->setDefaultAction(mnuShow);
    connect(mnuShow, &QAction::triggered, this, &Form1::mnuShow_Click);
    connect(zhiding, &QAction::triggered, this, &Form1::zhiding_Click);
    connect(connect_, &QAction::triggered, this, &Form1::connect_Click);
    connect(mnuExit, &QAction::triggered, this, &Form1::mnuExit_Click);
}

void Form1::setTabOrder()
{
    std::vector<QWidget*> chain{Text1};
    chain.insert(chain.end(), Command1.begin() + 1, Command1.end());
    chain.insert(chain.end(), {WebBrowser1, Command1[0], Cd_update, Cd_AD, WebBrowser2, WebBrowser3,
                               Text2, WebBrowser4, Combo1, Command0});
    chain.insert(chain.end(), Command2.begin() + 1, Command2.end());
    for (const auto index : kSearchButtonTabOrder)
        chain.push_back(Command3[static_cast<std::size_t>(index)]);
    for (std::size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void Form1::Form_Load()
{
    Combo1->setCurrentIndex(0); // raises Combo1_Click
    bRefocusQuery = 1;
    bTopmost = 1;
    SetWindowPos(hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    bNoticeShown = 1;
    bAdShown = 1;
    WebBrowser2->Navigate(Utf8(m_makerPages.advertisementAddress()));
    WebBrowser1->setSilent(true);
    WebBrowser1->Navigate(Utf8(m_makerPages.instructionAddress()));
    Text2->setPlainText(Utf8(maker::NoticeText(m_config.makerNumber)));
    Text2->setFont(DesignFont("宋体", 13));
    setUpTrayAndHook();
}

void Form1::Form_Activate()
{
    rearmQueryBox();
}

} // namespace tovrin::app
