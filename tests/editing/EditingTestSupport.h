#pragma once
// Shared set-up of the slide entry GUI tests: a whole program over a temporary archive,
// dialogs answered through the message seam, own modal windows driven once shown.
#include "TestArchive.h"

#include "platform/Sound.h"
#include "shell/MainWindow.h"
#include "shell/Program.h"
#include "ui/MessageCatalog.h"

#include <QDialog>
#include <QEvent>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lumo::test {

// Runs `act` from the event loop of `dialog`'s modal run, once it has been shown.
class WhenShown : public QObject {
public:
    WhenShown(QDialog* dialog, std::function<void()> act) : QObject(dialog), act_(std::move(act)) {
        dialog->installEventFilter(this);
    }
    bool ran() const { return ran_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && !ran_) {
            ran_ = true;
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] { act_(); });
        }
        return false;
    }

private:
    std::function<void()> act_;
    bool ran_ = false;
};

struct ArchiveSetup {
    std::vector<std::string> records; // 82-byte records of dias.ddb
    std::string keyword1, keyword2, keyword3;
    std::string old1, old2, old3;
    int slideCount = -2; // DIAS of DIA.INI; -2: the number of records
    int slidesPerMagazine = 50;
    int magazinesPerBox = 2;
    bool precomputePosition = true;
};

class EditingTest : public ::testing::Test {
protected:
    TempArchive arc;
    std::unique_ptr<Program> prog;

    void Open(const ArchiveSetup& s) {
        std::string ddb;
        for (const auto& r : s.records)
            ddb += r;
        arc.write("dias.ddb", ddb);
        arc.write("keyword1", s.keyword1);
        arc.write("keyword2", s.keyword2);
        arc.write("keyword3", s.keyword3);
        arc.write("keyword1.old", s.old1);
        arc.write("keyword2.old", s.old2);
        arc.write("keyword3.old", s.old3);
        const int slideCount =
            s.slideCount == -2 ? static_cast<int>(s.records.size()) : s.slideCount;
        arc.write("DIA.INI", "[LUMORETTA]\r\nDIAS=" + std::to_string(slideCount) +
                                 "\r\nKASTEN=" + std::to_string(s.magazinesPerBox) +
                                 "\r\nMAGAZIN=" + std::to_string(s.slidesPerMagazine) +
                                 "\r\nSOUND=1\r\nVORBERECHNUNG=" +
                                 (s.precomputePosition ? "1" : "0") + "\r\nTIP=0\r\n");
        prog = std::make_unique<Program>(arc.dir(), true);
        ASSERT_TRUE(prog->Start());
        msg().clearShown();
        sound().clearRecord();
    }

    AppState& st() { return prog->state(); }
    MainWindow& main() { return prog->main(); }
    MessageCatalog& msg() { return prog->messages(); }
    SoundCue& sound() { return prog->sound(); }

    // Numbers of the error notices shown so far.
    std::vector<int> Errors() {
        std::vector<int> n;
        for (const auto& d : msg().shown())
            if (d.kind == ShownDialog::Error)
                n.push_back(d.number);
        return n;
    }
    std::vector<QString> Texts(ShownDialog::Kind kind) {
        std::vector<QString> t;
        for (const auto& d : msg().shown())
            if (d.kind == kind)
                t.push_back(d.text);
        return t;
    }

    // Puts keys into the selection as the key-label clicks would.
    void Select(const std::vector<std::pair<std::string, std::string>>& keys) {
        st().keys.clearAll();
        for (const auto& [code, name] : keys) {
            st().keys.entries[static_cast<size_t>(st().keys.count)] = {code, name};
            ++st().keys.count;
        }
    }
};

} // namespace lumo::test
