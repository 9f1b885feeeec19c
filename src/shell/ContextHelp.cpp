#include "shell/ContextHelp.h"

#include "shell/ScreenModes.h"

#include "platform/Help.h"
#include "shell/MainWindow.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

#include <utility>
#include <vector>

namespace lumo {

namespace {

constexpr int kTopLevelMenusContext = 1002;
const char* const kContextProperty = "lumoHelpContext";

// The topics of each menu's entries in their order, by the menu's caption (so that a
// menu put between others leaves their topics where they are).
const std::vector<int>* MenuContexts(const QString& menuCaption) {
    static const std::vector<std::pair<QString, std::vector<int>>> contexts{
        {QStringLiteral("&Datei"), {101, 102, 103, 104, 105}},
        {QStringLiteral("&Bearbeiten"), {201, 202, 203, 204, 205, 206, 207, 208}},
        {QStringLiteral("&Auswertung"), {301, 302, 303, 304, 305, 300, 306, 307}}, // FastModus 300
        {QStringLiteral("Dien&ste"), {401, 402, 403, 404, 405}},
        {QStringLiteral("E&xtras"), {601, 602, 603, 604}},
        {QStringLiteral("&Hilfe"), {1, 1002, 1001, 505}},
    };
    for (const auto& [caption, topics] : contexts)
        if (caption == menuCaption)
            return &topics;
    return nullptr;
}

int ContextOf(const QAction* action) {
    return action ? action->property(kContextProperty).toInt() : 0;
}

// F1 inside an open menu: the highlighted entry's topic, or the top-level menus' one.
class MenuHelpKey : public QObject {
public:
    MenuHelpKey(QMenu* menu, MainWindow& main) : QObject(menu), menu_(menu), main_(main) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != menu_ || event->type() != QEvent::KeyPress ||
            static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1)
            return false;
        const int context = ContextOf(menu_->activeAction());
        menu_->close();
        main_.context().ShowHelp(context ? context : kTopLevelMenusContext);
        return true;
    }

private:
    QMenu* menu_;
    MainWindow& main_;
};

} // namespace

int ModeHelpContext(int mode) {
    const ScreenModeRow* row = FindScreenMode(mode);
    return row ? row->helpTopic : 0;
}

void InstallMenuHelp(MainWindow& main) {
    for (QAction* top : main.menuBar()->actions()) {
        QMenu* menu = top->menu();
        if (!menu)
            continue;
        top->setProperty(kContextProperty, kTopLevelMenusContext);
        const std::vector<int>* contexts = MenuContexts(top->text());
        size_t i = 0;
        for (QAction* a : menu->actions()) {
            if (a->isSeparator())
                continue;
            if (contexts && i < contexts->size())
                a->setProperty(kContextProperty, (*contexts)[i]);
            ++i;
        }
        menu->installEventFilter(new MenuHelpKey(menu, main));
    }
}

int HighlightedMenuHelpContext(const QMenuBar& bar) {
    for (QAction* top : bar.actions()) {
        QMenu* menu = top->menu();
        if (menu && menu->isVisible())
            return menu->activeAction() ? ContextOf(menu->activeAction()) : ContextOf(top);
    }
    return ContextOf(bar.activeAction());
}

void InstallMainWindowHelp(MainWindow& main) {
    InstallHelpKey(&main, [&main] {
        int context = HighlightedMenuHelpContext(*main.menuBar());
        if (context == 0)
            context = ModeHelpContext(main.state().screenMode);
        main.context().ShowHelp(context != 0 ? context : 1);
    });
}

} // namespace lumo
