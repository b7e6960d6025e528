#include "platform/HelpViewer.h"

#include "platform/UserInterface.h"
#include "platform/WindowTexts.h"
#include "texts/Texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace platform {

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Hilfe"));
    resize(560, 480);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("brwHilfe"));
    browser_->setOpenLinks(false);
    layout->addWidget(browser_);
    connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        const QString fragment = url.fragment();
        if (url.scheme().isEmpty() && url.path().isEmpty() && fragment.startsWith(QLatin1String("hc-")))
            showContext(fragment.mid(3).toInt());
        else
            OpenUrl(url.toString());
    });
    TranslateWindow(this);
}

std::map<int, QString> HelpViewer::ParseTopics(const QString& html)
{
    static const QRegularExpression section(
        QStringLiteral(R"re(<section\s+id="hc-(\d+)"\s*>(.*?)</section>)re"),
        QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption);
    std::map<int, QString> topics;
    for (auto it = section.globalMatch(html); it.hasNext();) {
        const auto match = it.next();
        topics[match.captured(1).toInt()] = match.captured(2);
    }
    return topics;
}

bool HelpViewer::load(const QString& helpFile)
{
    const QFileInfo info(helpFile);
    if (helpFile == file_ && info.lastModified() == loadedStamp_ && !topics_.empty())
        return true;
    QFile file(helpFile);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        ErrorBox(texts::Format(texts::Text(61314), {QDir::toNativeSeparators(helpFile)}));
        return false;
    }
    const QString html = QString::fromUtf8(file.readAll());
    static const QRegularExpression styleBlock(QStringLiteral("<style[^>]*>.*?</style>"),
                                               QRegularExpression::DotMatchesEverythingOption);
    style_ = styleBlock.match(html).captured(0);
    topics_ = ParseTopics(html);
    file_ = helpFile;
    loadedStamp_ = info.lastModified();
    return true;
}

void HelpViewer::ShowTopic(const QString& helpFile, int helpContext)
{
    if (!load(helpFile))
        return;
    showContext(helpContext);
    show();
    raise();
    activateWindow();
}

void HelpViewer::showContext(int helpContext)
{
    current_ = helpContext;
    const auto found = topics_.find(helpContext);
    const QString body = found != topics_.end()
                             ? found->second
                             : QStringLiteral("<p>Zu diesem Thema (%1) ist keine Hilfe vorhanden.</p>").arg(helpContext);
    browser_->setHtml(QStringLiteral("<html><head>") + style_ + QStringLiteral("</head><body>") + body +
                      QStringLiteral("</body></html>"));
}

QString HelpViewer::currentHtml() const
{
    const auto found = topics_.find(current_);
    return found != topics_.end() ? found->second : QString();
}

}  // namespace platform
