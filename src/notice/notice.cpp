#include "notice/notice.h"

#include "notice/frm_info.h"
#include "notice/notice_probe.h"

#include <QNetworkAccessManager>
#include <QWidget>

#include <memory>

namespace qb::notice {

QUrl DefaultNoticeUrl()
{
    return QUrl(QStringLiteral(QB_NOTICE_URL));
}

FrmInfo* ProbeAndShowNotice(QWidget& mainWindow, const QUrl& url, int timeoutMs)
{
    auto net = std::make_unique<QNetworkAccessManager>();
    const std::optional<FetchedPage> page = FetchNoticePage(*net, url, timeoutMs);
    if (!page || !TitleShowsNotice(page->text)) {
        mainWindow.setEnabled(true);
        return nullptr;
    }
    mainWindow.setEnabled(false);
    auto* frmInfo = new FrmInfo(mainWindow, net.release());
    frmInfo->ShowNotice(page->url, page->text);
    return frmInfo;
}

void RunStartupNotice(QWidget& mainWindow, const QUrl& url, int timeoutMs)
{
    ProbeAndShowNotice(mainWindow, url, timeoutMs);
}

}  // namespace qb::notice
