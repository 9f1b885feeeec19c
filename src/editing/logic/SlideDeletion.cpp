#include "editing/logic/SlideDeletion.h"

#include "editing/logic/NumberInput.h"
#include "store/FileUtil.h"
#include "store/HeaderData.h"
#include "store/SlideDatabase.h"

#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>
#include <unordered_map>
#include <vector>

namespace lumo {

namespace {

// The free-slot text as the archive analysis compares it (a..z folded).
std::string UpperMarker() {
    std::string upper(kFreeSlotMarker);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

// The numbered files of one archive subdirectory (memo/<n>.txt, bilder/<n>.bmp), listed
// once for the whole range: each removal changes the directory, and looking the next name
// up in a fresh listing would cost a pass over thousands of names per slide.
class NumberedFiles {
public:
    NumberedFiles(const Archive& archive, bool wanted, std::string dir, std::string ext)
        : dir_(std::move(dir)), ext_(std::move(ext)) {
        if (wanted)
            names_ = archive.listFolded(dir_);
        path_ = archive.resolve(dir_);
    }
    void RemoveIfPresent(int32_t n) {
        const auto found = names_.find(std::to_string(n) + ext_);
        if (found == names_.end())
            return;
        RemoveFile(path_ / found->second); // a file that cannot be deleted is left as it is
    }

private:
    std::string dir_;
    std::string ext_;
    std::filesystem::path path_;
    std::unordered_map<std::string, std::string> names_;
};

} // namespace

std::optional<SlideRange> CheckSlideRange(std::string_view fromText, std::string_view toText,
                                          int32_t totalRecords) {
    const auto first = ParseWholeNumber(fromText);
    const auto last = ParseWholeNumber(toText);
    auto inRange = [totalRecords](long long n) { return n >= 1 && n <= totalRecords; };
    if (!first || !last || !inRange(*first) || !inRange(*last) || *last < *first)
        return std::nullopt;
    return SlideRange{static_cast<int32_t>(*first), static_cast<int32_t>(*last)};
}

DeletionOutcome DeleteSlideRange(const Archive& archive, SlideRange range,
                                 const DeletionChoice& choice, Counters& counters,
                                 const std::function<void(int32_t)>& beforeSlide) {
    DeletionOutcome out;
    const std::string upperMarker = UpperMarker();
    NumberedFiles memos(archive, choice.memos, "memo", ".txt");
    NumberedFiles pictures(archive, choice.pictures, "bilder", ".bmp");
    // The records of the range are read in one pass; each is then written on its own, so
    // that a failure stops at a whole record.
    std::vector<SlideRecord> records;
    records.reserve(static_cast<size_t>(range.last - range.first + 1));
    out.problem =
        ForEachRecord(archive, range.first, range.last, [&](int32_t, const SlideRecord& r) {
            records.push_back(r);
            return true;
        });
    if (!out.problem && records.size() != static_cast<size_t>(range.last - range.first + 1))
        out.problem = Problem::io(SystemErrorNumber(EINVAL));
    if (out.problem)
        out.failedSlide = range.first;
    for (int32_t n = range.first; n <= range.last && !out.problem; ++n) {
        if (beforeSlide)
            beforeSlide(n);
        const SlideRecord& rec = records[static_cast<size_t>(n - range.first)];
        CurrentSlideData slide;
        SlideFromRecord(rec, slide);
        if (slide.infoText == kFreeSlotMarker)
            continue; // already free
        // What goes with the slide goes first: a slot is marked free only once its header
        // data, memo and picture are gone, so a run that stops half way leaves the slide
        // as it was for the next run to finish.
        if (choice.headerData)
            out.problem = WriteHeaderRecord(archive, n, HeaderValues{});
        if (!out.problem) {
            memos.RemoveIfPresent(n);
            pictures.RemoveIfPresent(n);
        }
        if (!out.problem && choice.slideData) {
            for (auto& key : slide.storedKeys)
                key = std::string(kEmptyKeyCode);
            slide.infoText = std::string(kFreeSlotMarker);
            out.problem = WriteSlide(archive, n, slide);
            if (!out.problem) {
                out.anyMarked = true;
                // A record the analysis already counted as free (its first slot empty)
                // is not counted twice.
                if (!IsFreeSlot(rec, upperMarker))
                    --counters.activeSlides;
            }
        }
        if (out.problem) {
            out.failedSlide = n;
            break;
        }
    }
    if (out.problem) {
        Counters recount = counters;
        if (!AnalyseArchive(archive, kFreeSlotMarker, recount))
            counters = recount;
    }
    return out;
}

} // namespace lumo
