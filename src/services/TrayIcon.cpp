#include "services/TrayIcon.h"

#include "ui/QuestionDialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QUrl>

namespace lumo {

TrayIcon::TrayIcon(const FeatureContext& context, QObject* parent)
    : QObject(parent), ctx_(context), menu_(std::make_unique<QMenu>()) {
    struct Entry {
        const char* caption;
        const char* command;
    };
    // The old Windows tools; the launcher maps them to this desktop's programs.
    static const Entry entries[] = {
        {"Notepad", "notepad.exe"}, {"Paint", "pbrush.exe"}, {"Explorer", "explorer.exe"}};
    for (const Entry& e : entries) {
        const QString command = QString::fromLatin1(e.command);
        menu_->addAction(QString::fromLatin1(e.caption), this,
                         [this, command] { ctx_.RunProgram(command); });
    }
    // The user guide installed with the program, as a web page in the browser.
    menu_->addAction(QStringLiteral("Internet"), this,
                     [this] { ctx_.OpenDocument(UserGuideAddress()); });
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    icon_ = std::make_unique<QSystemTrayIcon>(QIcon(DialogPicture(QColor(0, 160, 0))));
    icon_->setToolTip(QStringLiteral("Lumoretta 3.0"));
    icon_->setContextMenu(menu_.get());
    icon_->show();
}

TrayIcon::~TrayIcon() = default;

QString TrayIcon::InstalledUserGuide() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                           QStringLiteral(LUMO_GUIDE_FROM_BIN));
}

QString TrayIcon::UserGuideAddress() {
    return QUrl::fromLocalFile(InstalledUserGuide()).toString();
}

bool TrayIcon::shown() const {
    return icon_ && icon_->isVisible();
}

void TrayIcon::Remove() {
    if (icon_)
        icon_->hide();
}

} // namespace lumo
