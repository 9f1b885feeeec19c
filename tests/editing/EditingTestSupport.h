#pragma once
// A whole program over a temporary archive for the editing windows: dialogs answered through
// the message seam, own modal windows driven once shown.
#include "ProgramFixture.h"

#include "editing/RecordCommands.h"
#include "editing/SlideEntryCommands.h"
#include "search/gui/SearchCommands.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <filesystem>

namespace lumo::test::editing {

using namespace Qt::Literals::StringLiterals;

struct ArchiveSetup {
    std::vector<std::string> records; // 82-byte records of dias.ddb
    int emptyRecords = 0;             // zero-byte records put before them (a sparse file)
    std::string keyword1, keyword2, keyword3, old1, old2, old3;
    int slidesPerMagazine = 50, magazinesPerBox = 2;
    bool precomputePosition = true;
};

class EditingTest : public ProgramTest {
protected:
    static inline const std::string kLevel1 = KeywordBytes({{"Berge", "B1"}, {"Wasser", "W1"}});
    static inline const std::string kLevel2 = KeywordBytes({{"Alpen", "B1A1"}, {"Meer", "W1M1"}});
    static inline const std::string kLevel3 = KeywordBytes({{"Zugspitze", "B1A1Z1"}});
    static inline const std::string kLists = kLevel1 + "|" + kLevel2 + "|" + kLevel3 + "|";
    static inline const DialogAnswer yes = DialogAnswer::yes(), no = DialogAnswer::no();
    static QString U(const char* utf8) { return QString::fromUtf8(utf8); }
    static DialogAnswer Type(const char* utf8) { return DialogAnswer::type(U(utf8)); }
    // Slide n: key B1, text "A01 Dia n", box 1 for slides 1..5 and box 2 after.
    static std::string Slide(int n) {
        return RecordBytes({"B1"}, "A01 Dia " + std::to_string(n), n <= 5 ? 1 : 2);
    }
    static std::string Slides(int first, int last) {
        return first > last ? "" : Slide(first) + Slides(first + 1, last);
    }
    static std::string FreeSlot(int box) {
        return RecordBytes(std::vector<std::string>(8, "00"), kFreeSlotMarker, box);
    }
    // "name|code" of the first n entries (the counted ones when n < 0), comma-separated.
    static std::string Keys(const KeySelection& s, int n = -1) {
        std::string out;
        for (int i = 0; i < (n < 0 ? s.count : n); ++i)
            out += (i ? "," : "") + s.entries[size_t(i)].name + "|" + s.entries[size_t(i)].code;
        return out;
    }
    // The check boxes as their captions, with "*" when checked and "~" when disabled.
    template <size_t N> static std::string Boxes(const std::array<QCheckBox*, N>& boxes) {
        std::string out;
        for (size_t i = 0; i < N; ++i)
            out += (i ? "," : "") + boxes[i]->text().toStdString() +
                   (boxes[i]->isChecked() ? "*" : "") + (boxes[i]->isEnabled() ? "" : "~");
        return out;
    }
    void Open(const ArchiveSetup& s) {
        program.reset();
        std::string ddb(size_t(82 * s.emptyRecords), '\0');
        for (const auto& r : s.records)
            ddb += r;
        archive.write("dias.ddb", ddb);
        const std::string* files[] = {&s.keyword1, &s.keyword2, &s.keyword3,
                                      &s.old1,     &s.old2,     &s.old3};
        for (int i = 0; i < 6; ++i)
            archive.write("keyword" + std::to_string(i % 3 + 1) + (i < 3 ? "" : ".old"), *files[i]);
        auto n = [](auto v) { return std::to_string(v); };
        archive.write(
            "DIA.INI",
            "[LUMORETTA]\r\nDIAS=" + n(s.records.size() + size_t(s.emptyRecords)) +
                "\r\nKASTEN=" + n(s.magazinesPerBox) + "\r\nMAGAZIN=" + n(s.slidesPerMagazine) +
                "\r\nSOUND=1\r\nVORBERECHNUNG=" + n(int(s.precomputePosition)) + "\r\nTIP=0\r\n");
        program = std::make_unique<Program>(archive.dir(), true);
        ASSERT_TRUE(program->Start());
        main().show();
        messages().clearShown();
        sound().clearRecord();
    }
    // Slides 1..n, the first ones replaced by `own` where it is not empty; all keyword lists.
    void OpenSlides(int n, std::vector<std::string> own = {}) {
        ArchiveSetup s{.keyword1 = kLevel1, .keyword2 = kLevel2, .keyword3 = kLevel3};
        for (int i = 1; i <= n; ++i)
            s.records.push_back(i <= int(own.size()) && !own[i - 1].empty() ? own[i - 1]
                                                                            : Slide(i));
        Open(s);
    }
    SlideEntryCommands& entry() { return program->entry(); }
    RecordCommands& records() { return program->records(); }
    SearchCommands& search() { return program->search(); }
    // Screen mode / status, " off" while the soft buttons are disabled.
    std::string Mode() {
        return std::to_string(state().screenMode) + "/" + std::to_string(state().currentStatus) +
               (main().softButton(1)->isEnabled() ? "" : " off");
    }
    // The three keyword lists (or their undo copies), each followed by "|".
    std::string Lists(std::string suffix = "") {
        std::string out;
        for (const char* f : {"keyword1", "keyword2", "keyword3"})
            out += archive.read(f + suffix) + "|";
        return out;
    }
    void Answer(std::vector<DialogAnswer> answers) {
        for (auto& a : answers)
            messages().queue(a);
    }
    // Puts keys into the selection as the key-label clicks would.
    void Select(const std::vector<std::pair<std::string, std::string>>& keys) {
        state().keys.clearAll();
        for (const auto& [code, name] : keys)
            state().keys.entries[size_t(state().keys.count++)] = {code, name};
    }
};

} // namespace lumo::test::editing
