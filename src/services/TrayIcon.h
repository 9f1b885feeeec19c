#pragma once
// The icon in the desktop's notification area, with the tooltip "Lumoretta 3.0" and the
// launcher menu: a text editor, an image program, the file manager on the archive and the
// program's user guide.
#include "ui/FeatureContext.h"
#include "ui/Screen.h"

#include <QObject>

#include <memory>

class QMenu;
class QSystemTrayIcon;

namespace lumo {

class TrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TrayIcon(const FeatureContext& context, QObject* parent = nullptr);
    ~TrayIcon() override;

    // The icon shows only where the desktop has a notification area; the menu is built
    // either way.
    bool shown() const;
    void Remove(); // before the automatic backup at shutdown

    QMenu* menu() const { return menu_.get(); }
    // The user guide the "Internet" entry opens: the README installed with the program as
    // a web page (lumoretta.html), and its file:// address handed to the browser.
    static QString InstalledUserGuide();
    static QString UserGuideAddress();
    QSystemTrayIcon* icon() const { return icon_.get(); }

private:
    FeatureContext ctx_;
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QSystemTrayIcon> icon_; // after the menu it refers to, so it goes first
};

} // namespace lumo
