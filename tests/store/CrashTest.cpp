// A program killed (SIGKILL) at random moments while it inserts keywords, saves settings,
// appends and re-records slides, saves memos, header data and box labels. After every kill
// each file parses and holds either its old or its new contents, and the next start (lock,
// recovery, settings, analysis) leaves no temporary file and counts what the records hold.
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

#include <atomic>
#include <chrono>
#include <map>
#include <optional>
#include <random>
#include <sys/mman.h>
#include <thread>

namespace lumo::test {
namespace {

// Under AddressSanitizer every forked child first pays for copying the shadow memory it
// touches: fewer kills there (the plain build makes all of them).
#if defined(__SANITIZE_ADDRESS__)
constexpr int kKills = 60;
#else
constexpr int kKills = 300;
#endif
constexpr int kDemoSlides = 40;

std::string Digits(uint32_t n) {
    return std::to_string(n);
}

// What the workload writes, so that the checks can tell a whole write from a torn one.
CurrentSlideData AppendedSlide(int32_t n) {
    CurrentSlideData s;
    s.storedKeys = {"00    ", "00    ", "00    ", "00    ", "00    ", "00    ", "00    ", "00    "};
    s.storedKeys[0] = "XX" + std::string(4, ' ');
    s.infoText = "Z99 Absturztest " + Digits(static_cast<uint32_t>(n));
    s.boxNumber = n % 255 + 1;
    return s;
}
std::string MemoText(int n, uint32_t version) {
    std::string text = "Memo " + std::to_string(n) + " Fassung " + Digits(version) + "\r\n";
    for (int line = 0; line < 150; ++line)
        text += std::string(60, static_cast<char>('a' + (version + line) % 26)) + "\r\n";
    return text + "ENDE\r\n";
}
HeaderValues HeaderFor(uint32_t version) {
    HeaderValues v;
    for (auto& f : v)
        f = "Fassung " + Digits(version);
    return v;
}

// The keyword insertion with the file steps of the window: undo copies first, then the
// level file replaced in one rename.
void InsertKeyword(const Archive& archive, int level, uint32_t step) {
    std::string reference;
    if (level > 1) {
        const auto parents = ParseKeywordFile(
            ReadWholeFile(archive.resolve(KeywordFileName(level - 1))).value_or(""));
        if (parents.empty())
            return;
        reference = parents.front().code.substr(0, static_cast<size_t>(level - 1) * 2);
    }
    const auto path = archive.resolve(KeywordFileName(level));
    const auto data = ReadWholeFile(path);
    const std::string name =
        std::string(1, static_cast<char>('A' + step % 26)) + "bsturz" + Digits(step);
    const auto plan = PlanKeywordInsertion(
        data ? std::optional<std::string_view>(*data) : std::nullopt, level, name, reference);
    if (plan.outcome != KeywordInsertion::Outcome::Inserted)
        return;
    std::error_code ec;
    std::filesystem::remove(archive.resolve(KeywordOldFileName(level)), ec);
    RefreshUndoCopies(archive);
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
    for (uint32_t step = first;; ++step) {
        switch (step % 7) {
        case 0:
            InsertKeyword(archive, 1 + static_cast<int>(step / 7 % 3), step);
            break;
        case 1:
            settings.tipNumber = static_cast<int32_t>(step);
            SaveSettings(archive, settings, counters);
            break;
        case 2: {
            CountRecords(archive, counters);
            const int32_t n = counters.totalRecords + 1;
            WriteSlide(archive, n, AppendedSlide(n));
            counters.totalRecords = n;
            AnalyseArchive(archive, kFreeSlotMarker, counters);
            SaveSettings(archive, settings, counters);
            RefreshUndoCopies(archive);
            break;
        }
        case 3: {
            const int n = 1 + static_cast<int>(step % 30);
            WriteFileAtomically(archive.resolve("memo/" + std::to_string(n) + ".txt"),
                                MemoText(n, step));
            break;
        }
        case 4:
            WriteHeaderRecord(archive, 1 + static_cast<int32_t>(step % 50), HeaderFor(step));
            break;
        case 5:
            WriteBoxLabel(archive, 1 + static_cast<int>(step % 20), "Magazin " + Digits(step),
                          "Thema " + Digits(step));
            break;
        case 6: {
            const int32_t n = 1 + static_cast<int32_t>(step % kDemoSlides);
            WriteSlide(archive, n, AppendedSlide(n));
            break;
        }
        }
        steps->fetch_add(1, std::memory_order_relaxed);
    }
}

// --- the checks after a kill ---

// A keyword file is whole: entries and a final "*", nothing after it.
bool WellFormedKeywords(const std::string& file) {
    if (file.empty())
        return true;
    std::string rebuilt;
    for (const auto& e : ParseKeywordFile(file))
        rebuilt += e.text + "\n" + e.code + "\n";
    return rebuilt + "*" == file;
}

bool WellFormedMemo(const std::string& file, int n) {
    const std::string head = "Memo " + std::to_string(n) + " Fassung ";
    if (file.compare(0, head.size(), head) != 0)
        return false;
    const uint32_t version = static_cast<uint32_t>(std::stoul(file.substr(head.size())));
    return file == MemoText(n, version);
}

// Records that are no free slot, counted plainly (whole records only).
int32_t ActiveRecords(const std::string& dias) {
    int32_t active = 0;
    for (size_t at = 0; at + kRecordSize <= dias.size(); at += kRecordSize) {
        std::string text = dias.substr(at, kRecordSize);
        text = text.substr(0, text.find('\0'));
        for (char& c : text)
            c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
        const bool free = dias.compare(at, 6, "00    ") == 0 ||
                          text.find("DIA WURDE ENTNOMMEN / PLATZ FREI") != std::string::npos;
        active += !free;
    }
    return active;
}

class CrashTest : public ::testing::Test {
protected:
    // The archive lives in memory (/dev/shm) where there is such a place: the kills are
    // about the program's steps, not about the disk's speed. TMPDIR points there while
    // the archive is made.
    struct TempDirInMemory {
        std::optional<std::string> saved;
        TempDirInMemory() {
            if (const char* old = std::getenv("TMPDIR"))
                saved = old;
            if (std::filesystem::is_directory("/dev/shm"))
                ::setenv("TMPDIR", "/dev/shm", 1);
        }
        void restore() const {
            if (saved)
                ::setenv("TMPDIR", saved->c_str(), 1);
            else
                ::unsetenv("TMPDIR");
        }
    } tempDir;
    TempArchive archive;
    CrashTest() { tempDir.restore(); }
    std::string originalDias;
    std::string originalKopf;
    std::map<std::string, std::string> originalMemos;

    void SetUp() override {
        DemoOptions options;
        options.slides = kDemoSlides;
        options.memos = 5;
        ASSERT_TRUE(MakeDemoArchive(archive.dir(), options).ok);
        originalDias = archive.read("dias.ddb");
        originalKopf = archive.read("kopfdata.ddb");
        for (const auto& name : Archive(archive.dir()).list("memo"))
            originalMemos[name] = archive.read("memo/" + name);
    }

    // Every record is the demo's or one the workload wrote, whole; a torn append can
    // only be the start of the next record.
    void checkSlides() {
        const std::string dias = archive.read("dias.ddb");
        const size_t whole = dias.size() / kRecordSize;
        for (size_t i = 0; i < whole; ++i) {
            const std::string rec = dias.substr(i * kRecordSize, kRecordSize);
            const auto& ours = AppendedSlide(static_cast<int32_t>(i + 1));
            const auto built = SlideRecord::Build(ours.storedKeys, ours.infoText, ours.boxNumber);
            const std::string expected(built.bytes.begin(), built.bytes.end());
            ASSERT_TRUE(rec == expected ||
                        (i * kRecordSize < originalDias.size() &&
                         rec == originalDias.substr(i * kRecordSize, kRecordSize)))
                << "record " << i + 1;
        }
        const std::string tail = dias.substr(whole * kRecordSize);
        const auto next = AppendedSlide(static_cast<int32_t>(whole + 1));
        const auto built = SlideRecord::Build(next.storedKeys, next.infoText, next.boxNumber);
        ASSERT_EQ(tail, std::string(built.bytes.begin(), built.bytes.begin() + tail.size()));
    }
    void checkHeaderData() {
        const std::string kopf = archive.read("kopfdata.ddb");
        ASSERT_EQ(kopf.size() % kHeaderRecordSize, 0u);
        for (size_t i = 0; i < kopf.size() / kHeaderRecordSize; ++i) {
            const std::string rec = kopf.substr(i * kHeaderRecordSize, kHeaderRecordSize);
            if (i * kHeaderRecordSize < originalKopf.size() &&
                rec == originalKopf.substr(i * kHeaderRecordSize, kHeaderRecordSize))
                continue;
            if (rec == std::string(kHeaderRecordSize, '\0'))
                continue; // a gap below a record written further on
            const std::string first =
                HeaderFieldValue(reinterpret_cast<const unsigned char*>(rec.data()));
            HeaderValues same;
            same.fill(first);
            const auto built = BuildHeaderRecord(same);
            ASSERT_EQ(rec, std::string(built.begin(), built.end())) << "header record " << i + 1;
        }
    }
    void checkTextFiles() {
        for (int level = 1; level <= 3; ++level) {
            ASSERT_TRUE(WellFormedKeywords(archive.read(KeywordFileName(level)))) << level;
            ASSERT_TRUE(WellFormedKeywords(archive.read(KeywordOldFileName(level)))) << level;
        }
        const std::string ini = archive.read("DIA.INI");
        ASSERT_TRUE(ini.size() >= 2 && ini.compare(ini.size() - 2, 2, "\r\n") == 0);
        const IniDocument doc = IniDocument::Parse(ini);
        for (const char* key : {"DIAS", "KASTEN", "MAGAZIN", "TIP", "EDITOR"})
            ASSERT_TRUE(doc.get("LUMORETTA", key)) << key;
        ASSERT_TRUE(doc.get("KOPFDATA", "FELDNAMEN"));
        const IniDocument boxes = IniDocument::Parse(archive.read("KASTEN.INI"));
        for (int box = 1; box <= 20; ++box) {
            // Both texts of a box are written in one go: the same version or the demo's.
            const auto t1 = boxes.get(BoxSection(box), "T1").value_or("");
            const auto t2 = boxes.get(BoxSection(box), "T2").value_or("");
            if (t1.rfind("Magazin ", 0) == 0) {
                ASSERT_EQ(t2, "Thema " + t1.substr(8)) << box;
            }
        }
        for (const auto& name : Archive(archive.dir()).list("memo")) {
            if (name[0] == '.')
                continue; // a temporary file: checked after the recovery
            const std::string memo = archive.read("memo/" + name);
            ASSERT_TRUE(memo == originalMemos[name] || WellFormedMemo(memo, std::stoi(name)))
                << name;
        }
    }
    int temporaryFiles() {
        int count = 0;
        for (const auto& dir : {archive.dir(), archive.path("memo")})
            for (const auto& e : std::filesystem::directory_iterator(dir))
                count += e.path().filename().string().find(".tmp") != std::string::npos;
        return count;
    }
};

TEST_F(CrashTest, EveryFileIsWholeAfterAKillAndTheNextStartCountsTheRecords) {
    void* shared = ::mmap(nullptr, sizeof(std::atomic<uint32_t>), PROT_READ | PROT_WRITE,
                          MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(shared, MAP_FAILED);
    auto* steps = new (shared) std::atomic<uint32_t>(0); // counted by every child
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> delayMicroseconds(0, 2000);
    std::uniform_int_distribution<uint32_t> stepsFirst(0, 3);
    const Archive arch(archive.dir());
    int killsWithLeftovers = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        const uint32_t first = static_cast<uint32_t>(random());
        {
            ChildProcess child(
                [&](int report, int) -> int { Workload(arch, first, report, steps); });
            ASSERT_EQ(child.readByte(), 1);
            // The kill comes a few steps in (however fast the machine or the build is), at
            // a random point of the step then running.
            const uint32_t target = steps->load() + stepsFirst(random);
            for (int waited = 0; steps->load() < target; ++waited) {
                ASSERT_LT(waited, 100000) << "the workload makes no progress";
                std::this_thread::sleep_for(std::chrono::microseconds(100));
            }
            std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
            child.kill(SIGKILL);
            const int status = child.wait();
            ASSERT_TRUE(WIFSIGNALED(status)) << "the workload ended on its own";
        }
        checkSlides();
        checkHeaderData();
        checkTextFiles();
        if (HasFatalFailure())
            return;

        // The next start: the lock is free and tells of the interrupted run; its leftovers
        // go, the settings load and the analysis counts what the records hold.
        killsWithLeftovers += temporaryFiles() > 0;
        ArchiveLock lock;
        ASSERT_EQ(lock.acquire(archive.dir()), ArchiveLock::Result::Acquired);
        ASSERT_TRUE(lock.previousRunInterrupted());
        RecoverAfterInterruptedRun(arch, lock);
        EXPECT_EQ(temporaryFiles(), 0);
        Settings settings;
        Counters counters;
        ASSERT_FALSE(CountRecords(arch, counters));
        LoadSettings(arch, settings, counters);
        ASSERT_EQ(counters.activeSlides, -1);
        ASSERT_FALSE(AnalyseArchive(arch, kFreeSlotMarker, counters));
        ASSERT_EQ(counters.activeSlides, ActiveRecords(archive.read("dias.ddb")));
    }
    // How the kills met the work (how many writes they cut off depends on the machine).
    std::printf("[ crash    ] %d kills, %u steps done, %d kills left temporary files\n", kKills,
                steps->load(), killsWithLeftovers);
    EXPECT_GT(steps->load(), 0u);
    ::munmap(shared, sizeof(std::atomic<uint32_t>));
}

} // namespace
} // namespace lumo::test
