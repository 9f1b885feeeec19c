// lumo_textview: Lumoretta's own small text editor for the archive's code page 1252
// files (reports, DIA.INI, memos). One file, given on the command line; it prints and
// exports PDF. "lumo_textview --pdf out.pdf file" writes the PDF without a window.
#include "app/CommandLine.h"
#include "platform/QtGerman.h"
#include "platform/TextFile.h"
#include "store/Archive.h"
#include "store/FileUtil.h"
#include "tools/TextPrint.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QStatusBar>
#include <QTextCursor>
#include <QTranslator>

#include <cstdio>
#include <filesystem>
#include <optional>

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

// The file's text and line ends; nullopt (and *error) when it exists but cannot be read.
// A missing file is an empty new one.
std::optional<lumo::DecodedText> ReadText(const QString& path, QString* error) {
    QFile f(path);
    if (!f.exists())
        return lumo::DecodedText{};
    if (!f.open(QIODevice::ReadOnly)) {
        *error = QString::fromUtf8("Die Datei %1 konnte nicht geöffnet werden.").arg(path);
        return std::nullopt;
    }
    const QByteArray bytes = f.readAll();
    return lumo::DecodeTextFile(std::string_view(bytes.constData(), size_t(bytes.size())));
}

class TextViewWindow : public QMainWindow {
public:
    explicit TextViewWindow(const QString& path) : path_(ExistingSpelling(path)) {
        setWindowTitle(QFileInfo(path_).fileName() + QStringLiteral(" - Lumoretta Texteditor"));
        edit_ = new QPlainTextEdit(this);
        edit_->setFont(lumo::TextViewFont());
        edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
        setCentralWidget(edit_);

        QMenu* file = menuBar()->addMenu(QStringLiteral("&Datei"));
        QAction* save = file->addAction(QStringLiteral("&Speichern"));
        save->setShortcut(QKeySequence::Save);
        connect(save, &QAction::triggered, this, [this] { Save(); });
        file->addSeparator();
        QAction* print = file->addAction(QStringLiteral("&Drucken..."));
        print->setShortcut(QKeySequence::Print);
        connect(print, &QAction::triggered, this, [this] { Print(); });
        QAction* pdf = file->addAction(QStringLiteral("Als &PDF exportieren..."));
        connect(pdf, &QAction::triggered, this, [this] { ExportPdf(); });
        file->addSeparator();
        QAction* quit = file->addAction(QStringLiteral("&Beenden"));
        connect(quit, &QAction::triggered, this, &QWidget::close);

        Load();
        printer_.setDocName(QFileInfo(path_).completeBaseName());
        resize(760, 560);
    }

    void Print() {
        QPrintDialog dialog(&printer_, this);
        dialog.setWindowTitle(QStringLiteral("Drucken"));
        if (dialog.exec() != QDialog::Accepted)
            return;
        if (!lumo::PrintText(printer_, edit_->toPlainText(), QFileInfo(path_).fileName(),
                             printer_.fromPage(), printer_.toPage()))
            QMessageBox::warning(this, QStringLiteral("Lumoretta Texteditor"),
                                 QStringLiteral("Der Druck konnte nicht gestartet werden."));
    }

    void ExportPdf() {
        const QFileInfo fi(path_);
        const QString target = QFileDialog::getSaveFileName(
            this, QStringLiteral("Als PDF exportieren"),
            fi.absolutePath() + QLatin1Char('/') + fi.completeBaseName() + QStringLiteral(".pdf"),
            QStringLiteral("PDF-Dateien (*.pdf)"));
        if (target.isEmpty())
            return;
        QString error;
        if (lumo::ExportPdf(target, edit_->toPlainText(), fi.fileName(), &error))
            statusBar()->showMessage(QStringLiteral("PDF gespeichert: ") + target, 5000);
        else
            QMessageBox::warning(
                this, QStringLiteral("Lumoretta Texteditor"),
                QString::fromUtf8("Die PDF-Datei %1 konnte nicht geschrieben werden.\n%2")
                    .arg(target, error));
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
        if (!QFile::exists(path_)) {
            statusBar()->showMessage(QStringLiteral("Neue Datei"));
            return;
        }
        QString error;
        const auto d = ReadText(path_, &error);
        if (!d) {
            QMessageBox::warning(this, QStringLiteral("Lumoretta Texteditor"), error);
            return;
        }
        crlf_ = d->crlf;
        edit_->setPlainText(d->text);
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
    QPrinter printer_; // kept, so the print dialog remembers the last choices
    bool crlf_ = true;
};

// lumo_textview --pdf out.pdf file: the PDF of file, without a window.
int WritePdf(const QString& pdfPath, const QString& path) {
    const QString real = ExistingSpelling(path);
    QString error;
    const auto d =
        QFile::exists(real) ? ReadText(real, &error) : std::optional<lumo::DecodedText>{};
    if (!d) {
        if (error.isEmpty())
            error = QString::fromUtf8("Die Datei %1 gibt es nicht.").arg(path);
    } else if (lumo::ExportPdf(pdfPath, d->text, QFileInfo(real).fileName(), &error)) {
        return 0;
    }
    std::fprintf(stderr, "lumo_textview: %s\n", error.toLocal8Bit().constData());
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    // The options are read before Qt starts: help, version and a wrong call need no display.
    const lumo::cli::Call call = lumo::cli::ReadCall(lumo::cli::Tool::TextView, argc, argv);
    if (call.exitStatus)
        return *call.exitStatus;
    const lumo::cli::Command& command = call.command;
    // A PDF is written without a window, so it needs no display either.
    if (command.action == lumo::cli::Action::WritePdf)
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);
    // Qt's own dialogs (printing, file choice) in German like the rest of the program.
    QTranslator qtGerman;
    lumo::InstallQtGerman(qtGerman);
    const auto arg = [&command](size_t i) {
        return QFile::decodeName(QByteArray::fromStdString(command.args.at(i)));
    };
    if (command.action == lumo::cli::Action::WritePdf)
        return WritePdf(arg(0), arg(1));
    if (command.args.empty()) {
        QMessageBox::information(nullptr, QStringLiteral("Lumoretta Texteditor"),
                                 QStringLiteral("Bitte geben Sie die Datei an, die angezeigt "
                                                "werden soll."));
        return 1;
    }
    // Lumoretta starts the editor maximised, as it starts every program; the viewer opens
    // maximised in any case.
    TextViewWindow w(arg(0));
    // The screen's size as well, so it fills the screen where no window manager maximises.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        w.setGeometry(screen->availableGeometry());
    w.showMaximized();
    return app.exec();
}
