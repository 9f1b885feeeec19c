// lumo_textview: Lumoretta's own small text editor for the archive's code page 1252
// files (reports, DIA.INI, memos). One file, given on the command line.
#include "platform/TextFile.h"
#include "store/Archive.h"
#include "store/FileUtil.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QTextCursor>

#include <filesystem>

namespace {

// The archive's files are named without regard to case ("dialiste.txt" may lie on the
// disk as DIALISTE.TXT): find the existing spelling, or keep the name for a new file.
QString ExistingSpelling(const QString& path) {
    const QFileInfo fi(path);
    if (fi.exists())
        return fi.absoluteFilePath();
    const lumo::Archive dir{
        std::filesystem::path(QFile::encodeName(fi.absolutePath()).toStdString())};
    const auto found = dir.resolve(QFile::encodeName(fi.fileName()).toStdString());
    return QFileInfo(QFile::decodeName(QByteArray::fromStdString(found.string())))
        .absoluteFilePath();
}

class TextViewWindow : public QMainWindow {
public:
    explicit TextViewWindow(const QString& path) : path_(ExistingSpelling(path)) {
        setWindowTitle(QFileInfo(path_).fileName() + QStringLiteral(" - Lumoretta Texteditor"));
        edit_ = new QPlainTextEdit(this);
        edit_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
        setCentralWidget(edit_);

        QMenu* file = menuBar()->addMenu(QStringLiteral("&Datei"));
        QAction* save = file->addAction(QStringLiteral("&Speichern"));
        save->setShortcut(QKeySequence::Save);
        connect(save, &QAction::triggered, this, [this] { Save(); });
        file->addSeparator();
        QAction* quit = file->addAction(QStringLiteral("&Beenden"));
        connect(quit, &QAction::triggered, this, &QWidget::close);

        Load();
        resize(760, 560);
    }

protected:
    void closeEvent(QCloseEvent* event) override {
        if (edit_->document()->isModified()) {
            const auto answer = QMessageBox::question(
                this, QStringLiteral("Lumoretta Texteditor"),
                QString::fromUtf8("Der Text wurde geändert. Sollen die Änderungen gespeichert "
                                  "werden?"),
                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            if (answer == QMessageBox::Cancel || (answer == QMessageBox::Yes && !Save())) {
                event->ignore();
                return;
            }
        }
        event->accept();
    }

private:
    void Load() {
        QFile f(path_);
        if (!f.exists()) {
            statusBar()->showMessage(QStringLiteral("Neue Datei"));
            return;
        }
        if (!f.open(QIODevice::ReadOnly)) {
            QMessageBox::warning(
                this, QStringLiteral("Lumoretta Texteditor"),
                QString::fromUtf8("Die Datei %1 konnte nicht geöffnet werden.").arg(path_));
            return;
        }
        const QByteArray bytes = f.readAll();
        const lumo::DecodedText d =
            lumo::DecodeTextFile(std::string_view(bytes.constData(), size_t(bytes.size())));
        crlf_ = d.crlf;
        edit_->setPlainText(d.text);
        edit_->document()->setModified(false);
    }

    bool Save() {
        const QString text = edit_->toPlainText();
        qsizetype bad = -1;
        const auto bytes = lumo::EncodeTextFile(text, crlf_, &bad);
        if (!bytes) {
            QTextCursor c = edit_->textCursor();
            c.setPosition(int(bad));
            c.setPosition(int(bad) + 1, QTextCursor::KeepAnchor);
            edit_->setTextCursor(c);
            QMessageBox::warning(
                this, QStringLiteral("Lumoretta Texteditor"),
                QString::fromUtf8("Das markierte Zeichen „%1“ kann in dieser Datei nicht "
                                  "gespeichert werden.\nBitte ersetzen Sie es und speichern "
                                  "Sie erneut.")
                    .arg(text.mid(bad, 1)));
            return false;
        }
        const int err = lumo::WriteFileAtomically(
            std::filesystem::path(QFile::encodeName(path_).toStdString()), *bytes);
        if (err != 0) {
            QMessageBox::warning(
                this, QStringLiteral("Lumoretta Texteditor"),
                QString::fromUtf8("Die Datei %1 konnte nicht gespeichert werden (Fehler %2).")
                    .arg(path_)
                    .arg(err));
            return false;
        }
        edit_->document()->setModified(false);
        statusBar()->showMessage(QStringLiteral("Gespeichert"), 3000);
        return true;
    }

    QString path_;
    QPlainTextEdit* edit_ = nullptr;
    bool crlf_ = true;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStringList args = QApplication::arguments();
    // Lumoretta starts the editor maximised, as it starts every program.
    const bool maximised = args.size() > 1 && args.at(1) == QStringLiteral("--maximized");
    if (maximised)
        args.removeAt(1);
    if (args.size() < 2) {
        QMessageBox::information(nullptr, QStringLiteral("Lumoretta Texteditor"),
                                 QStringLiteral("Bitte geben Sie die Datei an, die angezeigt "
                                                "werden soll."));
        return 1;
    }
    TextViewWindow w(args.at(1));
    if (maximised) {
        // The screen's size as well, so it fills the screen where no window manager
        // maximises windows.
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            w.setGeometry(screen->availableGeometry());
        w.showMaximized();
    } else
        w.show();
    return app.exec();
}
