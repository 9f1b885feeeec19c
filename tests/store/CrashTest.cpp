// A program killed at random moments while it writes: every file stays whole (old or new),
// and the next start leaves no temporary file and counts the records.
#include "ChildProcess.h"
#include "TestArchive.h"

#include "editing/logic/KeywordInsertion.h"
#include "store/ArchiveLock.h"
#include "store/DemoArchive.h"
#include "store/FileUtil.h"
#include "store/HeaderData.h"
#include "store/Keywords.h"
#include "store/Profile.h"
#include "store/Settings.h"
#include "store/SlideDatabase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <sys/mman.h>
#include <thread>

namespace lumo::test {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int kKills = 60; // every forked child copies the shadow memory it touches
#else
constexpr int kKills = 300;
#endif
constexpr int kDemoSlides = 40;

CurrentSlideData AppendedSlide(int32_t n) {
    CurrentSlideData s{{}, "Z99 Absturztest " + std::to_string(n), n % 255 + 1};
    s.storedKeys.fill("00    ");
    s.storedKeys[0] = "XX    ";
    return s;
}
std::string AppendedRecord(int32_t n) {
    const CurrentSlideData s = AppendedSlide(n);
    return RecordBytes({s.storedKeys.begin(), s.storedKeys.end()}, s.infoText, s.boxNumber);
}
std::string MemoText(int n, uint32_t version) {
    std::string text = "Memo " + std::to_string(n) + " Fassung " + std::to_string(version) + "\r\n";
    for (int line = 0; line < 150; ++line)
        text += std::string(60, static_cast<char>('a' + (version + line) % 26)) + "\r\n";
    return text + "ENDE\r\n";
}

// The keyword insertion with the file steps of the window (the same store calls): undo
// copies, the level's own first, then one rename.
void InsertKeyword(const Archive& archive, uint32_t step) {
    const auto path = archive.resolve(KeywordFileName(1));
    const auto data = ReadWholeFile(path);
    const auto plan = PlanKeywordInsertion(
        data ? std::optional<std::string_view>(*data) : std::nullopt, 1,
        std::string(1, static_cast<char>('A' + step % 26)) + "bsturz" + std::to_string(step), "");
    for (int level : {1, 2, 3})
        RefreshUndoCopy(archive, level);
    if (plan.outcome == KeywordInsertion::Outcome::Inserted)
        WriteFileAtomically(path, plan.newFile);
}

// The child: takes the lock like a starting program and works until it is killed.
[[noreturn]] void Workload(const Archive& archive, uint32_t first, int report,
                           std::atomic<uint32_t>* steps) {
    ArchiveLock lock;
    lock.acquire(archive.dir());
    Report(report, 1);
    Settings settings;
    Counters counters;
    LoadSettings(archive, settings, counters);
    for (uint32_t step = first;; steps->fetch_add(1, std::memory_order_relaxed), ++step) {
        const std::string version = std::to_string(step);
        switch (step % 7) {
        case 0:
            InsertKeyword(archive, step);
            break;
        case 1:
            settings.tipNumber = static_cast<int32_t>(step);
            SaveSettings(archive, settings, counters);
            break;
        case 2:
            CountRecords(archive, counters);
            counters.totalRecords++;
            WriteSlide(archive, counters.totalRecords, AppendedSlide(counters.totalRecords));
            AnalyseArchive(archive, kFreeSlotMarker, counters);
            SaveSettings(archive, settings, counters);
            break;
        case 3:
            WriteFileAtomically(archive.resolve("memo/" + std::to_string(1 + step % 30) + ".txt"),
                                MemoText(1 + static_cast<int>(step % 30), step));
            break;
        case 4: {
            HeaderValues v;
            v.fill("Fassung " + version);
            WriteHeaderRecord(archive, 1 + static_cast<int32_t>(step % 50), v);
            break;
        }
        case 5:
            WriteBoxLabel(archive, 1 + static_cast<int>(step % 20), "Magazin " + version,
                          "Thema " + version);
            break;
        case 6:
            WriteSlide(archive, 1 + static_cast<int32_t>(step % kDemoSlides),
                       AppendedSlide(1 + static_cast<int32_t>(step % kDemoSlides)));
            break;
        }
    }
}

// "" when the file holds whole records only, each the demo's or ours (header records may be
// zeros below one written further on), else the torn one.
std::string TornRecords(const std::string& file, const std::string& original, size_t size,
                        const std::function<std::string(size_t)>& ours, bool slides) {
    if (file.size() % size != 0)
        return "size " + std::to_string(file.size());
    for (size_t at = 0; at < file.size(); at += size) {
        const std::string rec = file.substr(at, size);
        if (rec != original.substr(std::min(at, original.size()), size) && rec != ours(at / size) &&
            (slides || rec != std::string(size, '\0')))
            return "record " + std::to_string(at / size + 1);
    }
    return "";
}

// The keyword entries of a file as "text code" lines, or nullopt when it is not exactly
// what the writer makes of them.
std::optional<std::set<std::string>> WholeKeywordFile(const std::string& file) {
    std::string rebuilt;
    std::set<std::string> entries;
    for (const auto& e : ParseKeywordFile(file)) {
        rebuilt += e.text + "\n" + e.code + "\n";
        entries.insert(e.text + " " + e.code);
    }
    if (entries.empty() || rebuilt + "*" != file)
        return std::nullopt;
    return entries;
}

std::string TornTextFile(const TempArchive& archive,
                         std::map<std::string, std::string> originalMemos,
                         const std::array<std::set<std::string>, 3>& originalKeywords) {
    // Keyword files only grow: each holds the demo's entries and its undo copy is an
    // earlier (or the same) state of it.
    for (int level = 1; level <= 3; ++level) {
        const auto list = WholeKeywordFile(archive.read(KeywordFileName(level)));
        const auto undo = WholeKeywordFile(archive.read(KeywordOldFileName(level)));
        const auto& original = originalKeywords[static_cast<size_t>(level - 1)];
        if (!list || !undo ||
            !std::includes(list->begin(), list->end(), original.begin(), original.end()) ||
            !std::includes(list->begin(), list->end(), undo->begin(), undo->end()))
            return KeywordFileName(level);
    }
    // DIA.INI: a whole file as the settings writer makes it, with a tip number it wrote.
    const std::string ini = archive.read("DIA.INI");
    const IniDocument doc = IniDocument::Parse(ini);
    if (ini.size() < 2 || ini.substr(ini.size() - 2) != "\r\n" ||
        !doc.get("KOPFDATA", "FELDNAMEN") || doc.Serialize() != ini)
        return "DIA.INI";
    for (const char* key : {"DIAS", "KASTEN", "MAGAZIN", "TIP", "EDITOR"})
        if (!doc.get("LUMORETTA", key))
            return std::string("DIA.INI ") + key;
    const IniDocument boxes = IniDocument::Parse(archive.read("KASTEN.INI"));
    for (int box = 1; box <= 20; ++box) { // both texts of a box are written in one go
        const auto t1 = boxes.get(BoxSection(box), "T1").value_or("");
        if (t1.rfind("Magazin ", 0) == 0 &&
            boxes.get(BoxSection(box), "T2") != "Thema " + t1.substr(8))
            return "KASTEN.INI " + BoxSection(box);
    }
    for (const auto& name : Archive(archive.dir()).list("memo")) {
        const std::string memo = archive.read("memo/" + name);
        const auto version = memo.find(" Fassung ");
        if (name[0] != '.' && memo != originalMemos[name] &&
            (version == std::string::npos ||
             memo != MemoText(std::stoi(name), std::stoul(memo.substr(version + 9)))))
            return "memo/" + name;
    }
    return "";
}

// Records that are no free slot, counted plainly (whole records only).
int32_t ActiveRecords(const std::string& dias) {
    int32_t active = 0;
    for (size_t at = 0; at + kRecordSize <= dias.size(); at += kRecordSize) {
        std::string text = dias.substr(at, kRecordSize).c_str();
        for (char& c : text)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        active += dias.compare(at, 6, "00    ") != 0 &&
                  text.find("DIA WURDE ENTNOMMEN / PLATZ FREI") == std::string::npos;
    }
    return active;
}

int TemporaryFiles(const TempArchive& archive) {
    int count = 0;
    for (const auto& dir : {archive.dir(), archive.path("memo")})
        for (const auto& e : std::filesystem::directory_iterator(dir))
            count += e.path().filename().string().find(".tmp") != std::string::npos;
    return count;
}

TEST(CrashTest, EveryFileIsWholeAfterAKillAndTheNextStartCountsTheRecords) {
    // The archive lives in memory where it can: the kills are about the program's steps.
    const char* oldTmp = std::getenv("TMPDIR");
    const std::string savedTmp = oldTmp ? oldTmp : "";
    if (std::filesystem::is_directory("/dev/shm"))
        ::setenv("TMPDIR", "/dev/shm", 1);
    auto archive = std::make_unique<TempArchive>();
    oldTmp ? ::setenv("TMPDIR", savedTmp.c_str(), 1) : ::unsetenv("TMPDIR");
    DemoOptions options;
    options.slides = kDemoSlides;
    options.memos = 5;
    ASSERT_TRUE(MakeDemoArchive(archive->dir(), options).ok);
    const std::string originalDias = archive->read("dias.ddb");
    const std::string originalKopf = archive->read("kopfdata.ddb");
    std::map<std::string, std::string> originalMemos;
    for (const auto& name : Archive(archive->dir()).list("memo"))
        originalMemos[name] = archive->read("memo/" + name);
    std::array<std::set<std::string>, 3> originalKeywords;
    for (int level = 1; level <= 3; ++level) {
        archive->write(KeywordOldFileName(level), archive->read(KeywordFileName(level)));
        originalKeywords[static_cast<size_t>(level - 1)] =
            WholeKeywordFile(archive->read(KeywordFileName(level))).value();
    }
    void* shared = ::mmap(nullptr, sizeof(std::atomic<uint32_t>), PROT_READ | PROT_WRITE,
                          MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(shared, MAP_FAILED);
    auto* steps = new (shared) std::atomic<uint32_t>(0); // counted by every child
    std::mt19937 random(20240611);
    const Archive arch(archive->dir());
    const auto oursHeader = [&](size_t i) {
        const std::string kopf = archive->read("kopfdata.ddb").substr(i * kHeaderRecordSize, 15);
        return HeaderRecordBytes(std::vector<std::string>(8, kopf.c_str()));
    };
    for (int kill = 0; kill < kKills; ++kill) {
        {
            const uint32_t first = static_cast<uint32_t>(random());
            ChildProcess child(
                [&](int report, int) -> int { Workload(arch, first, report, steps); });
            ASSERT_EQ(child.readByte(), 1);
            // The kill comes a few steps in, at a random point of the step then running.
            const uint32_t target = steps->load() + random() % 4;
            for (int waited = 0; steps->load() < target; ++waited) {
                ASSERT_LT(waited, 100000) << "the workload makes no progress";
                std::this_thread::sleep_for(std::chrono::microseconds(100));
            }
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 2001));
            child.kill(SIGKILL);
            ASSERT_TRUE(WIFSIGNALED(child.wait())) << "the workload ended on its own";
        }
        ASSERT_EQ(TornRecords(
                      archive->read("dias.ddb"), originalDias, kRecordSize,
                      [](size_t i) { return AppendedRecord(static_cast<int32_t>(i + 1)); }, true),
                  "");
        ASSERT_EQ(TornRecords(archive->read("kopfdata.ddb"), originalKopf, kHeaderRecordSize,
                              oursHeader, false),
                  "");
        ASSERT_EQ(TornTextFile(*archive, originalMemos, originalKeywords), "");
        // The next start: leftovers gone, the records counted.
        ArchiveLock lock;
        ASSERT_EQ(lock.acquire(archive->dir()), ArchiveLock::Result::Acquired);
        RecoverAfterInterruptedRun(arch, lock);
        EXPECT_EQ(TemporaryFiles(*archive), 0);
        Settings settings;
        Counters counters;
        ASSERT_FALSE(CountRecords(arch, counters));
        LoadSettings(arch, settings, counters);
        ASSERT_EQ(counters.activeSlides, -1);
        ASSERT_FALSE(AnalyseArchive(arch, kFreeSlotMarker, counters));
        ASSERT_EQ(counters.activeSlides, ActiveRecords(archive->read("dias.ddb")));
    }
    ::munmap(shared, sizeof(std::atomic<uint32_t>));
}

} // namespace
} // namespace lumo::test
