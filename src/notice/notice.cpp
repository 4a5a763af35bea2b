#include "notice/notice.h"

#include "notice/frm_info.h"
#include "notice/notice_probe.h"
#include "notice/page_limits.h"

#include <QNetworkAccessManager>
#include <QWidget>

#include <algorithm>
#include <memory>

namespace qb::notice {

QUrl DefaultNoticeUrl() { return QUrl(QStringLiteral(QB_NOTICE_URL)); }

FrmInfo* ProbeNotice(QWidget& mainWindow, const QUrl& url, int timeoutMs) {
    // The time left after the fetch is for the title test and the building of the page,
    // which the page limits keep well under this.
    constexpr int kBuildReserveMs = 1000;
    const int fetchMs = timeoutMs - std::min(kBuildReserveMs, timeoutMs / 2);
    auto net = std::make_unique<QNetworkAccessManager>();
    const std::optional<FetchedPage> page = FetchNoticePage(*net, url, fetchMs);
    if (!page || !TitleShowsNotice(page->text) || !PageCanBeBuilt(page->text)) {
        mainWindow.setEnabled(true);
        return nullptr;
    }
    mainWindow.setEnabled(false);
    auto* frmInfo = new FrmInfo(mainWindow, net.release());
    frmInfo->PrepareNotice(page->url, page->text);
    return frmInfo;
}

FrmInfo* ProbeAndShowNotice(QWidget& mainWindow, const QUrl& url, int timeoutMs) {
    FrmInfo* frmInfo = ProbeNotice(mainWindow, url, timeoutMs);
    if (frmInfo)
        frmInfo->ShowNotice();
    return frmInfo;
}

QWidget* RunStartupNotice(QWidget& mainWindow, const QUrl& url, int timeoutMs) {
    return ProbeNotice(mainWindow, url, timeoutMs);
}

void ShowStartupNotice(QWidget* notice) {
    if (auto* frmInfo = qobject_cast<FrmInfo*>(notice))
        frmInfo->ShowNotice();
}

}  // namespace qb::notice
