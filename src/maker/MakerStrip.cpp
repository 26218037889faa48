#include "maker/MakerStrip.h"

#include "maker/NoticeBox.h"
#include "ui/DesignFont.h"
#include "ui/QtText.h"
#include "ui/TwipRect.h"

#include <QPushButton>

namespace tovrin::maker {

namespace {

// The advertisement waits for the result browser's first page, which the user came for.
constexpr browser::BrowserRole kAdvertisement{.waitsForFirstPage = true};
constexpr browser::BrowserRole kUpdatePage{};

QPushButton* StripButton(QWidget* parent, const char* name, const char* caption)
{
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QLatin1String(name));
    button->setFont(ui::DesignFont("宋体", 9));
    button->setAutoDefault(true); // Enter clicks the focused button, as Space does
    return button;
}

} // namespace

MakerStrip::MakerStrip(MakerPages pages, std::string_view makerNumber,
                       const browser::BrowserFactory& browsers, QWidget* parent)
    : QWidget(parent), m_pages(std::move(pages))
{
    setObjectName(QStringLiteral("makerStrip"));
    m_advertisement = MakeBrowser(browsers, this, kAdvertisement, "WebBrowser2", "广告");
    m_updateButton = StripButton(this, "Cd_update", "检查更新");
    m_closeButton = StripButton(this, "Cd_AD", "关闭广告");
    connect(m_updateButton, &QPushButton::clicked, this, &MakerStrip::switchNotice);
    connect(m_closeButton, &QPushButton::clicked, this, &MakerStrip::closeStrip);
    m_update = MakeBrowser(browsers, this, kUpdatePage, "WebBrowser3", "更新");

    // Made after the update page, so that it lies over it.
    m_notice = new NoticeBox(this);
    m_notice->setObjectName(QStringLiteral("Text2"));
    m_notice->setAccessibleName(QStringLiteral("通知"));
    QPalette navy = m_notice->palette();
    navy.setColor(QPalette::Text, QColor(0, 0, 128));
    m_notice->setPalette(navy);
    m_notice->setPlainText(ui::Utf8(NoticeText(makerNumber)));
    m_notice->setFont(ui::DesignFont("宋体", 13)); // designed at 15.75, set to 13 at start
    place(geometry::DesignControls());
}

void MakerStrip::loadAdvertisement()
{
    m_advertisement->Navigate(ui::Utf8(m_pages.advertisementAddress()));
}

void MakerStrip::place(const geometry::Controls& c)
{
    // The strip spans its parts; each stands where the layout put it in the window.
    const QRect parts[] = {ui::TwipRect(c.webBrowser2), ui::TwipRect(c.webBrowser3),
                           ui::TwipRect(c.text2), ui::TwipRect(c.cdUpdate), ui::TwipRect(c.cdAD)};
    QRect area;
    for (const QRect& part : parts)
        area = area.isNull() ? part : area.united(part);
    setGeometry(area);
    QWidget* widgets[] = {m_advertisement, m_update, m_notice, m_updateButton, m_closeButton};
    for (std::size_t i = 0; i < std::size(parts); ++i)
        widgets[i]->setGeometry(parts[i].translated(-area.topLeft()));
    if (!c.stripButtonsVisible) {
        m_updateButton->hide();
        m_closeButton->hide();
    }
}

void MakerStrip::hideParts()
{
    for (QWidget* part : tabStops())
        part->hide();
}

QList<QWidget*> MakerStrip::tabStops() const
{
    return {m_updateButton, m_closeButton, m_advertisement, m_update, m_notice};
}

void MakerStrip::switchNotice()
{
    if (m_noticeShown) {
        m_notice->hide();
        m_update->Navigate(ui::Utf8(m_pages.updateAddress()));
        m_updateButton->setText(QStringLiteral("返回"));
        m_noticeShown = false;
    } else {
        m_notice->show();
        m_noticeShown = true;
        m_updateButton->setText(QStringLiteral("检查更新"));
    }
}

void MakerStrip::closeStrip()
{
    m_open = false;
    // Closed for the rest of the run: its pages stop running out of sight.
    m_advertisement->clear();
    m_update->clear();
    emit closed();
}

} // namespace tovrin::maker
