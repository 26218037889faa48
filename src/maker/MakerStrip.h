#pragma once

#include "browser/BrowserControl.h"
#include "geometry/ResizeLayout.h"
#include "maker/MakerPages.h"

#include <QWidget>

#include <string_view>

class QPushButton;

namespace tovrin::maker {

class NoticeBox;

// The maker's strip at the bottom of the window: the advertisement, the notice over the
// update page, "检查更新" that switches between the two and "关闭广告" that closes the strip
// for the rest of the run. Its controls keep the design's names as object names
// ("WebBrowser2", "WebBrowser3", "Text2", "Cd_update", "Cd_AD").
class MakerStrip : public QWidget
{
    Q_OBJECT

public:
    MakerStrip(MakerPages pages, std::string_view makerNumber,
               const browser::BrowserFactory& browsers, QWidget* parent);

    void loadAdvertisement();
    bool isOpen() const { return m_open; }

    // Places the strip's parts where the window's layout put them, in window twips.
    void place(const geometry::Controls& layout);
    // Hides every part: the strip closed in a maximized window, which keeps its size.
    void hideParts();

    // In the window's tab chain: the two buttons, the two pages, the notice.
    QList<QWidget*> tabStops() const;

signals:
    // "关闭广告": the strip has closed, for good.
    void closed();

private:
    void switchNotice();
    void closeStrip();

    const MakerPages m_pages;
    browser::BrowserControl* m_advertisement = nullptr;
    browser::BrowserControl* m_update = nullptr;
    NoticeBox* m_notice = nullptr;
    QPushButton* m_updateButton = nullptr;
    QPushButton* m_closeButton = nullptr;
    bool m_open = true;
    bool m_noticeShown = true;
};

} // namespace tovrin::maker
