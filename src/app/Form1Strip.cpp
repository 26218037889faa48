// The maker's strip at the bottom of the window: notice or update page, and closing it.

#include "app/Form1.h"

#include "app/NoticeBox.h"
#include "app/QtText.h"

#include <QPushButton>

#include <algorithm>

namespace tovrin::app {

void Form1::Cd_update_Click()
{
    if (bNoticeShown == 1) {
        Text2->hide();
        WebBrowser3->Navigate(Utf8(m_makerPages.updateAddress()));
        Cd_update->setText(QStringLiteral("返回"));
        bNoticeShown = 0;
    } else {
        Text2->show();
        bNoticeShown = 1;
        Cd_update->setText(QStringLiteral("检查更新"));
    }
}

void Form1::Cd_AD_Click()
{
    bAdShown = 0;
    // The strip is closed for the rest of the run: its pages stop running out of sight.
    WebBrowser2->clear();
    WebBrowser3->clear();
    if (WindowState() == 2) {
        layout::Controls c = m_twips;
        c.webBrowser1.height = std::max(OuterHeight() - c.webBrowser1.top, 0.0f);
        applyLayout(c);
        WebBrowser2->hide();
        WebBrowser3->hide();
        Text2->hide();
        Cd_update->hide();
        Cd_AD->hide();
        c.contact.left = c.webBrowser1.width - c.contact.width;
        c.contact.top = OuterHeight() - c.contact.height - layout::kBottomAllowance;
        applyLayout(c);
    } else {
        SetOuterSize(OuterWidth(), layout::kMinimumHeightStripClosed);
        // The window system applies the new size later; lay out for it now.
        Form_Resize();
    }
}

} // namespace tovrin::app
