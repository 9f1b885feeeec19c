#include "platform/Help.h"

#include "platform/Cp1252.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QShortcut>
#include <QTextBrowser>

namespace lumo {

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
        browser_ = new QTextBrowser(owner_);
        browser_->setWindowFlags(Qt::Window);
        browser_->setWindowTitle(QStringLiteral("Lumoretta Hilfe"));
        browser_->setOpenExternalLinks(true);
        browser_->resize(620, 520);
    }

    QString scrollTo;
    QFile file(helpFile);
    if (helpFile.isEmpty() || !QFileInfo(helpFile).isFile() || !file.open(QIODevice::ReadOnly)) {
        browser_->setHtml(Notice(QStringLiteral("Die Hilfedatei DIA.HLP wurde nicht gefunden.")));
    } else {
        const QByteArray bytes = file.readAll();
        // The help is written in code page 1252 like every archive text (or pure ASCII
        // with character references).
        QString html = FromCp1252(std::string_view(bytes.constData(), size_t(bytes.size())));
        const QString anchor = QStringLiteral("ctx%1").arg(context);
        const QRegularExpression hasAnchor(
            QStringLiteral("name\\s*=\\s*[\"']?%1[\"'\\s>]").arg(anchor),
            QRegularExpression::CaseInsensitiveOption);
        browser_->setSearchPaths({QFileInfo(helpFile).absolutePath()});
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

} // namespace lumo
