#include "platform/Help.h"

#include "platform/Cp1252.h"
#include "store/FileUtil.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QShortcut>
#include <QTextBrowser>

namespace lumo {

namespace {

std::filesystem::path LocalPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// Pictures and pages of the help are read through the file layer: a name of the archive
// that is a FIFO or a link out of it shows nothing instead of blocking or reading there.
class HelpBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;
    QVariant loadResource(int type, const QUrl& name) override {
        if (!name.scheme().isEmpty() && name.scheme() != QLatin1String("file"))
            return {};
        const QString path = QDir(searchPaths().value(0))
                                 .filePath(name.isLocalFile() ? name.toLocalFile() : name.path());
        const auto bytes = ReadWholeFile(LocalPath(path));
        if (!bytes)
            return {};
        const QByteArray data(bytes->data(), static_cast<qsizetype>(bytes->size()));
        return type == QTextDocument::ImageResource ? QVariant(data) : QVariant(FromCp1252(*bytes));
    }
};

} // namespace

void InstallHelpKey(QWidget* window, std::function<void()> showHelp) {
    auto* key = new QShortcut(QKeySequence(Qt::Key_F1), window);
    key->setContext(Qt::WindowShortcut);
    QObject::connect(key, &QShortcut::activated, window, std::move(showHelp));
}

HelpViewer::HelpViewer() = default;

HelpViewer::~HelpViewer() {
    if (browser_ && !browser_->parent())
        delete browser_.data();
}

void HelpViewer::setOwner(QWidget* owner) {
    owner_ = owner;
    if (browser_)
        browser_->setParent(owner, browser_->windowFlags() | Qt::Window);
}

QTextBrowser* HelpViewer::window() const {
    return browser_.data();
}

void HelpViewer::Close() {
    if (browser_)
        browser_->close();
}

namespace {

QString Notice(const QString& text) {
    return QStringLiteral("<p style=\"color:#800000\"><b>") + text.toHtmlEscaped() +
           QStringLiteral("</b></p>");
}

} // namespace

void HelpViewer::ShowHelp(const QString& helpFile, int context) {
    lastContext_ = context;
    if (!browser_) {
        browser_ = new HelpBrowser(owner_);
        browser_->setWindowFlags(Qt::Window);
        browser_->setWindowTitle(QStringLiteral("Lumoretta Hilfe"));
        // Links are followed here: only anchors of the help, web addresses and files of
        // the archive.
        browser_->setOpenLinks(false);
        QObject::connect(browser_.data(), &QTextBrowser::anchorClicked,
                         [this](const QUrl& link) { followLink(link); });
        browser_->resize(620, 520);
    }

    QString scrollTo;
    const auto bytes = helpFile.isEmpty() ? std::nullopt : ReadWholeFile(LocalPath(helpFile));
    helpDir_ = QFileInfo(helpFile).absolutePath();
    if (!bytes) {
        browser_->setHtml(Notice(QStringLiteral("Die Hilfedatei DIA.HLP wurde nicht gefunden.")));
    } else {
        // The help is written in code page 1252 like every archive text (or pure ASCII
        // with character references).
        QString html = FromCp1252(*bytes);
        const QString anchor = QStringLiteral("ctx%1").arg(context);
        const QRegularExpression hasAnchor(
            QStringLiteral("name\\s*=\\s*[\"']?%1[\"'\\s>]").arg(anchor),
            QRegularExpression::CaseInsensitiveOption);
        browser_->setSearchPaths({helpDir_});
        if (hasAnchor.match(html).hasMatch()) {
            browser_->setHtml(html);
            scrollTo = anchor;
        } else {
            // Say so at the top and still offer the whole help below.
            const QString notice =
                Notice(QStringLiteral("Zum Hilfethema %1 gibt es keinen Eintrag.").arg(context));
            const QRegularExpression body(QStringLiteral("<body[^>]*>"),
                                          QRegularExpression::CaseInsensitiveOption);
            const auto m = body.match(html);
            if (m.hasMatch())
                html.insert(m.capturedEnd(), notice);
            else
                html.prepend(notice);
            browser_->setHtml(html);
        }
    }
    // Not modal: the user keeps working while the help is open.
    browser_->show();
    browser_->raise();
    browser_->activateWindow();
    if (!scrollTo.isEmpty())
        browser_->scrollToAnchor(scrollTo); // after show(), so the layout exists
}

void HelpViewer::followLink(const QUrl& link) {
    const QString scheme = link.scheme().toLower();
    if (scheme.isEmpty() && link.path().isEmpty()) {
        browser_->scrollToAnchor(link.fragment());
        return;
    }
    QUrl target = link;
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https")) {
        if (!scheme.isEmpty() && scheme != QLatin1String("file"))
            return; // mailto:, javascript:, smb:, ... are not followed
        const QString path =
            QDir(helpDir_).filePath(link.isLocalFile() ? link.toLocalFile() : link.path());
        // A file of the archive (a link out of it, a FIFO or a device is none).
        if (!QDir::cleanPath(path).startsWith(QDir::cleanPath(helpDir_) + QLatin1Char('/')) ||
            !IsReadableFile(LocalPath(path)))
            return;
        target = QUrl::fromLocalFile(QDir::cleanPath(path));
    }
    QDesktopServices::openUrl(target);
}

} // namespace lumo
